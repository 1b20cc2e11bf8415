#include "render/SceneMeshes.h"

#include "math/Math3D.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <utility>

namespace {
constexpr float BallRadius = 0.5f;
constexpr std::int32_t Divisions = 3; // each icosahedron edge is cut in three

TVector OnSphere(const TVector& direction) {
    return VectorScale(direction, BallRadius / VectorLength(direction));
}

TVector Blend(const TVector& a, const TVector& b, const TVector& c, std::int32_t i,
              std::int32_t j) {
    const float wa = static_cast<float>(i) / Divisions;
    const float wb = static_cast<float>(j) / Divisions;
    const float wc = 1 - wa - wb;
    return OnSphere(
        VectorAdd(VectorScale(a, wa), VectorAdd(VectorScale(b, wb), VectorScale(c, wc))));
}

// The icosahedron with a corner at each pole, the upper ring of five from angle 0 and the
// lower ring turned by half a step.
struct TIcosahedron {
    std::array<TVector, 12> Corners;
    std::array<std::array<std::int32_t, 3>, 20> Faces;
};

TIcosahedron MakeIcosahedron() {
    TIcosahedron shape{};
    const double ringHeight = 1 / std::sqrt(5.0);
    const double ringRadius = 2 / std::sqrt(5.0);
    shape.Corners[0] = {0, 0, 1};
    for (std::int32_t k = 0; k < 5; ++k) {
        const double upper = 2 * std::numbers::pi * k / 5;
        const double lower = upper + std::numbers::pi / 5;
        shape.Corners[1 + k] = {static_cast<float>(ringRadius * std::cos(upper)),
                                static_cast<float>(ringRadius * std::sin(upper)),
                                static_cast<float>(ringHeight)};
        shape.Corners[6 + k] = {static_cast<float>(ringRadius * std::cos(lower)),
                                static_cast<float>(ringRadius * std::sin(lower)),
                                static_cast<float>(-ringHeight)};
    }
    shape.Corners[11] = {0, 0, -1};
    for (std::int32_t k = 0; k < 5; ++k) {
        const std::int32_t upper = 1 + k, nextUpper = 1 + (k + 1) % 5;
        const std::int32_t lower = 6 + k, nextLower = 6 + (k + 1) % 5;
        shape.Faces[4 * k] = {0, upper, nextUpper};
        shape.Faces[4 * k + 1] = {upper, lower, nextUpper};
        shape.Faces[4 * k + 2] = {nextUpper, lower, nextLower};
        shape.Faces[4 * k + 3] = {11, nextLower, lower};
    }
    return shape;
}

// Shares the points of the subdivided surface: corners, the two inner points of each edge
// and the centre of each face each become one vertex.
class TSubdivision {
public:
    explicit TSubdivision(TMeshBuilder& mesh) : Mesh(mesh) {}

    std::int32_t Point(const TIcosahedron& shape, std::int32_t face, std::int32_t i,
                       std::int32_t j) {
        const auto& corners = shape.Faces[face];
        const std::int32_t k = Divisions - i - j;
        // On an edge (one weight 0) the point belongs to both faces of the edge; key it by
        // the two corners and the weight of the lower-numbered one.
        std::array<std::pair<std::int32_t, std::int32_t>, 3> weights{
            {{corners[0], i}, {corners[1], j}, {corners[2], k}}};
        std::array<std::pair<std::int32_t, std::int32_t>, 3> used{};
        std::int32_t count = 0;
        for (const auto& weight : weights) {
            if (weight.second > 0) {
                used[count++] = weight;
            }
        }
        std::array<std::int32_t, 4> key{-1, -1, -1, -1};
        if (count == 1) {
            key = {used[0].first, -1, -1, -1};
        } else if (count == 2) {
            if (used[0].first > used[1].first) {
                std::swap(used[0], used[1]);
            }
            key = {used[0].first, used[1].first, used[0].second, -1};
        } else {
            key = {-1, -1, -1, face};
        }
        const auto [entry, added] = Points.try_emplace(key, 0);
        if (added) {
            entry->second =
                Mesh.AddVertex(Blend(shape.Corners[corners[0]], shape.Corners[corners[1]],
                                     shape.Corners[corners[2]], i, j));
        }
        return entry->second;
    }

private:
    TMeshBuilder& Mesh;
    std::map<std::array<std::int32_t, 4>, std::int32_t> Points;
};

bool IsPole(const TVector& p) {
    return std::fabs(std::fabs(p.z) - BallRadius) < 1e-6f;
}
} // namespace

