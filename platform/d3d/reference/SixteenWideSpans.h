#pragma once
// Sixteen-pixel span routines for processors with AVX-512, for the states that shade a frame
// once its depth is resolved: unblended lit colour or bilinear texture (selected or
// modulated), without a depth test. They give exactly the pixels of the one-pixel routines,
// only faster.

#include "platform/d3d/reference/RasterTypes.h"

namespace Reference {

// The sixteen-pixel routine for this state, or null when the state or the processor has none.
TSpanRoutine SelectSixteenWideSpanRoutine(const TPixelState& state);

} // namespace Reference
