#pragma once
// Integer division rounded towards minus or plus infinity, where C++ rounds towards zero:
// pixel bounds come from sub-pixel coordinates of either sign.

#include <cstdint>

namespace Reference {

// Floor of n / d for d > 0.
inline std::int64_t FloorDivide(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// Ceiling of n / d for d > 0.
inline std::int64_t CeilDivide(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

} // namespace Reference
