#include "render/SceneMeshes.h"

#include <cmath>
#include <numbers>

namespace {
constexpr std::int32_t Sides = 12;
constexpr float Radius = 0.5f;
constexpr float HalfLength = 0.25f;

// Normal and texture-coordinate groups.
enum : std::int32_t { BottomEnd, Side, TopEnd, SidePicture, EndPicture };

TVector RingPoint(std::int32_t k, float z) {
    const double angle = 2 * std::numbers::pi * k / Sides;
    return {static_cast<float>(Radius * std::cos(angle)),
            static_cast<float>(Radius * std::sin(angle)), z};
}
} // namespace

// Vertex 0 is the bottom centre, 1 to 12 the bottom ring from angle 0, 13 the top centre and
// 14 to 25 the top ring. The side wraps the picture once around with a seam at angle 0;
// both ends show it projected from above. Normals: one for the bottom, one per ring angle
// for the side, one per triangle of the top (25 in all).
TMeshTable BuildBackgroundMesh() {
    TMeshBuilder mesh;
    const std::int32_t bottomCentre = mesh.AddVertex({0, 0, -HalfLength});
    for (std::int32_t k = 0; k < Sides; ++k) {
        mesh.AddVertex(RingPoint(k, -HalfLength));
    }
    const std::int32_t topCentre = mesh.AddVertex({0, 0, HalfLength});
    for (std::int32_t k = 0; k < Sides; ++k) {
        mesh.AddVertex(RingPoint(k, HalfLength));
    }
    const auto bottom = [&](std::int32_t k) { return bottomCentre + 1 + k % Sides; };
    const auto top = [&](std::int32_t k) { return topCentre + 1 + k % Sides; };
    const auto sideCoord = [&](std::int32_t k, float v) {
        return mesh.TexCoord({SidePicture, 2 * k + (v > 0 ? 1 : 0)},
                             {static_cast<float>(k) / Sides, v});
    };
    const auto endCoord = [&](std::int32_t vertex) {
        const TVector& p = mesh.Vertex(vertex);
        const std::int32_t key = vertex == bottomCentre || vertex == topCentre
                                     ? Sides
                                     : (vertex - bottomCentre - 1) % (Sides + 1);
        return mesh.TexCoord({EndPicture, key}, {0.5f + p.x, 0.5f + p.y});
    };

    const std::int32_t down = mesh.Normal({BottomEnd, 0}, {0, 0, -1});
    for (std::int32_t k = 0; k < Sides; ++k) {
        mesh.AddFace({bottomCentre, down, endCoord(bottomCentre)},
                     {bottom(k + 1), down, endCoord(bottom(k + 1))},
                     {bottom(k), down, endCoord(bottom(k))});
    }
    for (std::int32_t k = 0; k < Sides; ++k) {
        const std::int32_t here = mesh.Normal({Side, k}, RingPoint(k, 0));
        const std::int32_t next = mesh.Normal({Side, (k + 1) % Sides}, RingPoint(k + 1, 0));
        const TMeshCorner lowHere{bottom(k), here, sideCoord(k, 0)};
        const TMeshCorner lowNext{bottom(k + 1), next, sideCoord(k + 1, 0)};
        const TMeshCorner highHere{top(k), here, sideCoord(k, 1)};
        const TMeshCorner highNext{top(k + 1), next, sideCoord(k + 1, 1)};
        mesh.AddFace(lowHere, lowNext, highNext);
        mesh.AddFace(lowHere, highNext, highHere);
    }
    for (std::int32_t k = 0; k < Sides; ++k) {
        const std::int32_t up = mesh.Normal({TopEnd, k}, {0, 0, 1});
        mesh.AddFace({topCentre, up, endCoord(topCentre)}, {top(k), up, endCoord(top(k))},
                     {top(k + 1), up, endCoord(top(k + 1))});
    }
    return mesh.Finish();
}

const TMeshTable BackgroundMeshTable = BuildBackgroundMesh();
