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

// WrapCoordinate of Sampler.h, eight at a time: truncation corrected downwards is the floor.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256 WrapWide(__m256 coordinate) {
    const __m256 limit = _mm256_set1_ps(8388608.0f);
    const __m256 pinned =
        _mm256_min_ps(_mm256_max_ps(coordinate, _mm256_sub_ps(_mm256_setzero_ps(), limit)), limit);
    return _mm256_sub_ps(pinned,
                         _mm256_round_ps(pinned, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC));
}

struct TWidePair {
    __m256i First, Second, Weight;
};

// i, or i - size where that is not negative: one unsigned minimum, as i - size below zero
// reads as a very large number.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i WrapOnce(__m256i index, __m256i sizes) {
    return _mm256_min_epu32(index, _mm256_sub_epi32(index, sizes));
}

// WrapLinear of Sampler.h, eight at a time. Positions are taken a whole texture further on
// (a multiple of 256, so the weights stay), which keeps them positive: each index then wraps
// at most once, from above.
[[gnu::target("avx2"), gnu::always_inline]] inline TWidePair WrapLinearWide(__m256 coordinate,
                                                                            std::int32_t size) {
    const __m256i sizes = _mm256_set1_epi32(size);
    const __m256i position =
        _mm256_add_epi32(_mm256_cvttps_epi32(_mm256_mul_ps(
                             WrapWide(coordinate), _mm256_set1_ps(static_cast<float>(size * 256)))),
                         _mm256_set1_epi32(size * 256 - 128));
    const __m256i first = WrapOnce(_mm256_srai_epi32(position, 8), sizes);
    const __m256i second = WrapOnce(_mm256_add_epi32(first, _mm256_set1_epi32(1)), sizes);
    return TWidePair{first, second, _mm256_and_si256(position, _mm256_set1_epi32(255))};
}

// The lowest of a group's values at its two ends: the lowest of all where they change
// monotonically along the span.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i LowerEnd(__m256i values) {
    return _mm256_min_epi32(_mm256_broadcastd_epi32(_mm256_castsi256_si128(values)),
                            _mm256_permutevar8x32_epi32(values, _mm256_set1_epi32(7)));
}

// Whether every lane is set where `needed` is.
[[gnu::target("avx2"), gnu::always_inline]] inline bool AllNeeded(__m256i lanes, __m256i needed) {
    return _mm256_testc_si256(lanes, needed);
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i LoadRun(const std::uint32_t* texels,
                                                                   std::int32_t offset) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + offset));
}

// The four texels of each footprint, top row (A, B) and bottom row (C, D).
struct TFootprints {
    __m256i A, B, C, D;
};

// Most of a frame is texture magnified several times, where eight neighbouring pixels read at
// most three texel rows and eight columns. Those are loaded as runs of eight texels and picked
// lane by lane, far cheaper than four gathers. Answers false, with nothing read, for a group
// that reaches further (minified, or wrapping within the group). Lanes outside `needed` are
// never stored, so they may pick anything.
[[gnu::target("avx2"), gnu::always_inline]] inline bool
PickFromRows(const TTexels& texels, const TWidePair& column, const TWidePair& row, __m256i needed,
             TFootprints& out) {
    constexpr std::int32_t Window = 8;
    const auto width = static_cast<std::int32_t>(texels.Width);
    const auto height = static_cast<std::int32_t>(texels.Height);
    if (width < Window) {
        return false;
    }
    // Indices change monotonically along a span unless they wrap, so the window starts at the
    // lower end's column (pulled left to stay inside the row); a wrapping group fails the fit.
    const __m256i start =
        _mm256_min_epi32(LowerEnd(column.First), _mm256_set1_epi32(width - Window));
    const __m256i first = _mm256_sub_epi32(column.First, start);
    const __m256i second = _mm256_sub_epi32(column.Second, start);
    const __m256i reach = _mm256_max_epu32(first, second);
    const __m256i fits =
        _mm256_cmpeq_epi32(_mm256_min_epu32(reach, _mm256_set1_epi32(Window - 1)), reach);
    // The footprints' top rows are `top` or the row after it; each bottom row follows its top.
    const __m256i lowest = LowerEnd(row.First);
    const std::int32_t top = _mm256_cvtsi256_si32(lowest);
    const std::int32_t middle = top + 1 < height ? top + 1 : 0;
    const __m256i onTop = _mm256_cmpeq_epi32(row.First, lowest);
    const __m256i onMiddle = _mm256_cmpeq_epi32(row.First, _mm256_set1_epi32(middle));
    if (!AllNeeded(_mm256_and_si256(fits, _mm256_or_si256(onTop, onMiddle)), needed)) {
        return false;
    }
    const std::uint32_t* window = texels.Pixels.data() + _mm256_cvtsi256_si32(start);
    const __m256i upper = LoadRun(window, top * width);
    const __m256i lower = LoadRun(window, middle * width);
    out.A = _mm256_permutevar8x32_epi32(upper, first);
    out.B = _mm256_permutevar8x32_epi32(upper, second);
    out.C = _mm256_permutevar8x32_epi32(lower, first);
    out.D = _mm256_permutevar8x32_epi32(lower, second);
    if (AllNeeded(onTop, needed)) {
        return true; // the common case: the whole group within one pair of rows
    }
    const __m256i below = LoadRun(window, (middle + 1 < height ? middle + 1 : 0) * width);
    out.A = _mm256_blendv_epi8(out.A, out.C, onMiddle);
    out.B = _mm256_blendv_epi8(out.B, out.D, onMiddle);
    out.C = _mm256_blendv_epi8(out.C, _mm256_permutevar8x32_epi32(below, first), onMiddle);
    out.D = _mm256_blendv_epi8(out.D, _mm256_permutevar8x32_epi32(below, second), onMiddle);
    return true;
}

