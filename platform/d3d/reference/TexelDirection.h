#pragma once
// Which copy of a texture the wide spans of a triangle sample: the one whose rows its texels
// run along, so that the footprints of neighbouring pixels share cache lines however the
// texture is turned on the screen.

#include "platform/d3d/reference/RasterTypes.h"

#include <cmath>

namespace Reference {

// Whether, along a row of the triangle at its origin, its texels run further down its texture
// than across it. It only picks where the wide spans read texels from, never which texels.
inline bool RunsDownTexture(const TTriangle& triangle) {
    // The change of a coordinate along the row, times 1/w squared, which both share.
    const auto change = [&](const TPlane& overW) {
        return std::abs(overW.Dx * triangle.InvW.At - overW.At * triangle.InvW.Dx);
    };
    return change(triangle.VoverW) * triangle.Texels->Height >
           change(triangle.UoverW) * triangle.Texels->Width;
}

} // namespace Reference
