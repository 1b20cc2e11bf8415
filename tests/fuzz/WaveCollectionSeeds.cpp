// wave_collection_seeds DIR: writes small valid "Sounds.dxw" images into DIR as the fuzzer's
// starting points, covering looped and limited items, a silent wave and an odd sample count.

#include "audio/wavefile/WaveCollectionWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
void Save(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wave_collection_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];

    TWaveCollection collection;
    Save(dir / "empty.dxw", WaveCollectionImage(collection));

    const char* names[] = {"kik0", "Fall", "newslot"};
    for (int i = 0; i < 3; ++i) {
        TWaveCollectionItem& item = collection.Add();
        item.SetName(names[i]);
        item.Looped = i == 1;
        item.SetMaxPlayingCount(i * 150);
        item.Wave.Format = PcmFormatBlock(22050, 1, 16);
        if (i != 2) {
            item.Wave.Samples.assign(static_cast<std::size_t>(5 + 8 * i), std::uint8_t(0x40 + i));
        }
    }
    Save(dir / "three.dxw", WaveCollectionImage(collection));
    return 0;
}
