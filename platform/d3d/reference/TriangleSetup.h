#pragma once
// Turns a clipped triangle into screen space: snaps its corners to 1/256 pixel, builds the
// edge functions with the top-left fill rule (pixel centres at x + 0.5, y + 0.5, y down)
// and the planes of its perspective-divided attributes.

#include "platform/d3d/reference/RasterTypes.h"

namespace Reference {

// Which on-screen winding is dropped before rasterising.
enum class ECull : std::uint8_t { None, Clockwise, CounterClockwise };

// True when triangle (a, b, c), all in front of the camera, runs counter-clockwise on the
// screen as the viewer sees it; `degenerate` is set when it has no area at all.
bool IsCounterClockwise(const TClipVertex& a, const TClipVertex& b, const TClipVertex& c,
                        bool& degenerate);

// Sets up a triangle whose corners are inside the clip volume (w > 0, inside the guard
// band). The caller fills State, Span and Texels. Returns false when it covers no pixel
// centre of the width x height screen.
bool SetUpTriangle(const TClipVertex& a, const TClipVertex& b, const TClipVertex& c, int width,
                   int height, TTriangle& triangle);

} // namespace Reference
