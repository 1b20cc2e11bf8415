#include "render/SceneMeshes.h"

#include <array>

namespace {
// The field's grid lines on x and y, and where the picture meets them.
constexpr std::array<float, 4> FieldGrid{-0.5f, -0.15f, 0.15f, 0.5f};
constexpr std::array<float, 4> FieldPicture{0, 0.35f, 0.65f, 1};

constexpr float RimOuter = 0.5f;
constexpr float RimInner = 0.45f;
constexpr float RimHeight = 0.05f;
// Corner k of a square, counter-clockwise from (-, -); wall k runs from corner k to k + 1
// and faces Outward[k].
constexpr std::array<std::array<float, 2>, 4> CornerSigns{{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}};
constexpr std::array<TVector, 4> Outward{{{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}};

// Normal and texture-coordinate groups of the rim.
enum : std::int32_t { TopFace, BottomFace, OuterWall, InnerWall };

// World +x shows on the left of the screen, so a picture seen from above runs its u
// against x to read unmirrored; seen from below it runs with x.
TTexCoord FromAbove(float x, float y) {
    return {0.5f - x, 0.5f + y};
}
TTexCoord FromBelow(float x, float y) {
    return {0.5f + x, 0.5f + y};
}
} // namespace

// Vertex j * 4 + i sits at (FieldGrid[i], FieldGrid[j]); the eight outer cells of the 3 by 3
// grid are two triangles each, the centre cell stays open for the pit.
TMeshTable BuildFieldMesh() {
    TMeshBuilder mesh;
    for (float y : FieldGrid) {
        for (float x : FieldGrid) {
            mesh.AddVertex({x, y, 0});
        }
    }
    const std::int32_t up = mesh.Normal({0, 0}, {0, 0, 1});
    const auto corner = [&](std::int32_t i, std::int32_t j) {
        const std::int32_t vertex = j * 4 + i;
        return TMeshCorner{vertex, up,
                           mesh.TexCoord({vertex, 0}, {1 - FieldPicture[i], FieldPicture[j]})};
    };
    for (std::int32_t j = 0; j < 3; ++j) {
        for (std::int32_t i = 0; i < 3; ++i) {
            if (i == 1 && j == 1) {
                continue;
            }
            mesh.AddFace(corner(i, j), corner(i + 1, j), corner(i + 1, j + 1));
            mesh.AddFace(corner(i, j), corner(i + 1, j + 1), corner(i, j + 1));
        }
    }
    return mesh.Finish();
}

// Vertices: outer bottom 0-3, outer top 4-7, inner bottom 8-11, inner top 12-15, each four
// in corner order. The picture lies on the top seen from above and folds over both edges
// down the walls, so it runs on without a break; the bottom has its own.
TMeshTable BuildFrameMesh() {
    TMeshBuilder mesh;
    for (float half : {RimOuter, RimInner}) {
        for (float z : {0.0f, RimHeight}) {
            for (const auto& sign : CornerSigns) {
                mesh.AddVertex({sign[0] * half, sign[1] * half, z});
            }
        }
    }
    const auto vertex = [](bool inner, bool high, std::int32_t k) {
        return (inner ? 8 : 0) + (high ? 4 : 0) + k % 4;
    };
    const std::int32_t up = mesh.Normal({TopFace, 0}, {0, 0, 1});
    const std::int32_t down = mesh.Normal({BottomFace, 0}, {0, 0, -1});
    const auto wallNormal = [&](std::int32_t direction) {
        return mesh.Normal({OuterWall, direction % 4}, Outward[direction % 4]);
    };
    const auto flat = [&](bool inner, bool high, std::int32_t k) {
        const std::int32_t v = vertex(inner, high, k);
        const TVector& p = mesh.Vertex(v);
        const TTexCoord coordinate = high ? FromAbove(p.x, p.y) : FromBelow(p.x, p.y);
        return TMeshCorner{v, high ? up : down,
                           mesh.TexCoord({high ? TopFace : BottomFace, v}, coordinate)};
    };
    // A wall's foot continues the top's picture, pushed away from the top by the wall's height.
    const auto wall = [&](bool inner, bool high, std::int32_t wallIndex, std::int32_t k) {
        const std::int32_t v = vertex(inner, high, k);
        const std::int32_t normal = wallNormal(inner ? wallIndex + 2 : wallIndex);
        if (high) {
            return TMeshCorner{v, normal, flat(inner, true, k).TexCoord};
        }
        const TVector& p = mesh.Vertex(v);
        const TVector& away = Outward[inner ? (wallIndex + 2) % 4 : wallIndex];
        const std::int32_t group = inner ? InnerWall : OuterWall;
        const std::int32_t key = wallIndex * 2 + (k == wallIndex ? 0 : 1);
        return TMeshCorner{v, normal,
                           mesh.TexCoord({group, key}, FromAbove(p.x + away.x * RimHeight,
                                                                 p.y + away.y * RimHeight))};
    };

    for (std::int32_t k = 0; k < 4; ++k) {
        mesh.AddFace(flat(false, true, k), flat(false, true, k + 1), flat(true, true, k + 1));
        mesh.AddFace(flat(false, true, k), flat(true, true, k + 1), flat(true, true, k));
    }
    for (std::int32_t k = 0; k < 4; ++k) {
        mesh.AddFace(flat(false, false, k), flat(true, false, k + 1), flat(false, false, k + 1));
        mesh.AddFace(flat(false, false, k), flat(true, false, k), flat(true, false, k + 1));
    }
    for (bool inner : {false, true}) {
        for (std::int32_t k = 0; k < 4; ++k) {
            const TMeshCorner lowHere = wall(inner, false, k, k);
            const TMeshCorner lowNext = wall(inner, false, k, k + 1);
            const TMeshCorner highHere = wall(inner, true, k, k);
            const TMeshCorner highNext = wall(inner, true, k, k + 1);
            mesh.AddFace(lowHere, lowNext, highNext);
            mesh.AddFace(lowHere, highNext, highHere);
        }
    }
    return mesh.Finish();
}

const TMeshTable FieldMeshTable = BuildFieldMesh();
const TMeshTable FrameMeshTable = BuildFrameMesh();
