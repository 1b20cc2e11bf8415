#include "platform/d3d/reference/Visibility.h"

#include "platform/d3d/reference/Avx512Intrinsics.h"
#include "platform/d3d/reference/UnfusedPlane.h"

#include <algorithm>

namespace Reference {
namespace {

// The depth of the span's first pixel and its step, formed as the drawing spans form them.
struct TDepthSpan {
    float Start, Step;
};

TDepthSpan StartDepth(const TTriangle& triangle, int y, int x0) {
    const double dx = x0 + 0.5 - triangle.OriginX;
    const double dy = y + 0.5 - triangle.OriginY;
    const TPlane& plane = triangle.Depth;
    return TDepthSpan{static_cast<float>(plane.At + plane.Dx * dx + plane.Dy * dy),
                      static_cast<float>(plane.Dx)};
}

void TakeAll(const TTriangle&, const TTileRow& row, int, int first, int last, std::uint32_t key) {
    std::fill(row.Owners + first, row.Owners + last + 1, key);
}

void TakeNearerOnePixel(const TTriangle& triangle, const TTileRow& row, int origin, int first,
                        int last, std::uint32_t key) {
    const TDepthSpan span = StartDepth(triangle, row.Y, row.X0 + origin);
    for (int k = first; k <= last; ++k) {
        const float z = span.Start + span.Step * static_cast<float>(k - origin);
        if (z <= row.Depth[k]) {
            row.Depth[k] = z;
            row.Owners[k] = key;
        }
    }
}

std::uint32_t SegmentsTakenOnePixel(const TTriangle& triangle, const TTileRow& row, int origin,
                                    int first, int last, std::uint32_t known) {
    const TDepthSpan span = StartDepth(triangle, row.Y, row.X0 + origin);
    std::uint32_t taken = 0;
    for (int k = first; k <= last; ++k) {
        const std::uint32_t segment = 1u << (k / SegmentColumns);
        if (((known | taken) & segment) == 0 &&
            span.Start + span.Step * static_cast<float>(k - origin) <= row.Depth[k]) {
            taken |= segment;
        }
    }
    return taken;
}

#if defined(__x86_64__) && defined(__GNUC__)
// Start + Step * i without a fused multiply-add, as the drawing spans form it.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256 DepthAt(__m256 start, __m256 step,
                                                                  __m256 i) {
    return _mm256_add_ps(start, _mm256_mul_ps(step, i));
}

// Which of the eight columns from `group` lie within first..last.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i Inside(int group, int first, int last) {
    const __m256i column =
        _mm256_add_epi32(_mm256_set1_epi32(group), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    return _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_set1_epi32(first), column),
                               _mm256_cmpgt_epi32(_mm256_set1_epi32(last + 1), column));
}

// One group of eight columns from `group`, whose depths are `z`. A group wholly inside the
// row is loaded, merged and stored whole, which is far cheaper than masked stores; only a
// group the row ends in needs the masked kind. `inside` says which columns are the span's.
template <bool WholeSpan>
[[gnu::target("avx2"), gnu::always_inline]] inline void
TakeGroup(const TTileRow& row, int group, __m256 z, __m256i inside, __m256i keys) {
    float* depth = row.Depth + group;
    auto* owners = reinterpret_cast<__m256i*>(row.Owners + group);
    if (WholeSpan || group + 8 <= row.Columns) {
        const __m256 stored = _mm256_loadu_ps(depth);
        __m256 nearer = _mm256_cmp_ps(z, stored, _CMP_LE_OQ);
        if constexpr (!WholeSpan) {
            nearer = _mm256_and_ps(_mm256_castsi256_ps(inside), nearer);
        }
        _mm256_storeu_ps(depth, _mm256_blendv_ps(stored, z, nearer));
        _mm256_storeu_si256(owners, _mm256_castps_si256(_mm256_blendv_ps(
                                        _mm256_castsi256_ps(_mm256_loadu_si256(owners)),
                                        _mm256_castsi256_ps(keys), nearer)));
    } else {
        const __m256 stored = _mm256_maskload_ps(depth, inside);
        const __m256i nearer =
            _mm256_and_si256(inside, _mm256_castps_si256(_mm256_cmp_ps(z, stored, _CMP_LE_OQ)));
        _mm256_maskstore_ps(depth, nearer, z);
        _mm256_maskstore_epi32(reinterpret_cast<int*>(owners), nearer, keys);
    }
}

