#include "platform/d3d/reference/WideSpans.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#include <cstdint>

namespace Reference {
namespace {

struct TWideValue {
    __m256 Start, Step;
};

[[gnu::target("avx2"), gnu::always_inline]] inline TWideValue StartWide(const TPlane& plane,
                                                                        double dx, double dy) {
    return TWideValue{_mm256_set1_ps(static_cast<float>(plane.At + plane.Dx * dx + plane.Dy * dy)),
                      _mm256_set1_ps(static_cast<float>(plane.Dx))};
}

// Start + Step * i, as the one-pixel routines form it (no fused multiply-add).
[[gnu::target("avx2"), gnu::always_inline]] inline __m256 ValueAt(const TWideValue& value,
                                                                  __m256 i) {
    return _mm256_add_ps(value.Start, _mm256_mul_ps(value.Step, i));
}

// WrapCoordinate of Sampler.h, eight at a time.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256 WrapWide(__m256 coordinate) {
    const __m256 limit = _mm256_set1_ps(8388608.0f);
    const __m256 low = _mm256_max_ps(coordinate, _mm256_sub_ps(_mm256_setzero_ps(), limit));
    const __m256 pinned = _mm256_min_ps(low, limit);
    __m256 whole = _mm256_cvtepi32_ps(_mm256_cvttps_epi32(pinned));
    whole = _mm256_sub_ps(
        whole, _mm256_and_ps(_mm256_cmp_ps(whole, pinned, _CMP_GT_OQ), _mm256_set1_ps(1.0f)));
    return _mm256_sub_ps(pinned, whole);
}

struct TWidePair {
    __m256i First, Second, Weight;
};

// WrapLinear of Sampler.h, eight at a time.
[[gnu::target("avx2"), gnu::always_inline]] inline TWidePair WrapLinearWide(__m256 coordinate,
                                                                            std::int32_t size) {
    const __m256i sizes = _mm256_set1_epi32(size);
    const __m256i position =
        _mm256_sub_epi32(_mm256_cvttps_epi32(_mm256_mul_ps(
                             WrapWide(coordinate), _mm256_set1_ps(static_cast<float>(size * 256)))),
                         _mm256_set1_epi32(128));
    const __m256i last = _mm256_set1_epi32(size - 1);
    __m256i first = _mm256_srai_epi32(position, 8);
    first = _mm256_add_epi32(first, _mm256_and_si256(sizes, _mm256_srai_epi32(first, 31)));
    __m256i second = _mm256_add_epi32(first, _mm256_set1_epi32(1));
    second = _mm256_sub_epi32(second, _mm256_and_si256(sizes, _mm256_cmpgt_epi32(second, last)));
    first = _mm256_sub_epi32(first, _mm256_and_si256(sizes, _mm256_cmpgt_epi32(first, last)));
    return TWidePair{first, second, _mm256_and_si256(position, _mm256_set1_epi32(255))};
}

// LerpColor of Sampler.h: the same integer steps, in 16-bit lanes that never carry.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i LerpWide(__m256i a, __m256i b,
                                                                    __m256i weight) {
    const __m256i pairMask = _mm256_set1_epi32(0x00FF00FF);
    const __m256i weights = _mm256_or_si256(weight, _mm256_slli_epi32(weight, 16));
    const __m256i keeps = _mm256_sub_epi16(_mm256_set1_epi16(256), weights);
    const __m256i rounding = _mm256_set1_epi32(0x00800080);
    const __m256i redBlue = _mm256_and_si256(
        _mm256_srli_epi16(
            _mm256_add_epi16(
                _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(a, pairMask), keeps),
                                 _mm256_mullo_epi16(_mm256_and_si256(b, pairMask), weights)),
                rounding),
            8),
        pairMask);
    const __m256i alphaGreen = _mm256_andnot_si256(
        pairMask,
        _mm256_add_epi16(
            _mm256_add_epi16(
                _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(a, 8), pairMask), keeps),
                _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(b, 8), pairMask), weights)),
            rounding));
    return _mm256_or_si256(redBlue, alphaGreen);
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i SampleLinearWide(const TTexels& texels,
                                                                            __m256 u, __m256 v) {
    const auto width = static_cast<std::int32_t>(texels.Width);
    const TWidePair column = WrapLinearWide(u, width);
    const TWidePair row = WrapLinearWide(v, static_cast<std::int32_t>(texels.Height));
    const __m256i widths = _mm256_set1_epi32(width);
    const __m256i firstRow = _mm256_mullo_epi32(row.First, widths);
    const __m256i secondRow = _mm256_mullo_epi32(row.Second, widths);
    const auto* base = reinterpret_cast<const int*>(texels.Pixels.data());
    const __m256i a = _mm256_i32gather_epi32(base, _mm256_add_epi32(firstRow, column.First), 4);
    const __m256i b = _mm256_i32gather_epi32(base, _mm256_add_epi32(firstRow, column.Second), 4);
    const __m256i c = _mm256_i32gather_epi32(base, _mm256_add_epi32(secondRow, column.First), 4);
    const __m256i d = _mm256_i32gather_epi32(base, _mm256_add_epi32(secondRow, column.Second), 4);
    return LerpWide(LerpWide(a, b, column.Weight), LerpWide(c, d, column.Weight), row.Weight);
}

