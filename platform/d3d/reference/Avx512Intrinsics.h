#pragma once
// The processor's vector intrinsics for the AVX-512 routines. The compiler's own AVX-512
// header leaves lanes undefined on purpose and warns about it.

#if defined(__x86_64__) && defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#endif