// The ball's picture is printed twice, once on each half (x > 0 and x < 0): across a half it
// spans 180 degrees of longitude from left to right as the half is seen from outside, and
// from the south pole to the north pole, so the square picture keeps its proportions at the
// equator. A triangle belongs to the half its centre lies in; vertices used by both halves
// get an entry in each. Normals are the smooth sphere normals, one per vertex and half, and
// at each pole one per fan triangle on the side where two of them meet the pole (116 in
// all), so every entry of the table is used.
TMeshTable BuildBallMesh() {
    const TIcosahedron shape = MakeIcosahedron();
    TMeshBuilder mesh;
    TSubdivision points(mesh);
    points.Point(shape, 0, Divisions, 0); // the vertex table starts at the north pole

    struct TSmallFace {
        std::array<std::int32_t, 3> Vertex;
    };
    std::vector<TSmallFace> faces;
    for (std::int32_t face = 0; face < 20; ++face) {
        for (std::int32_t i = 0; i < Divisions; ++i) {
            for (std::int32_t j = 0; j < Divisions - i; ++j) {
                faces.push_back(
                    {{points.Point(shape, face, i + 1, j), points.Point(shape, face, i, j + 1),
                      points.Point(shape, face, i, j)}});
                if (i + j < Divisions - 1) {
                    faces.push_back({{points.Point(shape, face, i + 1, j),
                                      points.Point(shape, face, i + 1, j + 1),
                                      points.Point(shape, face, i, j + 1)}});
                }
            }
        }
    }

    const auto centreOf = [&](const TSmallFace& face) {
        return VectorAdd(mesh.Vertex(face.Vertex[0]),
                         VectorAdd(mesh.Vertex(face.Vertex[1]), mesh.Vertex(face.Vertex[2])));
    };
    // Fan triangles of each pole per half, to find the side where two of them meet.
    std::map<std::pair<std::int32_t, bool>, std::int32_t> poleFans;
    for (const TSmallFace& face : faces) {
        for (std::int32_t vertex : face.Vertex) {
            if (IsPole(mesh.Vertex(vertex))) {
                ++poleFans[{vertex, centreOf(face).x > 0}];
            }
        }
    }

    for (std::int32_t index = 0; index < static_cast<std::int32_t>(faces.size()); ++index) {
        const TSmallFace& face = faces[index];
        const bool front = centreOf(face).x > 0;
        const float facing = front ? 1.0f : -1.0f;
        std::array<TMeshCorner, 3> corners{};
        for (std::int32_t c = 0; c < 3; ++c) {
            const std::int32_t vertex = face.Vertex[c];
            const TVector& p = mesh.Vertex(vertex);
            // Seen from outside this half, screen-right is -y on the front and +y on the back;
            // the poles take the middle of the picture's top and bottom rows.
            const double across = IsPole(p) ? 0 : std::atan2(-facing * p.y, facing * p.x);
            const double up = std::asin(std::clamp(p.z / BallRadius, -1.0f, 1.0f));
            const TTexCoord coordinate{static_cast<float>(0.5 + across / std::numbers::pi),
                                       static_cast<float>(0.5 + up / std::numbers::pi)};
            std::int32_t normalKey = front ? 0 : 1;
            if (IsPole(p) && poleFans[{vertex, front}] == 2) {
                normalKey = 2 + index;
            }
            corners[c] = {vertex, mesh.Normal({vertex, normalKey}, p),
                          mesh.TexCoord({vertex, front ? 0 : 1}, coordinate)};
        }
        mesh.AddFace(corners[0], corners[1], corners[2]);
    }
    return mesh.Finish();
}

const TMeshTable BallMeshTable = BuildBallMesh();
