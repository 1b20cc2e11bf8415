#pragma once
// The bitmap fuzzer's input layout, shared with the writer of its seeds: one byte whose low
// bit asks for a mask, the picture's length in four bytes (little-endian), the picture, and
// the mask in the rest.

#include <cstdint>
#include <span>
#include <vector>

struct TBitmapPair {
    bool Masked = false;
    std::span<const std::uint8_t> Picture;
    std::span<const std::uint8_t> Mask;
};

// A length past the end takes the rest as the picture and leaves the mask empty.
TBitmapPair SplitBitmapPair(std::span<const std::uint8_t> input);
std::vector<std::uint8_t> JoinBitmapPair(std::span<const std::uint8_t> picture,
                                         std::span<const std::uint8_t> mask, bool masked);