// ToByte of Spans.cpp: NaN and negatives to 0, at most 255.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i ToByteWide(__m256 value) {
    const __m256 scaled =
        _mm256_add_ps(_mm256_mul_ps(value, _mm256_set1_ps(255.0f)), _mm256_set1_ps(0.5f));
    const __m256 clamped =
        _mm256_min_ps(_mm256_max_ps(scaled, _mm256_setzero_ps()), _mm256_set1_ps(255.0f));
    return _mm256_cvttps_epi32(clamped);
}

// (t * d + 127) / 255, or twice t * d clamped to 255, for one channel of eight pixels.
template <bool Double>
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i ModulateWide(__m256i texel,
                                                                        __m256i diffuse) {
    __m256i product = _mm256_mullo_epi32(texel, diffuse);
    if constexpr (Double) {
        product = _mm256_add_epi32(product, product);
    }
    product = _mm256_add_epi32(product, _mm256_set1_epi32(127));
    // Division by 255 as a multiply, exact up to 65152; larger sums all give 255.
    product = _mm256_min_epi32(product, _mm256_set1_epi32(65152));
    return _mm256_srli_epi32(_mm256_mullo_epi32(product, _mm256_set1_epi32(32897)), 23);
}

template <bool DepthTest, EColorMode Mode>
[[gnu::target("avx2")]] int DrawSpanWide(const TTriangle& triangle, const TSpanTarget& target,
                                         int y, int origin, int x0, int x1) {
    constexpr bool Textured = Mode != EColorMode::Diffuse;
    constexpr bool NeedsDiffuse = Mode != EColorMode::Texture;
    const double dx = origin + 0.5 - triangle.OriginX;
    const double dy = y + 0.5 - triangle.OriginY;
    const TWideValue depthValue = StartWide(triangle.Depth, dx, dy);
    const TWideValue invW = StartWide(triangle.InvW, dx, dy);
    TWideValue u{}, v{}, r{}, g{}, b{};
    if constexpr (Textured) {
        u = StartWide(triangle.UoverW, dx, dy);
        v = StartWide(triangle.VoverW, dx, dy);
    }
    if constexpr (NeedsDiffuse) {
        r = StartWide(triangle.RoverW, dx, dy);
        g = StartWide(triangle.GoverW, dx, dy);
        b = StartWide(triangle.BoverW, dx, dy);
    }
    std::uint32_t* color = target.Color + static_cast<std::ptrdiff_t>(y) * target.Pitch;
    float* depth =
        DepthTest ? target.Depth + static_cast<std::ptrdiff_t>(y) * target.DepthPitch : nullptr;
    const __m256i laneIndex = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256 laneOffset = _mm256_cvtepi32_ps(laneIndex);
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));

    int written = 0;
    for (int x = x0; x <= x1; x += 8) {
        const __m256 i = _mm256_add_ps(_mm256_set1_ps(static_cast<float>(x - origin)), laneOffset);
        __m256i write = _mm256_cmpgt_epi32(_mm256_set1_epi32(x1 - x + 1), laneIndex);
        const __m256 z = ValueAt(depthValue, i);
        if constexpr (DepthTest) {
            const __m256 stored = _mm256_maskload_ps(depth + x, write);
            write =
                _mm256_and_si256(write, _mm256_castps_si256(_mm256_cmp_ps(z, stored, _CMP_LE_OQ)));
            if (_mm256_testz_si256(write, write)) {
                continue;
            }
            written += __builtin_popcount(
                static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(write))));
        } else {
            written += x1 - x + 1 < 8 ? x1 - x + 1 : 8;
        }
        const __m256 w = _mm256_div_ps(_mm256_set1_ps(1.0f), ValueAt(invW, i));
        __m256i texel = _mm256_set1_epi32(-1);
        if constexpr (Textured) {
            texel = SampleLinearWide(*triangle.Texels, _mm256_mul_ps(ValueAt(u, i), w),
                                     _mm256_mul_ps(ValueAt(v, i), w));
        }
        __m256i out;
        if constexpr (Mode == EColorMode::Texture) {
            out = _mm256_or_si256(texel, opaque);
        } else {
            const __m256i red = ToByteWide(_mm256_mul_ps(ValueAt(r, i), w));
            const __m256i green = ToByteWide(_mm256_mul_ps(ValueAt(g, i), w));
            const __m256i blue = ToByteWide(_mm256_mul_ps(ValueAt(b, i), w));
            if constexpr (Mode == EColorMode::Diffuse) {
                out = _mm256_or_si256(_mm256_or_si256(opaque, _mm256_slli_epi32(red, 16)),
                                      _mm256_or_si256(_mm256_slli_epi32(green, 8), blue));
            } else {
                constexpr bool Double = Mode == EColorMode::Modulate2x;
                const __m256i byteMask = _mm256_set1_epi32(255);
                const __m256i texelRed = _mm256_and_si256(_mm256_srli_epi32(texel, 16), byteMask);
                const __m256i texelGreen = _mm256_and_si256(_mm256_srli_epi32(texel, 8), byteMask);
                const __m256i texelBlue = _mm256_and_si256(texel, byteMask);
                out = _mm256_or_si256(
                    _mm256_or_si256(opaque,
                                    _mm256_slli_epi32(ModulateWide<Double>(texelRed, red), 16)),
                    _mm256_or_si256(_mm256_slli_epi32(ModulateWide<Double>(texelGreen, green), 8),
                                    ModulateWide<Double>(texelBlue, blue)));
            }
        }
        if (!DepthTest && x + 8 <= x1 + 1) {
            // A whole group: a plain store, many times cheaper than a masked one.
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(color + x), out);
        } else {
            _mm256_maskstore_epi32(reinterpret_cast<int*>(color + x), write, out);
        }
        if constexpr (DepthTest) {
            _mm256_maskstore_ps(depth + x, write, z);
        }
    }
    return written;
}

template <bool DepthTest> TSpanRoutine PickWideMode(EColorMode mode) {
    switch (mode) {
    case EColorMode::Diffuse:
        return &DrawSpanWide<DepthTest, EColorMode::Diffuse>;
    case EColorMode::Texture:
        return &DrawSpanWide<DepthTest, EColorMode::Texture>;
    case EColorMode::Modulate:
        return &DrawSpanWide<DepthTest, EColorMode::Modulate>;
    case EColorMode::Modulate2x:
        return &DrawSpanWide<DepthTest, EColorMode::Modulate2x>;
    }
    return nullptr;
}

} // namespace

TSpanRoutine SelectWideSpanRoutine(const TPixelState& state) {
    if (!__builtin_cpu_supports("avx2") || state.Blend ||
        (state.ColorMode != EColorMode::Diffuse && !state.Linear)) {
        return nullptr;
    }
    return state.DepthTest ? PickWideMode<true>(state.ColorMode)
                           : PickWideMode<false>(state.ColorMode);
}

} // namespace Reference

#else

namespace Reference {

TSpanRoutine SelectWideSpanRoutine(const TPixelState&) {
    return nullptr;
}

} // namespace Reference

#endif
