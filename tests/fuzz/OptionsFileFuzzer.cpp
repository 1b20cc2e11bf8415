// Any bytes as "Options.ini": the four settings read through the profile reader and the
// integer parser must land inside what the menu shows, and once saved over those bytes they
// must read back unchanged, whatever else the file holds.

#include "settings/Options.h"
#include "tests/fuzz/ScratchFiles.h"

#include <cstddef>
#include <cstdint>

namespace {
const TScratchFiles Scratch;

struct TFourSettings {
    std::uint8_t View;
    std::uint8_t Difficulty;
    bool SoundOn;
    bool MusicOn;
    bool operator==(const TFourSettings&) const = default;
};

TFourSettings Load(const std::string& fileName) {
    TOptions options;
    options.IniFileName = fileName;
    options.LoadOptions();
    return {options.View, options.Difficulty, options.SoundOn, options.MusicOn};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string fileName = Scratch.Write("Options.ini", {data, size});
    const TFourSettings read = Load(fileName);
    if (read.View > 3 || read.Difficulty > 1) {
        __builtin_trap();
    }
    // Saved as the other values, so that every key is rewritten where it stands.
    TOptions options;
    options.IniFileName = fileName;
    options.View = static_cast<std::uint8_t>(3 - read.View);
    options.Difficulty = static_cast<std::uint8_t>(1 - read.Difficulty);
    options.SoundOn = !read.SoundOn;
    options.MusicOn = !read.MusicOn;
    options.SaveOptions();
    const TFourSettings saved{options.View, options.Difficulty, options.SoundOn, options.MusicOn};
    if (Load(fileName) != saved) {
        __builtin_trap();
    }
    return 0;
}
