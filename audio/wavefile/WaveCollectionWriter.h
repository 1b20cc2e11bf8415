#pragma once
// Writes a wave collection as the image of a "Sounds.dxw" file: the resource header, the
// signature, one holder component of class TWaveCollectionComponent whose "List" property
// holds every item with its "Name", "Looped", "MaxPlayingCount" and "Wave.WAVE" (a RIFF WAVE
// image), in the collection's order. ReadWaveCollection reads it back item for item.

#include "audio/wavefile/WaveCollection.h"

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> WaveCollectionImage(const TWaveCollection& collection);
