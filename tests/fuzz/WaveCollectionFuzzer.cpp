// Any bytes at all go to the "Sounds.dxw" reader. It may refuse them with a message, but
// must not read outside them, crash, leak or leave a half-loaded collection; what it does
// load must be findable by name.

#include "audio/wavefile/WaveCollectionReader.h"
#include "audio/wavefile/WaveName.h"
#include "core/GameError.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TWaveCollection collection;
    try {
        ReadWaveCollection({data, size}, collection);
    } catch (const EGameError&) {
        if (collection.Count() != 0) {
            __builtin_trap();
        }
        return 0;
    }
    for (int i = 0; i < collection.Count(); ++i) {
        const TWaveCollectionItem& item = collection.Items(i);
        if (!SameWaveName(collection.FindByName(item.Name()).Name(), item.Name()) ||
            item.Wave.Samples.size() > size || item.MaxPlayingCount() < 0) {
            __builtin_trap();
        }
    }
    return 0;
}
