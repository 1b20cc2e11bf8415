#pragma once
// The pixel loops of the software device, one specialised routine per combination of the
// states that change the inner loop (depth test, blending, colour source, filter), so no
// pixel pays for a test of a state it does not use.

#include "platform/d3d/reference/RasterTypes.h"

namespace Reference {

// The fastest routine that draws spans of triangles in this state; never null.
TSpanRoutine SelectSpanRoutine(const TPixelState& state);

// The one-pixel-at-a-time routine for the state, which the faster ones match exactly.
TSpanRoutine SelectOnePixelSpanRoutine(const TPixelState& state);

// Fills in the routines of triangle (Span, Shade, Visibility) for triangle.State, for tiles
// drawn the given way.
void SelectSpanRoutines(TTriangle& triangle, ETileShading shading);

} // namespace Reference
