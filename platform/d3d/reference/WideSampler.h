#pragma once
// Bilinear sampling with wrap addressing for eight pixels at once on processors with AVX2,
// giving exactly what SampleLinear of Sampler.h gives each pixel. Only the eight-pixel span
// routines include it.

#include "platform/d3d/reference/RasterTypes.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#include <cstdint>
#include <utility>

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
    std::int32_t Size;
    __m256i Sizes;
    __m256 Scale;   // the size in 1/256 texels
    __m256i Offset; // a whole texture on, less half a texel, in 1/256 texels
};

// A texture's figures, formed once per span: read from the texture itself they would be read
// again for every eight pixels, as each store of the span might have changed them.
struct TWideTexture {
    const std::uint32_t* Texels;
    const std::uint32_t* Transposed; // null without a turned copy
    TWideAxis Across, Down;
};

[[gnu::target("avx2"), gnu::always_inline]] inline TWideAxis WideAxis(std::uint32_t size) {
    const auto whole = static_cast<std::int32_t>(size);
    return TWideAxis{whole, _mm256_set1_epi32(whole),
                     _mm256_set1_ps(static_cast<float>(whole * 256)),
                     _mm256_set1_epi32(whole * 256 - 128)};
}

[[gnu::target("avx2"), gnu::always_inline]] inline TWideTexture WideTexture(const TTexels& texels) {
    return TWideTexture{texels.Pixels.data(),
                        texels.Transposed.empty() ? nullptr : texels.Transposed.data(),
                        WideAxis(texels.Width), WideAxis(texels.Height)};
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
                                                                            const TWideAxis& axis) {
    const __m256i position = _mm256_add_epi32(
        _mm256_cvttps_epi32(_mm256_mul_ps(WrapWide(coordinate), axis.Scale)), axis.Offset);
    const __m256i first = WrapOnce(_mm256_srai_epi32(position, 8), axis.Sizes);
    const __m256i second = WrapOnce(_mm256_add_epi32(first, _mm256_set1_epi32(1)), axis.Sizes);
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

// Where the columns of eight footprints lie in a run of Length texels of a row, starting at
// Start: First and Second relative to it, Fits where both lie within the run.
struct TColumnRun {
    __m256i Start, First, Second, Fits;
};

// Indices change monotonically along a span unless they wrap, so the run starts at the lower
// end's column (pulled left to stay inside the row, which must be at least Length wide); a
// wrapping group does not fit.
template <std::int32_t Length>
[[gnu::target("avx2"), gnu::always_inline]] inline TColumnRun ColumnRun(const TWidePair& column,
                                                                        std::int32_t width) {
    const __m256i start =
        _mm256_min_epi32(LowerEnd(column.First), _mm256_set1_epi32(width - Length));
    const __m256i first = _mm256_sub_epi32(column.First, start);
    const __m256i second = _mm256_sub_epi32(column.Second, start);
    const __m256i reach = _mm256_max_epu32(first, second);
    return TColumnRun{
        start, first, second,
        _mm256_cmpeq_epi32(_mm256_min_epu32(reach, _mm256_set1_epi32(Length - 1)), reach)};
}

// The footprints of a group from its run of eight texels in the rows at `upper` and `lower`
// (pointing at column 0).
[[gnu::target("avx2"), gnu::always_inline]] inline TFootprints
PickFromEight(const std::uint32_t* upper, const std::uint32_t* lower, const TColumnRun& run) {
    const std::int32_t start = _mm256_cvtsi256_si32(run.Start);
    const __m256i top = LoadRun(upper, start);
    const __m256i bottom = LoadRun(lower, start);
    return TFootprints{_mm256_permutevar8x32_epi32(top, run.First),
                       _mm256_permutevar8x32_epi32(top, run.Second),
                       _mm256_permutevar8x32_epi32(bottom, run.First),
                       _mm256_permutevar8x32_epi32(bottom, run.Second)};
}

// One texel per lane from sixteen in a row, `index` (0..15) counted from `texels`.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
PickOfSixteen(const std::uint32_t* texels, __m256i index) {
    // The permute reads only the index's low three bits.
    return _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(LoadRun(texels, 0), index),
                              _mm256_permutevar8x32_epi32(LoadRun(texels, 8), index),
                              _mm256_cmpgt_epi32(index, _mm256_set1_epi32(7)));
}

