#pragma once
// What a bitmap file must hold before its pixels are decoded: a header the reader knows and
// every byte its header promises, so that no row of a cut file is made up from whatever
// memory held, and a size no texture of the device exceeds.

#include <cstdint>
#include <span>

// The largest picture side the loaders accept; the devices' own texture limit.
constexpr std::uint32_t MaxPictureSide = 8192;

// Whether `bytes` is a whole Windows bitmap file: the "BM" header with a core (12-byte) or
// info (40 bytes or more) header, sides of 1 to MaxPictureSide, a known pixel depth, and
// either uncompressed rows that all lie inside the file or run-length data that reaches its
// end-of-bitmap mark inside the file.
bool IsWholeBitmapFile(std::span<const std::uint8_t> bytes);
