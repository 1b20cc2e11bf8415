#include "platform/d3d/reference/Clipper.h"

#include <cmath>
#include <utility>

namespace Reference {
namespace {

// Keeps w clear of zero for projections whose near plane would not.
constexpr float MinimumW = 1e-6f;

// Signed distance of a vertex to clip plane `plane`; inside when >= 0.
float PlaneDistance(const TClipVertex& v, int plane) {
    switch (plane) {
    case 0:
        return v.Z;
    case 1:
        return v.W - v.Z;
    case 2:
        return v.X + GuardBand * v.W;
    case 3:
        return GuardBand * v.W - v.X;
    case 4:
        return v.Y + GuardBand * v.W;
    case 5:
        return GuardBand * v.W - v.Y;
    default:
        return v.W - MinimumW;
    }
}

TClipVertex Lerp(const TClipVertex& a, const TClipVertex& b, float t) {
    auto mix = [t](float from, float to) { return from + (to - from) * t; };
    return TClipVertex{mix(a.X, b.X), mix(a.Y, b.Y), mix(a.Z, b.Z), mix(a.W, b.W), mix(a.U, b.U),
                       mix(a.V, b.V), mix(a.R, b.R), mix(a.G, b.G), mix(a.B, b.B), mix(a.A, b.A)};
}

// One Sutherland-Hodgman pass; returns the new corner count.
int ClipAgainst(int plane, const TClipVertex* input, int count, TClipVertex* output) {
    int written = 0;
    for (int i = 0; i < count; ++i) {
        const TClipVertex& current = input[i];
        const TClipVertex& next = input[(i + 1) % count];
        const float dCurrent = PlaneDistance(current, plane);
        const float dNext = PlaneDistance(next, plane);
        if (dCurrent >= 0) {
            output[written++] = current;
        }
        if ((dCurrent >= 0) != (dNext >= 0)) {
            // Always interpolate from the inside corner so shared edges clip identically.
            output[written++] = dCurrent >= 0 ? Lerp(current, next, dCurrent / (dCurrent - dNext))
                                              : Lerp(next, current, dNext / (dNext - dCurrent));
        }
    }
    return written;
}

} // namespace

std::uint32_t ClipOutcode(const TClipVertex& vertex) {
    std::uint32_t code = 0;
    for (int plane = 0; plane < ClipPlaneCount; ++plane) {
        if (PlaneDistance(vertex, plane) < 0) {
            code |= 1u << plane;
        }
    }
    return code;
}

int ClipTriangle(const TClipVertex (&triangle)[3], TClipVertex (&polygon)[MaxClippedVertices]) {
    for (const TClipVertex& corner : triangle) {
        if (!std::isfinite(corner.X) || !std::isfinite(corner.Y) || !std::isfinite(corner.Z) ||
            !std::isfinite(corner.W)) {
            return 0;
        }
    }
    const std::uint32_t codes[3] = {ClipOutcode(triangle[0]), ClipOutcode(triangle[1]),
                                    ClipOutcode(triangle[2])};
    if ((codes[0] & codes[1] & codes[2]) != 0) {
        return 0;
    }
    const std::uint32_t crossed = codes[0] | codes[1] | codes[2];
    TClipVertex scratch[MaxClippedVertices];
    TClipVertex* from = polygon;
    TClipVertex* to = scratch;
    for (int i = 0; i < 3; ++i) {
        polygon[i] = triangle[i];
    }
    int count = 3;
    for (int plane = 0; plane < ClipPlaneCount && count >= 3; ++plane) {
        if ((crossed & (1u << plane)) == 0) {
            continue;
        }
        count = ClipAgainst(plane, from, count, to);
        std::swap(from, to);
    }
    if (count < 3) {
        return 0;
    }
    if (from != polygon) {
        for (int i = 0; i < count; ++i) {
            polygon[i] = from[i];
        }
    }
    return count;
}

} // namespace Reference
