#pragma once
// A plane's value at a span's start for the AVX-512 routines, formed exactly as the one-pixel
// routines form it. Compiled for AVX-512 the plain expression would have its multiply and add
// fused into one instruction, and the value would differ from theirs in the last bit; the
// additions here carry an explicit rounding mode, which the compiler never fuses.

#include "platform/d3d/reference/Avx512Intrinsics.h"
#include "platform/d3d/reference/RasterTypes.h"

#if defined(__x86_64__) && defined(__GNUC__)

namespace Reference {

// static_cast<float>(plane.At + plane.Dx * dx + plane.Dy * dy), never fused.
[[gnu::target("avx512f"), gnu::always_inline]] inline float UnfusedPlaneAt(const TPlane& plane,
                                                                           double dx, double dy) {
    const __m128d across = _mm_mul_sd(_mm_set_sd(plane.Dx), _mm_set_sd(dx));
    const __m128d down = _mm_mul_sd(_mm_set_sd(plane.Dy), _mm_set_sd(dy));
    const __m128d sum =
        _mm_add_round_sd(_mm_add_round_sd(_mm_set_sd(plane.At), across, _MM_FROUND_CUR_DIRECTION),
                         down, _MM_FROUND_CUR_DIRECTION);
    return static_cast<float>(_mm_cvtsd_f64(sum));
}

} // namespace Reference

#endif
