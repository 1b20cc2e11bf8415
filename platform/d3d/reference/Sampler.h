#pragma once
// Texture sampling with wrap addressing: texel centres at (i + 0.5) / size, bilinear weights
// in 1/256 steps. Called once per pixel, so everything here is inline and free of branches.

#include "platform/d3d/reference/RasterTypes.h"

#include <cstdint>

namespace Reference {

// The fraction of a coordinate, in [0, 1]. Coordinates too large to carry a fraction (or not
// numbers at all) are pinned first so the conversion cannot overflow.
[[gnu::always_inline]] inline float WrapCoordinate(float coordinate) {
    constexpr float NoFractionBeyond = 8388608.0f; // 2^23
    // Written as comparisons so they compile to min/max instructions; NaN ends up pinned.
    const float low = coordinate > -NoFractionBeyond ? coordinate : -NoFractionBeyond;
    const float pinned = low < NoFractionBeyond ? low : NoFractionBeyond;
    float whole = static_cast<float>(static_cast<std::int32_t>(pinned));
    whole -= whole > pinned ? 1.0f : 0.0f; // truncation rounds negatives up
    return pinned - whole;
}

// The two neighbouring texel indices along one axis and the weight of the second (0..255).
struct TTexelPair {
    std::int32_t First, Second, Weight;
};

[[gnu::always_inline]] inline TTexelPair WrapLinear(float coordinate, std::int32_t size) {
    // In 1/256 texels, shifted back half a texel so texel i's centre lands on i.
    const std::int32_t position =
        static_cast<std::int32_t>(WrapCoordinate(coordinate) * static_cast<float>(size * 256)) -
        128;
    std::int32_t first = position >> 8; // -1 just left of texel 0's centre
    first += size & (first >> 31);
    std::int32_t second = first + 1;
    second -= second >= size ? size : 0;
    first -= first >= size ? size : 0; // a fraction that rounded up to 1
    return TTexelPair{first, second, position & 255};
}

[[gnu::always_inline]] inline std::int32_t WrapNearest(float coordinate, std::int32_t size) {
    const auto index =
        static_cast<std::int32_t>(WrapCoordinate(coordinate) * static_cast<float>(size));
    return index >= size ? index - size : index;
}

// Blends two packed colours channel by channel, two channels per multiply; weight 0..256.
[[gnu::always_inline]] inline std::uint32_t LerpColor(std::uint32_t a, std::uint32_t b,
                                                      std::uint32_t weight) {
    const std::uint32_t keep = 256 - weight;
    const std::uint32_t redBlue =
        (((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * weight + 0x00800080u) >> 8) & 0x00FF00FFu;
    const std::uint32_t alphaGreen =
        (((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * weight + 0x00800080u) &
        0xFF00FF00u;
    return redBlue | alphaGreen;
}

[[gnu::always_inline]] inline std::uint32_t SampleLinear(const TTexels& texels, float u, float v) {
    const auto width = static_cast<std::int32_t>(texels.Width);
    const TTexelPair column = WrapLinear(u, width);
    const TTexelPair row = WrapLinear(v, static_cast<std::int32_t>(texels.Height));
    const std::uint32_t* first = texels.Pixels.data() + row.First * width;
    const std::uint32_t* second = texels.Pixels.data() + row.Second * width;
    const auto columnWeight = static_cast<std::uint32_t>(column.Weight);
    const std::uint32_t top = LerpColor(first[column.First], first[column.Second], columnWeight);
    const std::uint32_t bottom =
        LerpColor(second[column.First], second[column.Second], columnWeight);
    return LerpColor(top, bottom, static_cast<std::uint32_t>(row.Weight));
}

[[gnu::always_inline]] inline std::uint32_t SampleNearest(const TTexels& texels, float u, float v) {
    const auto width = static_cast<std::int32_t>(texels.Width);
    const std::int32_t index =
        WrapNearest(v, static_cast<std::int32_t>(texels.Height)) * width + WrapNearest(u, width);
    return texels.Pixels[static_cast<std::size_t>(index)];
}

} // namespace Reference
