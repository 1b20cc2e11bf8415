#include "platform/d3d/reference/TriangleSetup.h"

#include "platform/d3d/reference/IntegerDivision.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace Reference {
namespace {

// A corner on the screen: snapped subpixel position and the attributes divided by w.
struct TScreenCorner {
    std::int64_t X, Y;
    double Depth, InvW, U, V, R, G, B, A;
};

bool ToScreen(const TClipVertex& v, int width, int height, TScreenCorner& corner) {
    const double invW = 1.0 / static_cast<double>(v.W);
    const double x = (static_cast<double>(v.X) * invW + 1.0) * 0.5 * width;
    const double y = (1.0 - static_cast<double>(v.Y) * invW) * 0.5 * height;
    // The guard band keeps corners within a few screens; anything else is a broken vertex.
    constexpr double Limit = 1 << 20;
    if (!(std::fabs(x) < Limit && std::fabs(y) < Limit)) {
        return false;
    }
    corner.X = std::llround(x * SubpixelScale);
    corner.Y = std::llround(y * SubpixelScale);
    corner.Depth = v.Z * invW;
    corner.InvW = invW;
    corner.U = v.U * invW;
    corner.V = v.V * invW;
    corner.R = v.R * invW;
    corner.G = v.G * invW;
    corner.B = v.B * invW;
    corner.A = v.A * invW;
    return true;
}

class TPlaneBuilder {
public:
    TPlaneBuilder(const TScreenCorner (&c)[3])
        : X1(static_cast<double>(c[1].X - c[0].X) / SubpixelScale),
          Y1(static_cast<double>(c[1].Y - c[0].Y) / SubpixelScale),
          X2(static_cast<double>(c[2].X - c[0].X) / SubpixelScale),
          Y2(static_cast<double>(c[2].Y - c[0].Y) / SubpixelScale), Area(X1 * Y2 - X2 * Y1) {}

    TPlane Build(double f0, double f1, double f2) const {
        const double d1 = f1 - f0;
        const double d2 = f2 - f0;
        return TPlane{f0, (d1 * Y2 - d2 * Y1) / Area, (d2 * X1 - d1 * X2) / Area};
    }

private:
    double X1, Y1, X2, Y2, Area;
};

} // namespace

bool IsCounterClockwise(const TClipVertex& a, const TClipVertex& b, const TClipVertex& c,
                        bool& degenerate) {
    // The determinant of the (x, y, w) rows keeps its sign under clipping, so the facing of
    // a triangle that crosses the near plane is that of its visible part.
    const double det = static_cast<double>(a.X) *
                           (static_cast<double>(b.Y) * c.W - static_cast<double>(b.W) * c.Y) -
                       static_cast<double>(a.Y) *
                           (static_cast<double>(b.X) * c.W - static_cast<double>(b.W) * c.X) +
                       static_cast<double>(a.W) *
                           (static_cast<double>(b.X) * c.Y - static_cast<double>(b.Y) * c.X);
    degenerate = det == 0.0;
    return det > 0.0;
}

bool SetUpTriangle(const TClipVertex& a, const TClipVertex& b, const TClipVertex& c, int width,
                   int height, TTriangle& triangle) {
    TScreenCorner corners[3];
    if (!ToScreen(a, width, height, corners[0]) || !ToScreen(b, width, height, corners[1]) ||
        !ToScreen(c, width, height, corners[2])) {
        return false;
    }
    std::int64_t area = (corners[1].X - corners[0].X) * (corners[2].Y - corners[0].Y) -
                        (corners[2].X - corners[0].X) * (corners[1].Y - corners[0].Y);
    if (area == 0) {
        return false;
    }
    if (area < 0) {
        // Rasterise every triangle clockwise (in y-down pixels) so inside is E >= 0.
        std::swap(corners[1], corners[2]);
        area = -area;
    }

    for (int i = 0; i < 3; ++i) {
        const TScreenCorner& from = corners[i];
        const TScreenCorner& to = corners[(i + 1) % 3];
        const std::int64_t edgeA = from.Y - to.Y;
        const std::int64_t edgeB = to.X - from.X;
        std::int64_t edgeC = -(edgeA * from.X + edgeB * from.Y);
        // Top-left rule: centres exactly on a top or left edge belong to this triangle.
        const bool topLeft = edgeA > 0 || (edgeA == 0 && edgeB > 0);
        if (!topLeft) {
            edgeC -= 1;
        }
        // Express the edge in whole pixels, evaluated at the pixel centre.
        triangle.EdgeA[i] = edgeA * SubpixelScale;
        triangle.EdgeB[i] = edgeB * SubpixelScale;
        triangle.EdgeC[i] = edgeC + (edgeA + edgeB) * (SubpixelScale / 2);
    }

    const auto [minX, maxX] = std::minmax({corners[0].X, corners[1].X, corners[2].X});
    const auto [minY, maxY] = std::minmax({corners[0].Y, corners[1].Y, corners[2].Y});
    constexpr std::int64_t Half = SubpixelScale / 2;
    triangle.MinX =
        static_cast<int>(std::max<std::int64_t>(0, -FloorDivide(-(minX - Half), SubpixelScale)));
    triangle.MinY =
        static_cast<int>(std::max<std::int64_t>(0, -FloorDivide(-(minY - Half), SubpixelScale)));
    triangle.MaxX = static_cast<int>(
        std::min<std::int64_t>(width - 1, FloorDivide(maxX - Half, SubpixelScale)));
    triangle.MaxY = static_cast<int>(
        std::min<std::int64_t>(height - 1, FloorDivide(maxY - Half, SubpixelScale)));
    if (triangle.MinX > triangle.MaxX || triangle.MinY > triangle.MaxY) {
        return false;
    }

    const TPlaneBuilder planes(corners);
    const TScreenCorner& p = corners[0];
    const TScreenCorner& q = corners[1];
    const TScreenCorner& r = corners[2];
    triangle.OriginX = static_cast<double>(p.X) / SubpixelScale;
    triangle.OriginY = static_cast<double>(p.Y) / SubpixelScale;
    triangle.Depth = planes.Build(p.Depth, q.Depth, r.Depth);
    triangle.InvW = planes.Build(p.InvW, q.InvW, r.InvW);
    triangle.UoverW = planes.Build(p.U, q.U, r.U);
    triangle.VoverW = planes.Build(p.V, q.V, r.V);
    triangle.RoverW = planes.Build(p.R, q.R, r.R);
    triangle.GoverW = planes.Build(p.G, q.G, r.G);
    triangle.BoverW = planes.Build(p.B, q.B, r.B);
    triangle.AoverW = planes.Build(p.A, q.A, r.A);
    return true;
}

} // namespace Reference
