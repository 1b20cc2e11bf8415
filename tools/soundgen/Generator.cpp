#include "tools/soundgen/Generator.h"

#include "audio/wavefile/WaveCollectionWriter.h"
#include "tools/soundgen/EffectBank.h"
#include "tools/soundgen/Themes.h"

#include <fstream>
#include <stdexcept>
#include <string>

namespace {
void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        throw std::runtime_error("cannot write " + path.string());
    }
}
} // namespace

void WriteGameAudio(const std::filesystem::path& directory) {
    std::filesystem::create_directories(directory);

    TWaveCollection effects;
    BuildEffectCollection(effects);
    WriteFile(directory / "Sounds.dxw", WaveCollectionImage(effects));

    const TSong themes[] = {ComposeTheme1(), ComposeTheme2(), ComposeTheme3()};
    for (int i = 0; i < 3; ++i) {
        WriteFile(directory / ("theme" + std::to_string(i + 1) + ".mid"), SongMidiImage(themes[i]));
    }
}
