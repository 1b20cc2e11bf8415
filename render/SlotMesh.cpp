#include "render/SceneMeshes.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {
constexpr float PlateHalfThickness = 0.079f;
constexpr float WideEndY = -0.5f;
constexpr float WideHalfWidth = 0.263f;
constexpr float NarrowEndY = 0.026f;
constexpr float NarrowHalfWidth = 0.2105f;
constexpr float RodRadius = 0.053f;
constexpr std::int32_t RodSides = 8;
constexpr std::array<float, 3> RodRings{NarrowEndY, 0.263f, 0.5f};

// The plate's end rectangles, corners counter-clockwise in (x, z) from (-, -).
constexpr std::array<std::array<float, 2>, 4> EndCorners{{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}};

// The plate's faces; each corner of the plate has a normal and a picture place per face.
enum TPlateFace : std::int32_t { WideEnd, NarrowEnd, Top, Bottom, RightSide, LeftSide };
// Groups of the rod's entries, above the plate's face numbers.
enum : std::int32_t { RodSideNormal = 10, EndNormal = 20, TipNormal = 30, RodPicture = 40 };

double RodAngle(std::int32_t k) {
    return std::numbers::pi / RodSides + 2 * std::numbers::pi * k / RodSides;
}

TTexCoord BoxPicture(TPlateFace face, const TVector& p) {
    switch (face) {
    case WideEnd:
    case NarrowEnd:
        return {0.5f - p.x, 0.5f + p.z};
    case Top:
    case Bottom:
        return {0.5f - p.x, 0.5f + p.y};
    default:
        return {0.5f + p.y, 0.5f + p.z};
    }
}
} // namespace

