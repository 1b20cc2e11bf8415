// The pure readers of outside bytes under libFuzzer, chosen by the first byte: the settings
// text and its integer values, the high-score entries, the bitmap check and the tune
// checker. Each must return an answer for any input, never crash or read out of bounds.

#include "platform/mci/MidiSong.h"
#include "platform/profile/ProfileText.h"
#include "render/BitmapCheck.h"
#include "settings/IntegerText.h"
#include "settings/ScoreEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {
void FuzzProfile(std::string_view text) {
    const auto view = FindProfileValue(text, "Options", "View");
    if (view) {
        ParseInteger(*view);
    }
    const std::string changed = SetProfileValue(text, "Options", "View", "3");
    // A value once written must read back.
    if (FindProfileValue(changed, "Options", "View") != "3") {
        std::abort();
    }
}

void FuzzScoreEntries(std::span<const std::uint8_t> bytes) {
    for (std::size_t at = 0; at + ScoreEntrySize <= bytes.size(); at += ScoreEntrySize) {
        const TScoreEntry entry = DecodeScoreEntry(TConstScoreEntryBytes(
            reinterpret_cast<const std::byte*>(bytes.data() + at), ScoreEntrySize));
        if (entry.Name().size() > ScoreNameCapacity) {
            std::abort();
        }
        std::array<std::byte, ScoreEntrySize> again{};
        EncodeScoreEntry(entry, TScoreEntryBytes(again));
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    switch (data[0] % 4) {
    case 0:
        FuzzProfile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        break;
    case 1:
        FuzzScoreEntries(bytes);
        break;
    case 2:
        IsWholeBitmapFile(bytes);
        break;
    default:
        ReadMidiSong(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        break;
    }
    return 0;
}