// PickFromEight for runs of sixteen: textures shown at up to about two texels a pixel.
[[gnu::target("avx2"), gnu::always_inline]] inline TFootprints
PickFromSixteen(const std::uint32_t* upper, const std::uint32_t* lower, const TColumnRun& run) {
    const std::int32_t start = _mm256_cvtsi256_si32(run.Start);
    return TFootprints{
        PickOfSixteen(upper + start, run.First), PickOfSixteen(upper + start, run.Second),
        PickOfSixteen(lower + start, run.First), PickOfSixteen(lower + start, run.Second)};
}

// Where each of a group's footprints lies in one pair of rows: Upper is their top row.
struct TRowPair {
    std::int32_t Upper, Lower;
    __m256i Within; // the lanes whose footprint lies in it
};

[[gnu::target("avx2"), gnu::always_inline]] inline TRowPair RowPair(const TWidePair& row,
                                                                    std::int32_t height) {
    const __m256i lowest = LowerEnd(row.First);
    const std::int32_t top = _mm256_cvtsi256_si32(lowest);
    return TRowPair{top, top + 1 < height ? top + 1 : 0, _mm256_cmpeq_epi32(row.First, lowest)};
}

// Most of a frame is texture magnified several times, where eight neighbouring pixels read at
// most three texel rows and eight columns. Those are loaded as runs of eight texels and picked
// lane by lane, far cheaper than four gathers; a texture shown near its size is picked from
// runs of sixteen in two rows. Answers false, with nothing read, for a group that reaches
// further (minified, or wrapping within the group) or a texture narrower than a run. Lanes
// outside `needed` are never stored, so they may pick anything.
[[gnu::target("avx2"), gnu::always_inline]] inline bool
PickFromRows(const std::uint32_t* texels, std::int32_t width, std::int32_t height,
             const TWidePair& column, const TWidePair& row, __m256i needed, TFootprints& out) {
    if (width < 8) {
        return false;
    }
    const TColumnRun run = ColumnRun<8>(column, width);
    // The footprints' top rows are the pair's upper row or the row after it; each bottom row
    // follows its top.
    const TRowPair pair = RowPair(row, height);
    const __m256i onMiddle = _mm256_cmpeq_epi32(row.First, _mm256_set1_epi32(pair.Lower));
    if (!AllNeeded(_mm256_and_si256(run.Fits, _mm256_or_si256(pair.Within, onMiddle)), needed)) {
        if (width < 16 || !AllNeeded(pair.Within, needed)) {
            return false;
        }
        const TColumnRun longRun = ColumnRun<16>(column, width);
        if (!AllNeeded(longRun.Fits, needed)) {
            return false;
        }
        out = PickFromSixteen(texels + pair.Upper * width, texels + pair.Lower * width, longRun);
        return true;
    }
    out = PickFromEight(texels + pair.Upper * width, texels + pair.Lower * width, run);
    if (AllNeeded(pair.Within, needed)) {
        return true; // the common case: the whole group within one pair of rows
    }
    const std::int32_t below = pair.Lower + 1 < height ? pair.Lower + 1 : 0;
    const TFootprints next =
        PickFromEight(texels + pair.Lower * width, texels + below * width, run);
    out.A = _mm256_blendv_epi8(out.A, next.A, onMiddle);
    out.B = _mm256_blendv_epi8(out.B, next.B, onMiddle);
    out.C = _mm256_blendv_epi8(out.C, next.C, onMiddle);
    out.D = _mm256_blendv_epi8(out.D, next.D, onMiddle);
    return true;
}