// One closed surface: the plate's eight corners (0-3 at the wide end, 4-7 at the narrow
// end, each in EndCorners order), three rings of eight around the rod at RodRings (8-15,
// 16-23, 24-31) and the centre of the rod's tip (32). The rod's first ring lies in the
// plate's narrow end, which fills the space between its rectangle and that ring. Normals:
// per plate corner and face, per rod ring point and band, one for the narrow end around the
// rod and one for the tip (58). Pictures: per plate corner and face, per rod ring point
// (48); the tip's centre sits where the wrap around the rod starts.
TMeshTable BuildSlotMesh() {
    TMeshBuilder mesh;
    for (float y : {WideEndY, NarrowEndY}) {
        const float half = y == WideEndY ? WideHalfWidth : NarrowHalfWidth;
        for (const auto& sign : EndCorners) {
            mesh.AddVertex({sign[0] * half, y, sign[1] * PlateHalfThickness});
        }
    }
    for (float y : RodRings) {
        for (std::int32_t k = 0; k < RodSides; ++k) {
            mesh.AddVertex({static_cast<float>(RodRadius * std::cos(RodAngle(k))), y,
                            static_cast<float>(RodRadius * std::sin(RodAngle(k)))});
        }
    }
    const std::int32_t tip = mesh.AddVertex({0, RodRings.back(), 0});
    const auto plate = [](bool narrow, std::int32_t corner) { return (narrow ? 4 : 0) + corner; };
    const auto ring = [](std::int32_t r, std::int32_t k) {
        return 8 + r * RodSides + k % RodSides;
    };

    // A plate face as two triangles; its normal comes from its corners, turned to `outside`.
    const auto plateFace = [&](TPlateFace face, std::array<std::int32_t, 4> corners,
                               const TVector& outside) {
        const TVector normal = FaceNormal(mesh.Vertex(corners[0]), mesh.Vertex(corners[1]),
                                          mesh.Vertex(corners[2]), outside);
        std::array<TMeshCorner, 4> at{};
        for (std::int32_t c = 0; c < 4; ++c) {
            const std::int32_t v = corners[c];
            at[c] = {v, mesh.Normal({v, face}, normal),
                     mesh.TexCoord({v, face}, BoxPicture(face, mesh.Vertex(v)))};
        }
        mesh.AddFace(at[0], at[1], at[2]);
        mesh.AddFace(at[0], at[2], at[3]);
    };
    plateFace(WideEnd, {plate(false, 0), plate(false, 1), plate(false, 2), plate(false, 3)},
              {0, -1, 0});
    plateFace(Top, {plate(false, 3), plate(false, 2), plate(true, 2), plate(true, 3)}, {0, 0, 1});
    plateFace(Bottom, {plate(false, 0), plate(false, 1), plate(true, 1), plate(true, 0)},
              {0, 0, -1});
    plateFace(RightSide, {plate(false, 1), plate(false, 2), plate(true, 2), plate(true, 1)},
              {1, 0, 0});
    plateFace(LeftSide, {plate(false, 0), plate(false, 3), plate(true, 3), plate(true, 0)},
              {-1, 0, 0});

    const auto rodPicture = [&](std::int32_t r, std::int32_t k) {
        return mesh.TexCoord({ring(r, k), RodPicture},
                             {static_cast<float>(k % RodSides) / RodSides,
                              static_cast<float>(r) / (RodRings.size() - 1)});
    };

    // The narrow end between its rectangle and the rod's first ring: each corner of the
    // rectangle takes the two ring edges of its quarter, each side of the rectangle the ring
    // point where the next quarter begins.
    const std::int32_t endNormal = mesh.Normal({0, EndNormal}, {0, 1, 0});
    const auto endCorner = [&](std::int32_t quarter) {
        constexpr std::array<std::int32_t, 4> byQuarter{2, 3, 0, 1}; // from (+, +) onwards
        const std::int32_t v = plate(true, byQuarter[quarter % 4]);
        return TMeshCorner{v, mesh.Normal({v, NarrowEnd}, {0, 1, 0}),
                           mesh.TexCoord({v, NarrowEnd}, BoxPicture(NarrowEnd, mesh.Vertex(v)))};
    };
    const auto ringCorner = [&](std::int32_t k) {
        return TMeshCorner{ring(0, k), endNormal, rodPicture(0, k)};
    };
    constexpr std::int32_t PerQuarter = RodSides / 4;
    for (std::int32_t quarter = 0; quarter < 4; ++quarter) {
        const std::int32_t first = PerQuarter * quarter;
        for (std::int32_t k = first; k < first + PerQuarter; ++k) {
            mesh.AddFace(endCorner(quarter), ringCorner(k), ringCorner(k + 1));
        }
        mesh.AddFace(endCorner(quarter), endCorner(quarter + 1), ringCorner(first + PerQuarter));
    }

    for (std::int32_t band = 0; band + 1 < static_cast<std::int32_t>(RodRings.size()); ++band) {
        for (std::int32_t k = 0; k < RodSides; ++k) {
            std::array<TMeshCorner, 4> at{};
            const std::array<std::array<std::int32_t, 2>, 4> places{
                {{band, k}, {band, k + 1}, {band + 1, k + 1}, {band + 1, k}}};
            for (std::int32_t c = 0; c < 4; ++c) {
                const std::int32_t v = ring(places[c][0], places[c][1]);
                const TVector& p = mesh.Vertex(v);
                at[c] = {v, mesh.Normal({v, RodSideNormal + band}, {p.x, 0, p.z}),
                         rodPicture(places[c][0], places[c][1])};
            }
            mesh.AddFace(at[0], at[1], at[2]);
            mesh.AddFace(at[0], at[2], at[3]);
        }
    }

    const std::int32_t last = static_cast<std::int32_t>(RodRings.size()) - 1;
    const std::int32_t tipNormal = mesh.Normal({0, TipNormal}, {0, 1, 0});
    const TMeshCorner tipCentre{tip, tipNormal, rodPicture(last, 0)};
    for (std::int32_t k = 0; k < RodSides; ++k) {
        mesh.AddFace(tipCentre, {ring(last, k), tipNormal, rodPicture(last, k)},
                     {ring(last, k + 1), tipNormal, rodPicture(last, k + 1)});
    }
    return mesh.Finish();
}

const TMeshTable SlotMeshTable = BuildSlotMesh();
