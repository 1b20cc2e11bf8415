#pragma once
// Bilinear sampling with wrap addressing for eight pixels at once on processors with AVX2,
// giving exactly what SampleLinear of Sampler.h gives each pixel. Only the eight-pixel span
// routines include it.

#include "platform/d3d/reference/RasterTypes.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#include <cstdint>

namespace Reference {

// WrapCoordinate of Sampler.h, eight at a time: truncation corrected downwards is the floor.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256 WrapWide(__m256 coordinate) {
    const __m256 limit = _mm256_set1_ps(8388608.0f);
    const __m256 pinned =
        _mm256_min_ps(_mm256_max_ps(coordinate, _mm256_sub_ps(_mm256_setzero_ps(), limit)), limit);
    return _mm256_sub_ps(pinned,
                         _mm256_round_ps(pinned, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC));
}

// One axis of a texture as the sampling uses it, formed once per span.
struct TWideAxis {
    __m256i Sizes;
    __m256 Scale;   // the size in 1/256 texels
    __m256i Offset; // a whole texture on, less half a texel, in 1/256 texels
};

// A texture's figures, formed once per span: read from the texture itself they would be read
// again for every eight pixels, as each store of the span might have changed them. Turned
// textures are read from their turned copy, whose rows are the bordered copy's columns.
template <bool Turned> struct TWideTexture {
    const std::uint32_t* Copy;
    std::int32_t Pitch; // texels a row of Copy
    __m256i Pitches;    // the same in every lane
    TWideAxis Across, Down;
};

[[gnu::target("avx2"), gnu::always_inline]] inline TWideAxis WideAxis(std::uint32_t size) {
    const auto whole = static_cast<std::int32_t>(size);
    return TWideAxis{_mm256_set1_epi32(whole), _mm256_set1_ps(static_cast<float>(whole * 256)),
                     _mm256_set1_epi32(whole * 256 - 128)};
}

template <bool Turned>
[[gnu::target("avx2"), gnu::always_inline]] inline TWideTexture<Turned>
WideTexture(const TTexels& texels) {
    const std::int32_t pitch = texels.SampledPitch(Turned);
    return TWideTexture<Turned>{texels.SampledCopy(Turned), pitch, _mm256_set1_epi32(pitch),
                                WideAxis(texels.Width), WideAxis(texels.Height)};
}

// A texel index along one axis and the weight (0..255) of the next texel.
struct TWideIndex {
    __m256i First, Weight;
};

// WrapLinear of Sampler.h, eight at a time. Positions are taken a whole texture further on
// (a multiple of 256, so the weights stay), which keeps them positive: the index then wraps
// at most once, from above, where an unsigned minimum with index - size does it (below zero
// that reads as a very large number). The next texel needs no index: the bordered copy
// holds it beside the first, wrapped.
[[gnu::target("avx2"), gnu::always_inline]] inline TWideIndex
WrapLinearWide(__m256 coordinate, const TWideAxis& axis) {
    const __m256i position = _mm256_add_epi32(
        _mm256_cvttps_epi32(_mm256_mul_ps(WrapWide(coordinate), axis.Scale)), axis.Offset);
    const __m256i index = _mm256_srai_epi32(position, 8);
    return TWideIndex{_mm256_min_epu32(index, _mm256_sub_epi32(index, axis.Sizes)),
                      _mm256_and_si256(position, _mm256_set1_epi32(255))};
}

// LerpColor of Sampler.h for one channel in each 16-bit lane: (a * (256 - w) + b * w + 128)
// >> 8 equals a + (((b - a) * w * 128 + 16384) >> 15), one rounding multiply-high.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i LerpChannels(__m256i a, __m256i b,
                                                                        __m256i scaledWeight) {
    return _mm256_add_epi16(a, _mm256_mulhrs_epi16(_mm256_sub_epi16(b, a), scaledWeight));
}

// Each pixel's weight (0..255) times 128 in both 16-bit halves of its 32-bit lane.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i DoubledWeights(__m256i weight) {
    const __m256i scaled = _mm256_slli_epi32(weight, 7);
    return _mm256_or_si256(scaled, _mm256_slli_epi32(scaled, 16));
}