// Each pixel's weight (0..255) times 128, in the 16-bit lanes of its four channels as
// unpacking its texels' bytes places them: pixels 0-1 of each half, then pixels 2-3.
struct TChannelWeights {
    __m256i Low, High;
};

[[gnu::target("avx2"), gnu::always_inline]] inline TChannelWeights SpreadWeights(__m256i weight) {
    const __m256i scaled = _mm256_slli_epi32(weight, 7);
    // The low 16 bits of pixels 0 and 1 (of each half) four times over, then of pixels 2 and 3.
    const __m256i low = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5, 0, 1, 0, 1,
                                         0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5);
    const __m256i high = _mm256_add_epi8(low, _mm256_set1_epi8(8));
    return TChannelWeights{_mm256_shuffle_epi8(scaled, low), _mm256_shuffle_epi8(scaled, high)};
}

// LerpColor of Sampler.h for one channel in each 16-bit lane: (a * (256 - w) + b * w + 128)
// >> 8 equals a + (((b - a) * w * 128 + 16384) >> 15), one rounding multiply-high.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i LerpChannels(__m256i a, __m256i b,
                                                                        __m256i scaledWeight) {
    return _mm256_add_epi16(a, _mm256_mulhrs_epi16(_mm256_sub_epi16(b, a), scaledWeight));
}

// SampleLinear's three blends of the four texels, on all channels of eight pixels at once.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
BlendFootprints(const TFootprints& texel, __m256i columnWeight, __m256i rowWeight) {
    const __m256i zero = _mm256_setzero_si256();
    const TChannelWeights across = SpreadWeights(columnWeight);
    const TChannelWeights down = SpreadWeights(rowWeight);
    const __m256i low = LerpChannels(LerpChannels(_mm256_unpacklo_epi8(texel.A, zero),
                                                  _mm256_unpacklo_epi8(texel.B, zero), across.Low),
                                     LerpChannels(_mm256_unpacklo_epi8(texel.C, zero),
                                                  _mm256_unpacklo_epi8(texel.D, zero), across.Low),
                                     down.Low);
    const __m256i high =
        LerpChannels(LerpChannels(_mm256_unpackhi_epi8(texel.A, zero),
                                  _mm256_unpackhi_epi8(texel.B, zero), across.High),
                     LerpChannels(_mm256_unpackhi_epi8(texel.C, zero),
                                  _mm256_unpackhi_epi8(texel.D, zero), across.High),
                     down.High);
    return _mm256_packus_epi16(low, high);
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
SampleLinearWide(const TTexels& texels, __m256 u, __m256 v, __m256i needed) {
    const auto width = static_cast<std::int32_t>(texels.Width);
    const TWidePair column = WrapLinearWide(u, width);
    const TWidePair row = WrapLinearWide(v, static_cast<std::int32_t>(texels.Height));
    TFootprints texel;
    if (!PickFromRows(texels, column, row, needed, texel)) {
        const auto* base = reinterpret_cast<const int*>(texels.Pixels.data());
        const __m256i widths = _mm256_set1_epi32(width);
        const __m256i firstRow = _mm256_mullo_epi32(row.First, widths);
        const __m256i secondRow = _mm256_mullo_epi32(row.Second, widths);
        texel.A = _mm256_i32gather_epi32(base, _mm256_add_epi32(firstRow, column.First), 4);
        texel.B = _mm256_i32gather_epi32(base, _mm256_add_epi32(firstRow, column.Second), 4);
        texel.C = _mm256_i32gather_epi32(base, _mm256_add_epi32(secondRow, column.First), 4);
        texel.D = _mm256_i32gather_epi32(base, _mm256_add_epi32(secondRow, column.Second), 4);
    }
    return BlendFootprints(texel, column.Weight, row.Weight);
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

template <bool DepthTest, EColorMode Mode, bool Blend = false>
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

    // Whole numbers below 2^24, so stepping them is exact.
    __m256 i = _mm256_add_ps(_mm256_set1_ps(static_cast<float>(x0 - origin)), laneOffset);
    const __m256 eight = _mm256_set1_ps(8.0f);
    int written = 0;
    for (int x = x0; x <= x1; x += 8, i = _mm256_add_ps(i, eight)) {
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
                                     _mm256_mul_ps(ValueAt(v, i), w), write);
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
