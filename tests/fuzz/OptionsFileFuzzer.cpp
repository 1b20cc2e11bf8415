// Any bytes as "Settings.ini": the four settings read through the profile reader and the
// integer parser must land inside what the menu shows, and once saved over those bytes they
// must read back unchanged, whatever else the file holds.

#include "settings/Options.h"
#include "tests/fuzz/ScratchFiles.h"

#include <cstddef>
#include <cstdint>

namespace {
const TScratchFiles Scratch;
const std::string FileName = Scratch.Path("Settings.ini");
// One settings object for every input: finding the file's place once is enough.
TOptions Settings = [] {
    TOptions settings;
    settings.IniFileName = FileName;
    return settings;
}();

struct TFourSettings {
    std::uint8_t View;
    std::uint8_t Difficulty;
    bool SoundOn;
    bool MusicOn;
    bool operator==(const TFourSettings&) const = default;
};

TFourSettings Load() {
    Settings.LoadOptions();
    return {Settings.View, Settings.Difficulty, Settings.SoundOn, Settings.MusicOn};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Scratch.Write("Settings.ini", {data, size});
    const TFourSettings read = Load();
    if (read.View > 3 || read.Difficulty > 1) {
        __builtin_trap();
    }
    // Saved as the other values, so that every key is rewritten where it stands.
    const TFourSettings saved{static_cast<std::uint8_t>(3 - read.View),
                              static_cast<std::uint8_t>(1 - read.Difficulty), !read.SoundOn,
                              !read.MusicOn};
    Settings.View = saved.View;
    Settings.Difficulty = saved.Difficulty;
    Settings.SoundOn = saved.SoundOn;
    Settings.MusicOn = saved.MusicOn;
    Settings.SaveOptions();
    if (Load() != saved) {
        __builtin_trap();
    }
    return 0;
}