// Where eight pixels' footprints start in the copy read, and their weights.
struct TWideFootprints {
    alignas(32) std::int32_t Entries[8];
    __m256i Across, Down; // DoubledWeights of the next column's and the next row's
};

template <bool Turned>
[[gnu::target("avx2"), gnu::always_inline]] inline void
LocateFootprints(const TWideTexture<Turned>& texture, const TWideIndex& column,
                 const TWideIndex& row, TWideFootprints& out) {
    const __m256i entries =
        Turned ? _mm256_add_epi32(_mm256_mullo_epi32(column.First, texture.Pitches), row.First)
               : _mm256_add_epi32(_mm256_mullo_epi32(row.First, texture.Pitches), column.First);
    _mm256_store_si256(reinterpret_cast<__m256i*>(out.Entries), entries);
    out.Across = DoubledWeights(column.Weight);
    out.Down = DoubledWeights(row.Weight);
}

// The blended texels of pixels Pixel and Pixel + 4 (the low quarters of the register's halves).
// Each footprint is two loads of a pair of texels: its top row and the next, or from the turned
// copy its left column and the next. Put in the order top left, bottom left, top right, bottom
// right, the blend across gives (top, bottom) in each half, and the blend down takes them
// swapped.
template <int Pixel, bool Turned>
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
BlendPairOfFootprints(const TWideTexture<Turned>& texture, const TWideFootprints& located) {
    const auto load = [&](int pixel) {
        const std::uint32_t* first = texture.Copy + located.Entries[pixel];
        return _mm_castps_si128(
            _mm_loadh_pi(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first))),
                         reinterpret_cast<const __m64*>(first + texture.Pitch)));
    };
    __m256i texels =
        _mm256_inserti128_si256(_mm256_castsi128_si256(load(Pixel)), load(Pixel + 4), 1);
    if constexpr (!Turned) {
        texels = _mm256_shuffle_epi32(texels, _MM_SHUFFLE(3, 1, 2, 0));
    }
    constexpr int Spread = Pixel * 0x55; // the pixel's lane in all four of its half
    const __m256i zero = _mm256_setzero_si256();
    const __m256i rows =
        LerpChannels(_mm256_unpacklo_epi8(texels, zero), _mm256_unpackhi_epi8(texels, zero),
                     _mm256_shuffle_epi32(located.Across, Spread));
    return LerpChannels(rows, _mm256_shuffle_epi32(rows, _MM_SHUFFLE(1, 0, 3, 2)),
                        _mm256_shuffle_epi32(located.Down, Spread));
}

// SampleLinear of Sampler.h for eight located pixels. Loading each pixel's footprint from a
// bordered copy costs less than gathering its texels, and than picking them out of runs of a
// row, at any scale and turn of the texture; and each copy is hardly larger than the texture,
// which matters as much: a texture seen small reads a new cache line every few pixels.
template <bool Turned>
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
BlendFootprints(const TWideTexture<Turned>& texture, const TWideFootprints& located) {
    const __m256i first = BlendPairOfFootprints<0>(texture, located);
    const __m256i second = BlendPairOfFootprints<1>(texture, located);
    const __m256i third = BlendPairOfFootprints<2>(texture, located);
    const __m256i fourth = BlendPairOfFootprints<3>(texture, located);
    // Pixels 0-3 in the low half, 4-7 in the high.
    return _mm256_packus_epi16(_mm256_unpacklo_epi64(first, second),
                               _mm256_unpacklo_epi64(third, fourth));
}

// SampleLinear of Sampler.h for eight pixels in the given texel columns and rows.
template <bool Turned>
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
SampleLinearWide(const TWideTexture<Turned>& texture, const TWideIndex& column,
                 const TWideIndex& row) {
    TWideFootprints located;
    LocateFootprints(texture, column, row, located);
    return BlendFootprints(texture, located);
}

} // namespace Reference

#endif
