#include "platform/d3d/reference/WideSpans.h"

#include "platform/d3d/reference/WideSampler.h"

#if defined(__x86_64__) && defined(__GNUC__)

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

// w at pixels i: the perspective division every attribute of the pixel shares.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256 WAt(const TWideValue& invW, __m256 i) {
    return _mm256_div_ps(_mm256_set1_ps(1.0f), ValueAt(invW, i));
}

// The texel indices along `axis` of the pixels at i, whose w is `w`, from the coordinate's
// value over w.
[[gnu::target("avx2"), gnu::always_inline]] inline TWideIndex
IndexAt(const TWideValue& coordinateOverW, __m256 i, __m256 w, const TWideAxis& axis) {
    return WrapLinearWide(_mm256_mul_ps(ValueAt(coordinateOverW, i), w), axis);
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

// (s * a + d * (255 - a) + 127) / 255 in each 16-bit lane.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
BlendChannels(__m256i source, __m256i destination, __m256i alpha) {
    const __m256i sum = _mm256_add_epi16(
        _mm256_add_epi16(
            _mm256_mullo_epi16(source, alpha),
            _mm256_mullo_epi16(destination, _mm256_sub_epi16(_mm256_set1_epi16(255), alpha))),
        _mm256_set1_epi16(127));
    return _mm256_srli_epi16(_mm256_mulhi_epu16(sum, _mm256_set1_epi16(static_cast<short>(32897))),
                             7);
}

// BlendPixel of Spans.cpp for a source alpha blend: (s * a + d * (255 - a) + 127) / 255 in
// each channel, a the source texel's alpha, in 16-bit lanes (the sum stays below 65153, and
// the multiply-high divides every 16-bit number by 255 exactly).
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i BlendOverWide(__m256i source,
                                                                         __m256i destination) {
    const __m256i zero = _mm256_setzero_si256();
    // Each pixel's alpha byte in the 16-bit lanes of its channels, as unpacking places them.
    constexpr char No = -128;
    const __m256i lowAlpha =
        _mm256_setr_epi8(3, No, 3, No, 3, No, 3, No, 7, No, 7, No, 7, No, 7, No, 3, No, 3, No, 3,
                         No, 3, No, 7, No, 7, No, 7, No, 7, No);
    const __m256i highAlpha =
        _mm256_add_epi8(lowAlpha, _mm256_setr_epi8(8, 0, 8, 0, 8, 0, 8, 0, 8, 0, 8, 0, 8, 0, 8, 0,
                                                   8, 0, 8, 0, 8, 0, 8, 0, 8, 0, 8, 0, 8, 0, 8, 0));
    const __m256i low =
        BlendChannels(_mm256_unpacklo_epi8(source, zero), _mm256_unpacklo_epi8(destination, zero),
                      _mm256_shuffle_epi8(source, lowAlpha));
    const __m256i high =
        BlendChannels(_mm256_unpackhi_epi8(source, zero), _mm256_unpackhi_epi8(destination, zero),
                      _mm256_shuffle_epi8(source, highAlpha));
    return _mm256_or_si256(_mm256_packus_epi16(low, high),
                           _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
}

template <bool DepthTest, EColorMode Mode, bool Blend, bool Turned>
[[gnu::target("avx2")]] int DrawSpanWideFrom(const TTriangle& triangle, const TSpanTarget& target,
                                             int y, int origin, int x0, int x1) {
    constexpr bool Textured = Mode != EColorMode::Diffuse;
    constexpr bool NeedsDiffuse = Mode != EColorMode::Texture;
    const double dx = origin + 0.5 - triangle.OriginX;
    const double dy = y + 0.5 - triangle.OriginY;
    const TWideValue depthValue = StartWide(triangle.Depth, dx, dy);
    const TWideValue invW = StartWide(triangle.InvW, dx, dy);
    TWideValue u{}, v{}, r{}, g{}, b{};
    TWideTexture<Turned> texture{};
    if constexpr (Textured) {
        u = StartWide(triangle.UoverW, dx, dy);
        v = StartWide(triangle.VoverW, dx, dy);
        texture = WideTexture<Turned>(*triangle.Texels);
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

    // Whole numbers below 2^24, so stepping them is exact.
    __m256 i = _mm256_add_ps(_mm256_set1_ps(static_cast<float>(x0 - origin)), laneOffset);
    const __m256 eight = _mm256_set1_ps(8.0f);
    const __m256i everyLane = _mm256_set1_epi32(-1);
    // On a surface seen square-on with the texture's rows across the screen, 1/w and v do not
    // change along the row (their Step * i is zero at every pixel): its texel row is the same
    // for the whole span.
    const bool alongRows = Textured && static_cast<float>(triangle.InvW.Dx) == 0.0f &&
                           static_cast<float>(triangle.VoverW.Dx) == 0.0f;
    TWideIndex spanRow{};
    if (alongRows) {
        spanRow = IndexAt(v, i, WAt(invW, i), texture.Down);
    }
    // Without a depth test every pixel of the span is written.
    int written = DepthTest ? 0 : x1 - x0 + 1;
    int x = x0;
    if constexpr (!DepthTest && Mode == EColorMode::Texture && !Blend) {
        // Pairs of whole groups first: locating both groups' footprints before blending either
        // hides much of the loads' latency.
        const __m256 sixteen = _mm256_set1_ps(16.0f);
        for (; x + 16 <= x1 + 1; x += 16, i = _mm256_add_ps(i, sixteen)) {
            const __m256 nextI = _mm256_add_ps(i, eight);
            const __m256 wA = WAt(invW, i);
            const __m256 wB = WAt(invW, nextI);
            TWideFootprints a, b;
            LocateFootprints(texture, IndexAt(u, i, wA, texture.Across),
                             alongRows ? spanRow : IndexAt(v, i, wA, texture.Down), a);
            LocateFootprints(texture, IndexAt(u, nextI, wB, texture.Across),
                             alongRows ? spanRow : IndexAt(v, nextI, wB, texture.Down), b);
            const __m256i texelA = BlendFootprints(texture, a);
            const __m256i texelB = BlendFootprints(texture, b);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(color + x),
                                _mm256_or_si256(texelA, opaque));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(color + x + 8),
                                _mm256_or_si256(texelB, opaque));
        }
    }
    for (; x <= x1; x += 8, i = _mm256_add_ps(i, eight)) {
        const bool whole = x + 8 <= x1 + 1;
        __m256i write =
            whole ? everyLane : _mm256_cmpgt_epi32(_mm256_set1_epi32(x1 - x + 1), laneIndex);
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
        }
        const __m256 w = WAt(invW, i);
        __m256i texel = _mm256_set1_epi32(-1);
        if constexpr (Textured) {
            texel = SampleLinearWide(texture, IndexAt(u, i, w, texture.Across),
                                     alongRows ? spanRow : IndexAt(v, i, w, texture.Down));
        }
        __m256i out;
        if constexpr (Blend) {
            static_assert(Mode == EColorMode::Texture);
            out = BlendOverWide(
                texel, _mm256_maskload_epi32(reinterpret_cast<const int*>(color + x), write));
        } else if constexpr (Mode == EColorMode::Texture) {
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
        if (!DepthTest && whole) {
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

template <bool DepthTest, EColorMode Mode, bool Blend = false>
[[gnu::target("avx2")]] int DrawSpanWide(const TTriangle& triangle, const TSpanTarget& target,
                                         int y, int origin, int x0, int x1) {
    if constexpr (Mode != EColorMode::Diffuse) {
        if (triangle.ReadsTurned) {
            return DrawSpanWideFrom<DepthTest, Mode, Blend, true>(triangle, target, y, origin, x0,
                                                                  x1);
        }
    }
    return DrawSpanWideFrom<DepthTest, Mode, Blend, false>(triangle, target, y, origin, x0, x1);
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

// The one blend the game draws: a filtered texture laid over the picture by its own alpha.
bool BlendsTexelOver(const TPixelState& state) {
    return state.ColorMode == EColorMode::Texture && state.AlphaMode == EColorMode::Texture &&
           state.Linear && state.SrcBlend == EBlendFactor::SrcAlpha &&
           state.DestBlend == EBlendFactor::InvSrcAlpha;
}

} // namespace

TSpanRoutine SelectWideSpanRoutine(const TPixelState& state) {
    if (!__builtin_cpu_supports("avx2") ||
        (state.ColorMode != EColorMode::Diffuse && !state.Linear)) {
        return nullptr;
    }
    if (state.Blend) {
        if (!BlendsTexelOver(state)) {
            return nullptr;
        }
        return state.DepthTest ? &DrawSpanWide<true, EColorMode::Texture, true>
                               : &DrawSpanWide<false, EColorMode::Texture, true>;
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
