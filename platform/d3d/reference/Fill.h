#pragma once
// Filling and scanning runs of 32-bit words, sixteen bytes at a time: the tiles clear and
// search their rows many times a frame, and the plain loops stay one word at a time.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Reference {

inline void FillWords(std::uint32_t* to, int count, std::uint32_t value) {
    int k = 0;
#if defined(__SSE2__)
    const __m128i values = _mm_set1_epi32(static_cast<int>(value));
    for (; k + 4 <= count; k += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + k), values);
    }
#endif
    for (; k < count; ++k) {
        to[k] = value;
    }
}

inline void FillDepths(float* to, int count, float value) {
    static_assert(sizeof(float) == sizeof(std::uint32_t));
    int k = 0;
#if defined(__SSE2__)
    const __m128 values = _mm_set1_ps(value);
    for (; k + 4 <= count; k += 4) {
        _mm_storeu_ps(to + k, values);
    }
#endif
    for (; k < count; ++k) {
        to[k] = value;
    }
}

// The first index from `start` below `end` whose word differs from words[start], or end.
inline int RunEnd(const std::uint32_t* words, int start, int end) {
    const std::uint32_t value = words[start];
    int k = start + 1;
#if defined(__SSE2__)
    const __m128i values = _mm_set1_epi32(static_cast<int>(value));
    // Sixteen words a step, their comparisons packed down to one bit each.
    for (; k + 16 <= end; k += 16) {
        const auto* at = reinterpret_cast<const __m128i*>(words + k);
        const __m128i low = _mm_packs_epi32(_mm_cmpeq_epi32(_mm_loadu_si128(at), values),
                                            _mm_cmpeq_epi32(_mm_loadu_si128(at + 1), values));
        const __m128i high = _mm_packs_epi32(_mm_cmpeq_epi32(_mm_loadu_si128(at + 2), values),
                                             _mm_cmpeq_epi32(_mm_loadu_si128(at + 3), values));
        const auto differ =
            static_cast<unsigned>(~_mm_movemask_epi8(_mm_packs_epi16(low, high)) & 0xFFFF);
        if (differ != 0) {
            return k + std::countr_zero(differ);
        }
    }
    for (; k + 4 <= end; k += 4) {
        const __m128i same =
            _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(words + k)), values);
        const auto differ = static_cast<unsigned>(~_mm_movemask_ps(_mm_castsi128_ps(same)) & 15);
        if (differ != 0) {
            return k + std::countr_zero(differ);
        }
    }
#endif
    while (k < end && words[k] == value) {
        ++k;
    }
    return k;
}

// The largest of `count` depths, leaving out those that are not numbers (which pass no depth
// test); minus infinity where there are none.
inline float FarthestDepth(const float* depths, int count) {
    float farthest = -std::numeric_limits<float>::infinity();
    int k = 0;
#if defined(__SSE2__)
    __m128 farthests = _mm_set1_ps(farthest);
    for (; k + 4 <= count; k += 4) {
        // The instruction gives its second operand where the first is not a number.
        farthests = _mm_max_ps(_mm_loadu_ps(depths + k), farthests);
    }
    farthests = _mm_max_ps(farthests, _mm_movehl_ps(farthests, farthests));
    farthests = _mm_max_ps(farthests, _mm_shuffle_ps(farthests, farthests, 1));
    farthest = _mm_cvtss_f32(farthests);
#endif
    for (; k < count; ++k) {
        farthest = std::max(farthest, depths[k]); // keeps `farthest` where depths[k] is NaN
    }
    return farthest;
}

// Whether any word from `start` below `end` equals `value`.
inline bool HoldsWord(const std::uint32_t* words, int start, int end, std::uint32_t value) {
    int k = start;
#if defined(__SSE2__)
    const __m128i values = _mm_set1_epi32(static_cast<int>(value));
    for (; k + 4 <= end; k += 4) {
        const __m128i same =
            _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(words + k)), values);
        if (_mm_movemask_epi8(same) != 0) {
            return true;
        }
    }
#endif
    for (; k < end; ++k) {
        if (words[k] == value) {
            return true;
        }
    }
    return false;
}

} // namespace Reference
