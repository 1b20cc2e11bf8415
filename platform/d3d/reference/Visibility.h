#pragma once
// The first step of a deferred tile: which fragment each pixel keeps. A routine here runs the
// depth test of one triangle's span exactly as the drawing spans do, but instead of shading
// the fragments that pass it only records their depth and who owns the pixel now.

#include "platform/d3d/reference/RasterTypes.h"

#include <cstdint>

namespace Reference {

// The fastest routine for triangles in this state; never null.
TVisibilityRoutine SelectVisibilityRoutine(const TPixelState& state);

// The eight-column routine where the processor has AVX2, else the one-pixel one.
TVisibilityRoutine SelectEightWideVisibilityRoutine(const TPixelState& state);

// The one-pixel-at-a-time routine, which the faster one matches exactly.
TVisibilityRoutine SelectOnePixelVisibilityRoutine(const TPixelState& state);

// A tile row's columns in segments of this many, one bit of a mask each.
constexpr int SegmentColumns = 16;
// The segments of a tile row.
constexpr int RowSegments = 8;

// The segments columns first..last reach.
inline std::uint8_t SegmentsOf(int first, int last) {
    return static_cast<std::uint8_t>(((2u << (last / SegmentColumns)) - 1) &
                                     ~((1u << (first / SegmentColumns)) - 1));
}

// The segments of the row where the triangle's depth, interpolated from column `origin`, would
// pass the less-or-equal test at some pixel of first..last against the depths the row holds:
// what the visibility routines would find, bit for bit, with nothing stored. Segments set in
// `known` are not looked at.
std::uint32_t SegmentsTaken(const TTriangle& triangle, const TTileRow& row, int origin, int first,
                            int last, std::uint32_t known);

// The segments of the row, among those first..last reaches and not set in `known`, where the
// triangle's depth, interpolated from column `origin`, lies beyond `farthest[segment]` (one
// for each of the row's RowSegments) at every pixel of first..last: the less-or-equal test
// fails there against any depths no farther than that. Depths along a row are monotonic in
// the column, however they round, so the two ends of each piece of the row tell.
std::uint32_t SegmentsBeyond(const TTriangle& triangle, const TTileRow& row, int origin, int first,
                             int last, std::uint32_t known, const float* farthest);

} // namespace Reference
