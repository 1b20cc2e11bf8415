#pragma once
// The fixed-function state written down as words, every part of it a draw depends on: two
// states with equal words draw alike. Exact (float bit patterns, no hashing), so that any
// change at all tells.

#include "platform/d3d/FixedFunctionState.h"

#include <cstdint>
#include <vector>

void AppendStateWords(const TFixedFunctionState& state, std::vector<std::uint32_t>& words);
