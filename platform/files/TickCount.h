#pragma once
// The millisecond tick count: a monotonic clock read as an unsigned 32-bit count that wraps
// after about 49.7 days. Take differences in unsigned 32-bit arithmetic, so that a wrap still
// yields the right delta.

#include <cstdint>
#include <functional>

std::uint32_t GetTickCount();

// Replaces the clock, so tests can step time by hand; an empty function restores the
// monotonic clock.
void SetTickCountSource(std::function<std::uint32_t()> source);
