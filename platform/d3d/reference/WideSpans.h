#pragma once
// Eight-pixel span routines for processors with AVX2, for the states that fill most of a
// frame: depth-tested, unblended, lit colour or bilinear texture (selected or modulated).
// They give exactly the pixels of the one-pixel routines, only faster.

#include "platform/d3d/reference/RasterTypes.h"

namespace Reference {

// The wide routine for this state, or null when the state or the processor has none.
TSpanRoutine SelectWideSpanRoutine(const TPixelState& state);

} // namespace Reference
