#pragma once
// What a draw depends on written down as words: the fixed-function state, every part of it,
// and what the draw read besides. Equal words draw alike. Exact (float bit patterns, no
// hashing), so that any change at all tells.

#include "platform/d3d/FixedFunctionState.h"

#include <cstdint>
#include <vector>

// What a draw read besides the fixed-function state.
struct TDrawSources {
    std::uint64_t TextureStamp = 0; // 0: no texture bound
    std::uint64_t StreamStamp = 0;
    UINT Stride = 0;
    UINT StartVertex = 0;
    UINT PrimitiveCount = 0;
};

void AppendStateWords(const TFixedFunctionState& state, std::vector<std::uint32_t>& words);
void AppendSourceWords(const TDrawSources& sources, std::vector<std::uint32_t>& words);