// Works on the row's groups of eight columns: the groups the span covers whole need no mask.
[[gnu::target("avx2")]] void TakeNearerWide(const TTriangle& triangle, const TTileRow& row,
                                            int origin, int first, int last, std::uint32_t key) {
    const TDepthSpan span = StartDepth(triangle, row.Y, row.X0 + origin);
    const __m256 start = _mm256_set1_ps(span.Start);
    const __m256 step = _mm256_set1_ps(span.Step);
    const __m256i laneIndex = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i keys = _mm256_set1_epi32(static_cast<int>(key));
    // Whole numbers below 2^24, so stepping them is exact.
    const __m256 eight = _mm256_set1_ps(8.0f);
    int group = first & ~7;
    __m256 i = _mm256_add_ps(_mm256_set1_ps(static_cast<float>(group - origin)),
                             _mm256_cvtepi32_ps(laneIndex));
    if (group < first) {
        TakeGroup<false>(row, group, DepthAt(start, step, i), Inside(group, first, last), keys);
        group += 8;
        i = _mm256_add_ps(i, eight);
    }
    for (; group + 7 <= last; group += 8, i = _mm256_add_ps(i, eight)) {
        TakeGroup<true>(row, group, DepthAt(start, step, i), keys, keys);
    }
    if (group <= last) {
        TakeGroup<false>(row, group, DepthAt(start, step, i), Inside(group, first, last), keys);
    }
}

static_assert(SegmentColumns % 8 == 0);

