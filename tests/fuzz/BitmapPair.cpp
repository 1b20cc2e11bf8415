#include "tests/fuzz/BitmapPair.h"

#include <algorithm>

namespace {
constexpr std::size_t LayoutBytes = 5;
} // namespace

TBitmapPair SplitBitmapPair(std::span<const std::uint8_t> input) {
    TBitmapPair pair;
    if (input.size() < LayoutBytes) {
        pair.Picture = input;
        return pair;
    }
    pair.Masked = (input[0] & 1) != 0;
    const std::size_t length = std::size_t{input[1]} | std::size_t{input[2]} << 8 |
                               std::size_t{input[3]} << 16 | std::size_t{input[4]} << 24;
    const std::span<const std::uint8_t> rest = input.subspan(LayoutBytes);
    pair.Picture = rest.first(std::min(length, rest.size()));
    pair.Mask = rest.subspan(pair.Picture.size());
    return pair;
}

std::vector<std::uint8_t> JoinBitmapPair(std::span<const std::uint8_t> picture,
                                         std::span<const std::uint8_t> mask, bool masked) {
    const std::size_t length = picture.size();
    std::vector<std::uint8_t> input{
        static_cast<std::uint8_t>(masked ? 1 : 0), static_cast<std::uint8_t>(length),
        static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length >> 16),
        static_cast<std::uint8_t>(length >> 24)};
    input.insert(input.end(), picture.begin(), picture.end());
    input.insert(input.end(), mask.begin(), mask.end());
    return input;
}
