#pragma once
// Clipping in homogeneous clip space, before the divide by w: against the near and far
// planes (nothing behind the camera or past the far plane is drawn) and a guard band well
// outside the sides, which keeps screen coordinates small enough for exact fixed point
// while sparing the usual triangle that only pokes out of the window a clip of its own.

#include "platform/d3d/reference/RasterTypes.h"

#include <cstdint>

namespace Reference {

// The guard band reaches this many half-widths of the view from its centre.
constexpr float GuardBand = 3.0f;

// Each plane can add one corner to the polygon.
constexpr int ClipPlaneCount = 7;
constexpr int MaxClippedVertices = 3 + ClipPlaneCount;

// One bit per plane the vertex lies outside of; 0 when inside all.
std::uint32_t ClipOutcode(const TClipVertex& vertex);

// Clips the triangle and writes the convex polygon that remains to `polygon`, in the same
// winding; returns its corner count (0 when nothing remains, else 3..MaxClippedVertices).
// A triangle with a corner that is not a finite number is dropped whole.
int ClipTriangle(const TClipVertex (&triangle)[3], TClipVertex (&polygon)[MaxClippedVertices]);

} // namespace Reference