// The four texels of each footprint, one gather each: for any group.
[[gnu::target("avx2"), gnu::always_inline]] inline TFootprints
GatherFootprints(const TWideTexture& texture, const TWidePair& column, const TWidePair& row) {
    const auto* base = reinterpret_cast<const int*>(texture.Texels);
    const __m256i firstRow = _mm256_mullo_epi32(row.First, texture.Across.Sizes);
    const __m256i secondRow = _mm256_mullo_epi32(row.Second, texture.Across.Sizes);
    return TFootprints{_mm256_i32gather_epi32(base, _mm256_add_epi32(firstRow, column.First), 4),
                       _mm256_i32gather_epi32(base, _mm256_add_epi32(firstRow, column.Second), 4),
                       _mm256_i32gather_epi32(base, _mm256_add_epi32(secondRow, column.First), 4),
                       _mm256_i32gather_epi32(base, _mm256_add_epi32(secondRow, column.Second), 4)};
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
BlendFootprints(const TFootprints& texel, const TChannelWeights& across,
                const TChannelWeights& down) {
    const __m256i zero = _mm256_setzero_si256();
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

// SampleLinearWide from the pixels' texel indices and weights.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
SampleFootprints(const TWideTexture& texture, const TWidePair& column, const TWidePair& row,
                 __m256i needed) {
    TFootprints texel;
    if (PickFromRows(texture.Texels, texture.Across.Size, texture.Down.Size, column, row, needed,
                     texel)) {
        // Found in the texture's rows.
    } else if (texture.Transposed != nullptr &&
               PickFromRows(texture.Transposed, texture.Down.Size, texture.Across.Size, row, column,
                            needed, texel)) {
        // A texture turned across the screen: its columns are rows of the turned copy, where
        // the footprints' second texels of a row and of a column trade places.
        std::swap(texel.B, texel.C);
    } else {
        texel = GatherFootprints(texture, column, row);
    }
    return BlendFootprints(texel, SpreadWeights(column.Weight), SpreadWeights(row.Weight));
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
SampleLinearWide(const TWideTexture& texture, __m256 u, __m256 v, __m256i needed) {
    return SampleFootprints(texture, WrapLinearWide(u, texture.Across),
                            WrapLinearWide(v, texture.Down), needed);
}

// SampleLinearWide for two groups of eight whole pixels at once, each step written for both so
// that the processor works on one group while the other waits on a result. Groups that are
// not both within one pair of rows and a run of columns are sampled one by one.
[[gnu::target("avx2"), gnu::always_inline]] inline void
SampleLinearWideTwice(const TWideTexture& texture, __m256 uA, __m256 vA, __m256 uB, __m256 vB,
                      __m256i& texelA, __m256i& texelB) {
    const TWidePair columnA = WrapLinearWide(uA, texture.Across);
    const TWidePair columnB = WrapLinearWide(uB, texture.Across);
    const TWidePair rowA = WrapLinearWide(vA, texture.Down);
    const TWidePair rowB = WrapLinearWide(vB, texture.Down);
    const std::int32_t width = texture.Across.Size;
    const TColumnRun runA = ColumnRun<8>(columnA, width);
    const TColumnRun runB = ColumnRun<8>(columnB, width);
    const TRowPair pairA = RowPair(rowA, texture.Down.Size);
    const TRowPair pairB = RowPair(rowB, texture.Down.Size);
    const __m256i every = _mm256_set1_epi32(-1);
    if (width < 8 || !AllNeeded(_mm256_and_si256(_mm256_and_si256(runA.Fits, pairA.Within),
                                                 _mm256_and_si256(runB.Fits, pairB.Within)),
                                every)) {
        texelA = SampleFootprints(texture, columnA, rowA, every);
        texelB = SampleFootprints(texture, columnB, rowB, every);
        return;
    }
    const std::uint32_t* texels = texture.Texels;
    const TFootprints footprintsA =
        PickFromEight(texels + pairA.Upper * width, texels + pairA.Lower * width, runA);
    const TFootprints footprintsB =
        PickFromEight(texels + pairB.Upper * width, texels + pairB.Lower * width, runB);
    texelA =
        BlendFootprints(footprintsA, SpreadWeights(columnA.Weight), SpreadWeights(rowA.Weight));
    texelB =
        BlendFootprints(footprintsB, SpreadWeights(columnB.Weight), SpreadWeights(rowB.Weight));
}

// The one pair of texel rows every pixel of a span reads where v stays the same along it (a
// surface seen square-on with the texture's rows across the screen), found once for the span.
struct TWideRows {
    TWidePair Index; // the same in every lane
    const std::uint32_t* Upper;
    const std::uint32_t* Lower;
    TChannelWeights Down;
};

[[gnu::target("avx2"), gnu::always_inline]] inline TWideRows WideRows(const TWideTexture& texture,
                                                                      __m256 v) {
    const TWidePair row = WrapLinearWide(v, texture.Down);
    const std::int32_t width = texture.Across.Size;
    return TWideRows{row, texture.Texels + _mm256_cvtsi256_si32(row.First) * width,
                     texture.Texels + _mm256_cvtsi256_si32(row.Second) * width,
                     SpreadWeights(row.Weight)};
}

// SampleFootprints for pixels whose texel rows are `rows`.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
SampleColumnsAlongRows(const TWideTexture& texture, const TWideRows& rows, const TWidePair& column,
                       __m256i needed) {
    const std::int32_t width = texture.Across.Size;
    TFootprints texel;
    const TColumnRun run = ColumnRun<8>(column, width);
    if (width >= 8 && AllNeeded(run.Fits, needed)) {
        texel = PickFromEight(rows.Upper, rows.Lower, run);
    } else if (const TColumnRun longRun = ColumnRun<16>(column, width);
               width >= 16 && AllNeeded(longRun.Fits, needed)) {
        texel = PickFromSixteen(rows.Upper, rows.Lower, longRun);
    } else {
        texel = GatherFootprints(texture, column, rows.Index);
    }
    return BlendFootprints(texel, SpreadWeights(column.Weight), rows.Down);
}

// SampleLinearWide for pixels whose texel rows are `rows`.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
SampleAlongRows(const TWideTexture& texture, const TWideRows& rows, __m256 u, __m256i needed) {
    return SampleColumnsAlongRows(texture, rows, WrapLinearWide(u, texture.Across), needed);
}

// SampleAlongRows for two groups of eight whole pixels at once, each step written for both so
// that the processor works on one group while the other waits on a result.
[[gnu::target("avx2"), gnu::always_inline]] inline void
SampleAlongRowsTwice(const TWideTexture& texture, const TWideRows& rows, __m256 uA, __m256 uB,
                     __m256i& texelA, __m256i& texelB) {
    const TWidePair columnA = WrapLinearWide(uA, texture.Across);
    const TWidePair columnB = WrapLinearWide(uB, texture.Across);
    const TColumnRun runA = ColumnRun<8>(columnA, texture.Across.Size);
    const TColumnRun runB = ColumnRun<8>(columnB, texture.Across.Size);
    const __m256i every = _mm256_set1_epi32(-1);
    if (texture.Across.Size < 8 || !AllNeeded(_mm256_and_si256(runA.Fits, runB.Fits), every)) {
        texelA = SampleColumnsAlongRows(texture, rows, columnA, every);
        texelB = SampleColumnsAlongRows(texture, rows, columnB, every);
        return;
    }
    const TFootprints footprintsA = PickFromEight(rows.Upper, rows.Lower, runA);
    const TFootprints footprintsB = PickFromEight(rows.Upper, rows.Lower, runB);
    texelA = BlendFootprints(footprintsA, SpreadWeights(columnA.Weight), rows.Down);
    texelB = BlendFootprints(footprintsB, SpreadWeights(columnB.Weight), rows.Down);
}

} // namespace Reference

#endif
