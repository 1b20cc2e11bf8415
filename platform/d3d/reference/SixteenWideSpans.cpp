#include "platform/d3d/reference/SixteenWideSpans.h"

#include "platform/d3d/reference/Avx512Intrinsics.h"
#include "platform/d3d/reference/UnfusedPlane.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <cstdint>

namespace Reference {
namespace {

struct TValue16 {
    __m512 Start, Step;
};

[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline TValue16
Start16(const TPlane& plane, double dx, double dy) {
    return TValue16{_mm512_set1_ps(UnfusedPlaneAt(plane, dx, dy)),
                    _mm512_set1_ps(static_cast<float>(plane.Dx))};
}

// Start + Step * i, as the one-pixel routines form it: the add with an explicit rounding
// mode, which the compiler cannot fuse with the multiply.
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512 At16(const TValue16& value,
                                                                           __m512 i) {
    return _mm512_add_round_ps(value.Start, _mm512_mul_ps(value.Step, i), _MM_FROUND_CUR_DIRECTION);
}

// WrapCoordinate of Sampler.h, sixteen at a time.
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512 Wrap16(__m512 coordinate) {
    const __m512 limit = _mm512_set1_ps(8388608.0f);
    // A coordinate that is not a number takes the second operand, as in the scalar routine.
    const __m512 low = _mm512_max_ps(coordinate, _mm512_set1_ps(-8388608.0f));
    const __m512 pinned = _mm512_min_ps(low, limit);
    const __m512 whole = _mm512_cvtepi32_ps(_mm512_cvttps_epi32(pinned));
    const __mmask16 roundedUp = _mm512_cmp_ps_mask(whole, pinned, _CMP_GT_OQ);
    return _mm512_sub_ps(pinned, _mm512_mask_sub_ps(whole, roundedUp, whole, _mm512_set1_ps(1.0f)));
}

// A texture's figures, formed once per span: read from the texture itself they would be read
// again for every sixteen pixels, as each store of the span might have changed them. Turned
// textures are read from their turned copy, whose rows are the bordered copy's columns.
template <bool Turned> struct TTexture16 {
    const std::uint32_t* Copy;
    __m512i Pitches; // texels a row of Copy, in every lane
    std::int32_t Width, Height;
};

template <bool Turned>
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline TTexture16<Turned>
Texture16(const TTexels& texels) {
    return TTexture16<Turned>{
        texels.SampledCopy(Turned), _mm512_set1_epi32(texels.SampledPitch(Turned)),
        static_cast<std::int32_t>(texels.Width), static_cast<std::int32_t>(texels.Height)};
}

// A texel index along one axis and the weight (0..255) of the next texel.
struct TIndex16 {
    __m512i First, Weight;
};

// WrapLinear of Sampler.h, sixteen at a time. The next texel needs no index: the bordered
// copy holds it beside the first, wrapped.
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline TIndex16
WrapLinear16(__m512 coordinate, std::int32_t size) {
    const __m512i sizes = _mm512_set1_epi32(size);
    const __m512i position =
        _mm512_sub_epi32(_mm512_cvttps_epi32(_mm512_mul_ps(
                             Wrap16(coordinate), _mm512_set1_ps(static_cast<float>(size * 256)))),
                         _mm512_set1_epi32(128));
    __m512i first = _mm512_srai_epi32(position, 8);
    first = _mm512_mask_add_epi32(first, _mm512_cmplt_epi32_mask(first, _mm512_setzero_si512()),
                                  first, sizes);
    first = _mm512_mask_sub_epi32(first, _mm512_cmpge_epi32_mask(first, sizes), first, sizes);
    return TIndex16{first, _mm512_and_si512(position, _mm512_set1_epi32(255))};
}

// LerpColor of Sampler.h for one channel in each 16-bit lane: (a * (256 - w) + b * w + 128)
// >> 8 equals a + (((b - a) * w * 128 + 16384) >> 15), one rounding multiply-high.
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512i
LerpChannels16(__m512i a, __m512i b, __m512i scaledWeight) {
    return _mm512_add_epi16(a, _mm512_mulhrs_epi16(_mm512_sub_epi16(b, a), scaledWeight));
}

// Each pixel's weight (0..255) times 128 in both 16-bit halves of its 32-bit lane.
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512i
DoubledWeights16(__m512i weight) {
    const __m512i scaled = _mm512_slli_epi32(weight, 7);
    return _mm512_or_si512(scaled, _mm512_slli_epi32(scaled, 16));
}

// The blended texels of four pixels, one in each 128-bit lane as (top pair, bottom pair), or
// from the turned copy as (left pair, right pair), the pixel's weights in dword Pixel of the
// lane: the blend across gives (top, bottom) in each lane, and the blend down takes them
// swapped.
template <int Pixel, bool Turned>
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512i
BlendFootprints16(__m512i pairs, __m512i across, __m512i down) {
    constexpr auto Spread = static_cast<_MM_PERM_ENUM>(Pixel * 0x55);
    // TL, BL, TR, BR
    const __m512i texels = Turned ? pairs : _mm512_shuffle_epi32(pairs, _MM_PERM_DBCA);
    const __m512i zero = _mm512_setzero_si512();
    const __m512i rows =
        LerpChannels16(_mm512_unpacklo_epi8(texels, zero), _mm512_unpackhi_epi8(texels, zero),
                       _mm512_shuffle_epi32(across, Spread));
    return LerpChannels16(rows, _mm512_shuffle_epi32(rows, _MM_PERM_BADC),
                          _mm512_shuffle_epi32(down, Spread));
}

// Sixteen pixels' footprints, each two pairs of texels of the copy read (its top pair and the
// one below, or in the turned copy its left pair and the one right of it), gathered as 64-bit
// words: half the elements of gathering each texel. The pixels are gathered in the order that
// leaves pixel 4k + j of the span in dword j of lane k of the four blends, so the blended
// pixels pack straight into their places.
struct TFootprints16 {
    __m512i FirstA, FirstB, NextA, NextB;
    __m512i Across, Down; // DoubledWeights16 of the next column's and the next row's
};

template <bool Turned>
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline TFootprints16
GatherFootprints16(const TTexture16<Turned>& texture, __m512 u, __m512 v) {
    const TIndex16 column = WrapLinear16(u, texture.Width);
    const TIndex16 row = WrapLinear16(v, texture.Height);
    const __m512i order = _mm512_setr_epi32(0, 1, 4, 5, 8, 9, 12, 13, 2, 3, 6, 7, 10, 11, 14, 15);
    const __m512i located =
        Turned ? _mm512_add_epi32(_mm512_mullo_epi32(column.First, texture.Pitches), row.First)
               : _mm512_add_epi32(_mm512_mullo_epi32(row.First, texture.Pitches), column.First);
    const __m512i entries = _mm512_permutexvar_epi32(order, located);
    const __m512i below = _mm512_add_epi32(entries, texture.Pitches);
    const void* base = texture.Copy;
    return TFootprints16{_mm512_i32gather_epi64(_mm512_castsi512_si256(entries), base, 4),
                         _mm512_i32gather_epi64(_mm512_extracti64x4_epi64(entries, 1), base, 4),
                         _mm512_i32gather_epi64(_mm512_castsi512_si256(below), base, 4),
                         _mm512_i32gather_epi64(_mm512_extracti64x4_epi64(below, 1), base, 4),
                         DoubledWeights16(column.Weight),
                         DoubledWeights16(row.Weight)};
}

// SampleLinear of Sampler.h for the sixteen gathered pixels.
template <bool Turned>
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512i
BlendFootprints16(const TFootprints16& at) {
    const __m512i first = BlendFootprints16<0, Turned>(_mm512_unpacklo_epi64(at.FirstA, at.NextA),
                                                       at.Across, at.Down);
    const __m512i second = BlendFootprints16<1, Turned>(_mm512_unpackhi_epi64(at.FirstA, at.NextA),
                                                        at.Across, at.Down);
    const __m512i third = BlendFootprints16<2, Turned>(_mm512_unpacklo_epi64(at.FirstB, at.NextB),
                                                       at.Across, at.Down);
    const __m512i fourth = BlendFootprints16<3, Turned>(_mm512_unpackhi_epi64(at.FirstB, at.NextB),
                                                        at.Across, at.Down);
    return _mm512_packus_epi16(_mm512_unpacklo_epi64(first, second),
                               _mm512_unpacklo_epi64(third, fourth));
}

// ToByte of Spans.cpp: NaN and negatives to 0, at most 255.
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512i ToByte16(__m512 value) {
    const __m512 scaled = _mm512_add_round_ps(_mm512_mul_ps(value, _mm512_set1_ps(255.0f)),
                                              _mm512_set1_ps(0.5f), _MM_FROUND_CUR_DIRECTION);
    const __m512 clamped =
        _mm512_min_ps(_mm512_max_ps(scaled, _mm512_setzero_ps()), _mm512_set1_ps(255.0f));
    return _mm512_cvttps_epi32(clamped);
}

// (t * d + 127) / 255, or twice t * d clamped to 255, for one channel of sixteen pixels.
template <bool Double>
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512i Modulate16(__m512i texel,
                                                                                  __m512i diffuse) {
    __m512i product = _mm512_mullo_epi32(texel, diffuse);
    if constexpr (Double) {
        product = _mm512_add_epi32(product, product);
    }
    product = _mm512_add_epi32(product, _mm512_set1_epi32(127));
    // Division by 255 as a multiply, exact up to 65152; larger sums all give 255.
    product = _mm512_min_epi32(product, _mm512_set1_epi32(65152));
    return _mm512_srli_epi32(_mm512_mullo_epi32(product, _mm512_set1_epi32(32897)), 23);
}

template <EColorMode Mode, bool Turned>
[[gnu::target("avx512f,avx512bw")]] int DrawSpan16From(const TTriangle& triangle,
                                                       const TSpanTarget& target, int y, int origin,
                                                       int x0, int x1) {
    constexpr bool Textured = Mode != EColorMode::Diffuse;
    constexpr bool NeedsDiffuse = Mode != EColorMode::Texture;
    const double dx = origin + 0.5 - triangle.OriginX;
    const double dy = y + 0.5 - triangle.OriginY;
    const TValue16 invW = Start16(triangle.InvW, dx, dy);
    TValue16 u{}, v{}, r{}, g{}, b{};
    TTexture16<Turned> texture{};
    if constexpr (Textured) {
        u = Start16(triangle.UoverW, dx, dy);
        v = Start16(triangle.VoverW, dx, dy);
        texture = Texture16<Turned>(*triangle.Texels);
    }
    if constexpr (NeedsDiffuse) {
        r = Start16(triangle.RoverW, dx, dy);
        g = Start16(triangle.GoverW, dx, dy);
        b = Start16(triangle.BoverW, dx, dy);
    }
    std::uint32_t* color = target.Color + static_cast<std::ptrdiff_t>(y) * target.Pitch;
    const __m512 laneOffset =
        _mm512_cvtepi32_ps(_mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    const __m512i opaque = _mm512_set1_epi32(static_cast<int>(0xFF000000u));
    const __m512i byteMask = _mm512_set1_epi32(255);
    int x = x0;
    if constexpr (Mode == EColorMode::Texture) {
        // Pairs of whole groups first: gathering both groups' footprints before blending either
        // hides much of the loads' latency.
        for (; x + 32 <= x1 + 1; x += 32) {
            const __m512 iA =
                _mm512_add_ps(_mm512_set1_ps(static_cast<float>(x - origin)), laneOffset);
            const __m512 iB = _mm512_add_ps(iA, _mm512_set1_ps(16.0f));
            const __m512 wA = _mm512_div_ps(_mm512_set1_ps(1.0f), At16(invW, iA));
            const __m512 wB = _mm512_div_ps(_mm512_set1_ps(1.0f), At16(invW, iB));
            const TFootprints16 a = GatherFootprints16(texture, _mm512_mul_ps(At16(u, iA), wA),
                                                       _mm512_mul_ps(At16(v, iA), wA));
            const TFootprints16 b = GatherFootprints16(texture, _mm512_mul_ps(At16(u, iB), wB),
                                                       _mm512_mul_ps(At16(v, iB), wB));
            _mm512_storeu_si512(color + x, _mm512_or_si512(BlendFootprints16<Turned>(a), opaque));
            _mm512_storeu_si512(color + x + 16,
                                _mm512_or_si512(BlendFootprints16<Turned>(b), opaque));
        }
    }
    for (; x <= x1; x += 16) {
        const __m512 i = _mm512_add_ps(_mm512_set1_ps(static_cast<float>(x - origin)), laneOffset);
        const __m512 w = _mm512_div_ps(_mm512_set1_ps(1.0f), At16(invW, i));
        __m512i texel = _mm512_set1_epi32(-1);
        if constexpr (Textured) {
            texel = BlendFootprints16<Turned>(GatherFootprints16(
                texture, _mm512_mul_ps(At16(u, i), w), _mm512_mul_ps(At16(v, i), w)));
        }
        __m512i out;
        if constexpr (Mode == EColorMode::Texture) {
            out = _mm512_or_si512(texel, opaque);
        } else {
            const __m512i red = ToByte16(_mm512_mul_ps(At16(r, i), w));
            const __m512i green = ToByte16(_mm512_mul_ps(At16(g, i), w));
            const __m512i blue = ToByte16(_mm512_mul_ps(At16(b, i), w));
            if constexpr (Mode == EColorMode::Diffuse) {
                out = _mm512_or_si512(_mm512_or_si512(opaque, _mm512_slli_epi32(red, 16)),
                                      _mm512_or_si512(_mm512_slli_epi32(green, 8), blue));
            } else {
                constexpr bool Double = Mode == EColorMode::Modulate2x;
                const __m512i texelRed = _mm512_and_si512(_mm512_srli_epi32(texel, 16), byteMask);
                const __m512i texelGreen = _mm512_and_si512(_mm512_srli_epi32(texel, 8), byteMask);
                const __m512i texelBlue = _mm512_and_si512(texel, byteMask);
                out = _mm512_or_si512(
                    _mm512_or_si512(opaque,
                                    _mm512_slli_epi32(Modulate16<Double>(texelRed, red), 16)),
                    _mm512_or_si512(_mm512_slli_epi32(Modulate16<Double>(texelGreen, green), 8),
                                    Modulate16<Double>(texelBlue, blue)));
            }
        }
        const int remaining = x1 - x + 1;
        if (remaining >= 16) {
            _mm512_storeu_si512(color + x, out);
        } else {
            _mm512_mask_storeu_epi32(color + x, static_cast<__mmask16>((1u << remaining) - 1), out);
        }
    }
    return x1 >= x0 ? x1 - x0 + 1 : 0;
}

template <EColorMode Mode>
[[gnu::target("avx512f,avx512bw")]] int DrawSpan16(const TTriangle& triangle,
                                                   const TSpanTarget& target, int y, int origin,
                                                   int x0, int x1) {
    if constexpr (Mode != EColorMode::Diffuse) {
        if (triangle.ReadsTurned) {
            return DrawSpan16From<Mode, true>(triangle, target, y, origin, x0, x1);
        }
    }
    return DrawSpan16From<Mode, false>(triangle, target, y, origin, x0, x1);
}

} // namespace

TSpanRoutine SelectSixteenWideSpanRoutine(const TPixelState& state) {
    if (!__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("avx512bw") ||
        state.DepthTest || state.Blend ||
        (state.ColorMode != EColorMode::Diffuse && !state.Linear)) {
        return nullptr;
    }
    switch (state.ColorMode) {
    case EColorMode::Diffuse:
        return &DrawSpan16<EColorMode::Diffuse>;
    case EColorMode::Texture:
        return &DrawSpan16<EColorMode::Texture>;
    case EColorMode::Modulate:
        return &DrawSpan16<EColorMode::Modulate>;
    case EColorMode::Modulate2x:
        return &DrawSpan16<EColorMode::Modulate2x>;
    }
    return nullptr;
}

} // namespace Reference

#else

namespace Reference {

TSpanRoutine SelectSixteenWideSpanRoutine(const TPixelState&) {
    return nullptr;
}

} // namespace Reference

#endif
