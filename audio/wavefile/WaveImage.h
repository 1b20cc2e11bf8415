#pragma once
// The RIFF WAVE image a wave collection item stores for its recording.
//
// Reading: twelve bytes "RIFF", a size (ignored), "WAVE" ("Wave is invalid" otherwise), then
// chunks of an 8-byte header and their data, with no pad byte after an odd-sized chunk. A
// header is zero-filled before it is read, so the walk ends at the image's end or at the
// first header whose identifier reads as zero. The last "fmt " and the last "data" chunk
// count; samples or a format block that run past the image fail with "Stream read error".
// An image without a "data" chunk gives a wave without samples. Throws EGameError.

#include "audio/wavefile/Wave.h"

#include <cstdint>
#include <span>
#include <vector>

TWave ReadWaveImage(std::span<const std::uint8_t> image);

// The image of a wave: the RIFF header, a "fmt " chunk with the format block and a "data"
// chunk with the samples, without pad bytes, so ReadWaveImage gives the wave back.
std::vector<std::uint8_t> WaveImage(const TWave& wave);
