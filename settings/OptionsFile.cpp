// Reading and writing the four settings of "Options.ini".

#include "settings/Options.h"

#include "core/GameError.h"
#include "platform/files/GameFilePlaces.h"
#include "platform/files/PrivateProfile.h"
#include "settings/IntegerText.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr const char* OptionsSection = "Options";
constexpr std::uint8_t DefaultView = 1;       // Half side
constexpr std::uint8_t DefaultDifficulty = 1; // Normal
constexpr std::size_t ValueCapacity = 2048;

std::int32_t ReadInteger(const std::string& fileName, const char* key, std::int32_t fallback) {
    std::array<char, ValueCapacity> value{};
    const DWORD length = GetPrivateProfileStringA(OptionsSection, key, "", value.data(),
                                                  value.size(), fileName.c_str());
    // A value that filled the buffer was cut short and cannot be trusted as a number.
    if (length + 1 >= value.size()) {
        return fallback;
    }
    return ParseInteger(value.data()).value_or(fallback);
}

bool ReadSwitch(const std::string& fileName, const char* key) {
    return ReadInteger(fileName, key, 1) != 0;
}

void WriteValue(const std::string& fileName, const char* key, const std::string& value) {
    if (WritePrivateProfileStringA(OptionsSection, key, value.c_str(), fileName.c_str()) == 0) {
        throw EGameError(FormatMessage("Unable to write to %s", fileName));
    }
}

} // namespace

bool TOptions::LoadOptions() {
    // The fields are 8 bits wide, so only the low 8 bits of the numbers count; anything the
    // menu cannot show is taken as the entry it shows for it, so no table is indexed past
    // its end.
    const auto view = static_cast<std::uint8_t>(ReadInteger(IniFileName, "View", DefaultView));
    View = std::min(view, LastView);
    const auto difficulty =
        static_cast<std::uint8_t>(ReadInteger(IniFileName, "Dificulty", DefaultDifficulty));
    Difficulty = difficulty == 0 ? 0 : 1;
    SoundOn = ReadSwitch(IniFileName, "Sounds");
    MusicOn = ReadSwitch(IniFileName, "Music");
    return true;
}

bool TOptions::SaveOptions() {
    // A file far past any settings file's size was not read at the start either; it is the
    // player's, so it is left as it is, and the player is told why nothing was saved.
    if (ProfileFileTooLarge(IniFileName.c_str())) {
        throw EGameError(IniFileName +
                         " is too large to be a settings file: it was left as it is, and the "
                         "settings were not saved");
    }
    PreparePlayerDirectoryFor(IniFileName);
    WriteValue(IniFileName, "View", std::to_string(View));
    WriteValue(IniFileName, "Dificulty", std::to_string(Difficulty));
    WriteValue(IniFileName, "Sounds", SoundOn ? "1" : "0");
    WriteValue(IniFileName, "Music", MusicOn ? "1" : "0");
    if (WritePrivateProfileStringA(nullptr, nullptr, nullptr, IniFileName.c_str()) == 0) {
        throw EGameError(FormatMessage("Unable to write to %s", IniFileName));
    }
    return true;
}