[[gnu::target("avx2")]] std::uint32_t SegmentsTakenWide(const TTriangle& triangle,
                                                        const TTileRow& row, int origin, int first,
                                                        int last, std::uint32_t known) {
    const TDepthSpan span = StartDepth(triangle, row.Y, row.X0 + origin);
    const __m256 start = _mm256_set1_ps(span.Start);
    const __m256 step = _mm256_set1_ps(span.Step);
    const __m256 laneOffset = _mm256_cvtepi32_ps(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    std::uint32_t taken = 0;
    // Whole groups of eight lie within the row's block, whatever its width; the columns outside
    // first..last are masked off after the comparison.
    for (int group = first & ~7; group <= last; group += 8) {
        const std::uint32_t segment = 1u << (group / SegmentColumns);
        if (((known | taken) & segment) != 0) {
            continue;
        }
        const __m256 i =
            _mm256_add_ps(_mm256_set1_ps(static_cast<float>(group - origin)), laneOffset);
        const __m256 nearer = _mm256_and_ps(
            _mm256_cmp_ps(DepthAt(start, step, i), _mm256_loadu_ps(row.Depth + group), _CMP_LE_OQ),
            _mm256_castsi256_ps(Inside(group, first, last)));
        if (_mm256_movemask_ps(nearer) != 0) {
            taken |= segment;
        }
    }
    return taken;
}

// Sixteen columns at a time; the processor's masked loads and stores leave the columns outside
// first..last untouched at no extra cost.
[[gnu::target("avx512f")]] void TakeNearerSixteen(const TTriangle& triangle, const TTileRow& row,
                                                  int origin, int first, int last,
                                                  std::uint32_t key) {
    const double dx = row.X0 + origin + 0.5 - triangle.OriginX;
    const double dy = row.Y + 0.5 - triangle.OriginY;
    const __m512 start = _mm512_set1_ps(UnfusedPlaneAt(triangle.Depth, dx, dy));
    const __m512 step = _mm512_set1_ps(static_cast<float>(triangle.Depth.Dx));
    const __m512 laneOffset =
        _mm512_cvtepi32_ps(_mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    const __m512i keys = _mm512_set1_epi32(static_cast<int>(key));
    for (int group = first & ~15; group <= last; group += 16) {
        auto inside = static_cast<__mmask16>(0xFFFFu);
        if (group < first) {
            inside &= static_cast<__mmask16>(0xFFFFu << (first - group));
        }
        if (group + 15 > last) {
            inside &= static_cast<__mmask16>(0xFFFFu >> (group + 15 - last));
        }
        const __m512 i =
            _mm512_add_ps(_mm512_set1_ps(static_cast<float>(group - origin)), laneOffset);
        // Start + Step * i; the add's explicit rounding keeps it from being fused.
        const __m512 z =
            _mm512_add_round_ps(start, _mm512_mul_ps(step, i), _MM_FROUND_CUR_DIRECTION);
        const __m512 stored = _mm512_maskz_loadu_ps(inside, row.Depth + group);
        const __mmask16 nearer = _mm512_mask_cmp_ps_mask(inside, z, stored, _CMP_LE_OQ);
        _mm512_mask_storeu_ps(row.Depth + group, nearer, z);
        _mm512_mask_storeu_epi32(row.Owners + group, nearer, keys);
    }
}

// All eight segments of the row at once: each one's first and last column within first..last.
[[gnu::target("avx2")]] std::uint32_t SegmentsBeyondWide(const TTriangle& triangle,
                                                         const TTileRow& row, int origin, int first,
                                                         int last, std::uint32_t known,
                                                         const float* farthest) {
    static_assert(RowSegments == 8 && SegmentColumns == 16, "the lanes below are the segments");
    const TDepthSpan span = StartDepth(triangle, row.Y, row.X0 + origin);
    const __m256 start = _mm256_set1_ps(span.Start);
    const __m256 step = _mm256_set1_ps(span.Step);
    const __m256i segmentStarts = _mm256_setr_epi32(0, 16, 32, 48, 64, 80, 96, 112);
    const __m256i from = _mm256_max_epi32(segmentStarts, _mm256_set1_epi32(first));
    const __m256i to = _mm256_min_epi32(_mm256_add_epi32(segmentStarts, _mm256_set1_epi32(15)),
                                        _mm256_set1_epi32(last));
    const __m256i origins = _mm256_set1_epi32(origin);
    const __m256 limits = _mm256_loadu_ps(farthest);
    // Written so that a depth that is not a number leaves the segment to the full test.
    const __m256 fromBeyond =
        _mm256_cmp_ps(DepthAt(start, step, _mm256_cvtepi32_ps(_mm256_sub_epi32(from, origins))),
                      limits, _CMP_GT_OQ);
    const __m256 toBeyond =
        _mm256_cmp_ps(DepthAt(start, step, _mm256_cvtepi32_ps(_mm256_sub_epi32(to, origins))),
                      limits, _CMP_GT_OQ);
    const auto beyond =
        static_cast<std::uint32_t>(_mm256_movemask_ps(_mm256_and_ps(fromBeyond, toBeyond)));
    return beyond & SegmentsOf(first, last) & ~known;
}
#endif

std::uint32_t SegmentsBeyondOneByOne(const TTriangle& triangle, const TTileRow& row, int origin,
                                     int first, int last, std::uint32_t known,
                                     const float* farthest) {
    const TDepthSpan span = StartDepth(triangle, row.Y, row.X0 + origin);
    const auto depthAt = [&](int k) {
        return span.Start + span.Step * static_cast<float>(k - origin);
    };
    std::uint32_t beyond = 0;
    for (int segment = first / SegmentColumns; segment <= last / SegmentColumns; ++segment) {
        const std::uint32_t bit = 1u << segment;
        const int from = std::max(first, segment * SegmentColumns);
        const int to = std::min(last, segment * SegmentColumns + SegmentColumns - 1);
        // Written so that a depth that is not a number leaves the segment to the full test.
        if ((known & bit) == 0 && depthAt(from) > farthest[segment] &&
            depthAt(to) > farthest[segment]) {
            beyond |= bit;
        }
    }
    return beyond;
}

} // namespace

TVisibilityRoutine SelectVisibilityRoutine(const TPixelState& state) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (state.DepthTest && __builtin_cpu_supports("avx512f")) {
        return &TakeNearerSixteen;
    }
#endif
    return SelectEightWideVisibilityRoutine(state);
}

TVisibilityRoutine SelectEightWideVisibilityRoutine(const TPixelState& state) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (state.DepthTest && __builtin_cpu_supports("avx2")) {
        return &TakeNearerWide;
    }
#endif
    return SelectOnePixelVisibilityRoutine(state);
}

TVisibilityRoutine SelectOnePixelVisibilityRoutine(const TPixelState& state) {
    return state.DepthTest ? &TakeNearerOnePixel : &TakeAll;
}

std::uint32_t SegmentsTaken(const TTriangle& triangle, const TTileRow& row, int origin, int first,
                            int last, std::uint32_t known) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2")) {
        return SegmentsTakenWide(triangle, row, origin, first, last, known);
    }
#endif
    return SegmentsTakenOnePixel(triangle, row, origin, first, last, known);
}

std::uint32_t SegmentsBeyond(const TTriangle& triangle, const TTileRow& row, int origin, int first,
                             int last, std::uint32_t known, const float* farthest) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2")) {
        return SegmentsBeyondWide(triangle, row, origin, first, last, known, farthest);
    }
#endif
    return SegmentsBeyondOneByOne(triangle, row, origin, first, last, known, farthest);
}

} // namespace Reference
