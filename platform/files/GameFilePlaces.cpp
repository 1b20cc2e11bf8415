#include "platform/files/GameFilePlaces.h"

#include "platform/files/ProgramDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {
constexpr const char* GameFolder = "zorbix";

std::string WithSeparator(const std::filesystem::path& directory) {
    std::string text = directory.lexically_normal().string();
    if (text.empty() || text.back() != '/') {
        text += '/';
    }
    return text;
}

// The player's home: $HOME, else the account's home directory, else the current one.
std::filesystem::path HomeDirectory(const TEnvironmentLookup& environment) {
    if (const auto home = environment("HOME"); home && !home->empty()) {
        return *home;
    }
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd account{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &account, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] != '\0') {
        return found->pw_dir;
    }
    return ".";
}

// An XDG base directory: the variable when it holds an absolute path (a relative one is to
// be ignored), else `fallback` below the home directory.
std::filesystem::path BaseDirectory(const TEnvironmentLookup& environment, const char* variable,
                                    const char* fallback) {
    if (const auto value = environment(variable); value && !value->empty() && (*value)[0] == '/') {
        return *value;
    }
    return HomeDirectory(environment) / fallback;
}
} // namespace

TGameFilePlaces GameFilePlacesFor(const std::string& programDirectory, bool forcePortable,
                                  const TEnvironmentLookup& environment) {
    TGameFilePlaces places;
    const std::string installedData = WithSeparator(std::filesystem::path(programDirectory) / ".." /
                                                    "share" / "games" / GameFolder);
    std::error_code error;
    if (forcePortable || std::filesystem::exists(programDirectory + "Sounds.dxw", error) ||
        !std::filesystem::exists(installedData + "Sounds.dxw", error)) {
        places.Layout = TFileLayout::Portable;
        places.DataDirectory = programDirectory;
        places.OptionsFile = programDirectory + "Options.ini";
        places.HighScoresFile = programDirectory + "HiScores.dat";
        places.ConvertedPicturesDirectory = programDirectory + "Images/";
        places.ReplaysDirectory = programDirectory + "Replays/";
        return places;
    }
    places.Layout = TFileLayout::Installed;
    places.DataDirectory = installedData;
    places.OptionsFile =
        (BaseDirectory(environment, "XDG_CONFIG_HOME", ".config") / GameFolder / "Options.ini")
            .lexically_normal()
            .string();
    places.HighScoresFile =
        (BaseDirectory(environment, "XDG_DATA_HOME", ".local/share") / GameFolder / "HiScores.dat")
            .lexically_normal()
            .string();
    places.ConvertedPicturesDirectory = WithSeparator(
        BaseDirectory(environment, "XDG_CACHE_HOME", ".cache") / GameFolder / "Images");
    places.ReplaysDirectory = WithSeparator(
        BaseDirectory(environment, "XDG_DATA_HOME", ".local/share") / GameFolder / "replays");
    return places;
}

TGameFilePlaces GameFilePlaces() {
    return GameFilePlacesFor(ProgramDirectory(), ProgramDirectoryChosen(),
                             [](const char* name) -> std::optional<std::string> {
                                 const char* value = std::getenv(name);
                                 if (value == nullptr) {
                                     return std::nullopt;
                                 }
                                 return std::string(value);
                             });
}

void CreateDirectoryFor(const std::string& file) {
    const std::filesystem::path directory = std::filesystem::path(file).parent_path();
    if (directory.empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(directory, error);
}

void PreparePlayerDirectoryFor(const std::string& file) {
    if (GameFilePlaces().Layout == TFileLayout::Installed) {
        CreateDirectoryFor(file);
    }
}
