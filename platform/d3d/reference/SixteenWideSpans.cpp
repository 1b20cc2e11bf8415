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

struct TPair16 {
    __m512i First, Second, Weight;
};

// WrapLinear of Sampler.h, sixteen at a time.
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline TPair16
WrapLinear16(__m512 coordinate, std::int32_t size) {
    const __m512i sizes = _mm512_set1_epi32(size);
    const __m512i last = _mm512_set1_epi32(size - 1);
    const __m512i position =
        _mm512_sub_epi32(_mm512_cvttps_epi32(_mm512_mul_ps(
                             Wrap16(coordinate), _mm512_set1_ps(static_cast<float>(size * 256)))),
                         _mm512_set1_epi32(128));
    __m512i first = _mm512_srai_epi32(position, 8);
    first = _mm512_mask_add_epi32(first, _mm512_cmplt_epi32_mask(first, _mm512_setzero_si512()),
                                  first, sizes);
    __m512i second = _mm512_add_epi32(first, _mm512_set1_epi32(1));
    second = _mm512_mask_sub_epi32(second, _mm512_cmpgt_epi32_mask(second, last), second, sizes);
    first = _mm512_mask_sub_epi32(first, _mm512_cmpgt_epi32_mask(first, last), first, sizes);
    return TPair16{first, second, _mm512_and_si512(position, _mm512_set1_epi32(255))};
}

// LerpColor of Sampler.h: the same integer steps, in 16-bit lanes that never carry.
[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512i Lerp16(__m512i a, __m512i b,
                                                                              __m512i weight) {
    const __m512i pairMask = _mm512_set1_epi32(0x00FF00FF);
    const __m512i weights = _mm512_or_si512(weight, _mm512_slli_epi32(weight, 16));
    const __m512i keeps = _mm512_sub_epi16(_mm512_set1_epi16(256), weights);
    const __m512i rounding = _mm512_set1_epi32(0x00800080);
    const __m512i redBlue = _mm512_and_si512(
        _mm512_srli_epi16(
            _mm512_add_epi16(
                _mm512_add_epi16(_mm512_mullo_epi16(_mm512_and_si512(a, pairMask), keeps),
                                 _mm512_mullo_epi16(_mm512_and_si512(b, pairMask), weights)),
                rounding),
            8),
        pairMask);
    const __m512i alphaGreen = _mm512_andnot_si512(
        pairMask,
        _mm512_add_epi16(
            _mm512_add_epi16(
                _mm512_mullo_epi16(_mm512_and_si512(_mm512_srli_epi32(a, 8), pairMask), keeps),
                _mm512_mullo_epi16(_mm512_and_si512(_mm512_srli_epi32(b, 8), pairMask), weights)),
            rounding));
    return _mm512_or_si512(redBlue, alphaGreen);
}

[[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline __m512i
SampleLinear16(const TTexels& texels, __m512 u, __m512 v) {
    const auto width = static_cast<std::int32_t>(texels.Width);
    const TPair16 column = WrapLinear16(u, width);
    const TPair16 row = WrapLinear16(v, static_cast<std::int32_t>(texels.Height));
    const __m512i widths = _mm512_set1_epi32(width);
    const __m512i firstRow = _mm512_mullo_epi32(row.First, widths);
    const __m512i secondRow = _mm512_mullo_epi32(row.Second, widths);
    const void* base = texels.Pixels.data();
    const __m512i a = _mm512_i32gather_epi32(_mm512_add_epi32(firstRow, column.First), base, 4);
    const __m512i b = _mm512_i32gather_epi32(_mm512_add_epi32(firstRow, column.Second), base, 4);
    const __m512i c = _mm512_i32gather_epi32(_mm512_add_epi32(secondRow, column.First), base, 4);
    const __m512i d = _mm512_i32gather_epi32(_mm512_add_epi32(secondRow, column.Second), base, 4);
    return Lerp16(Lerp16(a, b, column.Weight), Lerp16(c, d, column.Weight), row.Weight);
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

template <EColorMode Mode>
[[gnu::target("avx512f,avx512bw")]] int DrawSpan16(const TTriangle& triangle,
                                                   const TSpanTarget& target, int y, int origin,
                                                   int x0, int x1) {
    constexpr bool Textured = Mode != EColorMode::Diffuse;
    constexpr bool NeedsDiffuse = Mode != EColorMode::Texture;
    const double dx = origin + 0.5 - triangle.OriginX;
    const double dy = y + 0.5 - triangle.OriginY;
    const TValue16 invW = Start16(triangle.InvW, dx, dy);
    TValue16 u{}, v{}, r{}, g{}, b{};
    if constexpr (Textured) {
        u = Start16(triangle.UoverW, dx, dy);
        v = Start16(triangle.VoverW, dx, dy);
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
    for (int x = x0; x <= x1; x += 16) {
        const __m512 i = _mm512_add_ps(_mm512_set1_ps(static_cast<float>(x - origin)), laneOffset);
        const __m512 w = _mm512_div_ps(_mm512_set1_ps(1.0f), At16(invW, i));
        __m512i texel = _mm512_set1_epi32(-1);
        if constexpr (Textured) {
            texel = SampleLinear16(*triangle.Texels, _mm512_mul_ps(At16(u, i), w),
                                   _mm512_mul_ps(At16(v, i), w));
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
