#pragma once
// Texture sampling with wrap addressing: texel centres at (i + 0.5) / size, bilinear weights
// in 1/256 steps. Called once per pixel, so everything here is inline and branch-light.

#include "platform/d3d/reference/RasterTypes.h"

#include <cstdint>

namespace Reference {

// Splits a wrapped coordinate into the two neighbouring texel indices and the weight of the
// second (0..256).
struct TTexelPair {
    std::uint32_t First, Second;
    std::uint32_t Weight;
};

// The fraction of a coordinate in [0, 1]; coordinates too large to carry a fraction (or not
// numbers at all) count as 0 rather than overflowing the conversion.
inline float WrapCoordinate(float coordinate) {
    constexpr float NoFractionBeyond = 8388608.0f; // 2^23
    if (!(coordinate < NoFractionBeyond && coordinate > -NoFractionBeyond)) {
        return 0.0f;
    }
    const float fraction = coordinate - static_cast<float>(static_cast<std::int32_t>(coordinate));
    return fraction < 0 ? fraction + 1.0f : fraction;
}

inline TTexelPair WrapLinear(float coordinate, std::uint32_t size) {
    const float wrapped = WrapCoordinate(coordinate);
    // In [-0.5, size - 0.5): shifting by one keeps the truncation a floor.
    const float position = wrapped * static_cast<float>(size) + 0.5f;
    const auto whole = static_cast<std::int32_t>(position);
    const auto weight = static_cast<std::uint32_t>((position - static_cast<float>(whole)) * 256.0f);
    const std::int32_t first = whole - 1;
    TTexelPair pair;
    pair.First = first < 0 ? size - 1 : static_cast<std::uint32_t>(first);
    pair.Second = static_cast<std::uint32_t>(whole) >= size ? 0 : static_cast<std::uint32_t>(whole);
    pair.Weight = weight > 256 ? 256 : weight;
    return pair;
}

inline std::uint32_t WrapNearest(float coordinate, std::uint32_t size) {
    const float wrapped = WrapCoordinate(coordinate);
    const auto index = static_cast<std::uint32_t>(wrapped * static_cast<float>(size));
    return index >= size ? size - 1 : index;
}

// Blends two packed colours channel by channel, two channels per multiply.
inline std::uint32_t LerpColor(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    const std::uint32_t keep = 256 - weight;
    const std::uint32_t redBlue =
        (((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * weight + 0x00800080u) >> 8) & 0x00FF00FFu;
    const std::uint32_t alphaGreen =
        (((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * weight + 0x00800080u) &
        0xFF00FF00u;
    return redBlue | alphaGreen;
}

inline std::uint32_t SampleLinear(const TTexels& texels, float u, float v) {
    const TTexelPair column = WrapLinear(u, texels.Width);
    const TTexelPair row = WrapLinear(v, texels.Height);
    const std::uint32_t* first = texels.Pixels.data() + row.First * texels.Width;
    const std::uint32_t* second = texels.Pixels.data() + row.Second * texels.Width;
    const std::uint32_t top = LerpColor(first[column.First], first[column.Second], column.Weight);
    const std::uint32_t bottom =
        LerpColor(second[column.First], second[column.Second], column.Weight);
    return LerpColor(top, bottom, row.Weight);
}

inline std::uint32_t SampleNearest(const TTexels& texels, float u, float v) {
    return texels
        .Pixels[WrapNearest(v, texels.Height) * texels.Width + WrapNearest(u, texels.Width)];
}

} // namespace Reference
