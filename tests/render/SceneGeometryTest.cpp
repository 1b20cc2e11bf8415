#include "render/SceneGeometry.h"
#include "math/Math3D.h"
#include "render/SceneMeshes.h"
#include "render/ScenePlacements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {
std::vector<TSceneVertex> SceneVertices() {
    RegisterSceneMeshes();
    std::vector<TSceneVertex> vertices(static_cast<std::size_t>(Collector.TriangleTotal) * 3);
    WriteSceneVertices(vertices.data());
    return vertices;
}

// The vertices of one range of the buffer.
std::vector<TSceneVertex> RangeOf(const std::vector<TSceneVertex>& all, TSceneMesh mesh) {
    const TMeshRange& range = Collector.Ranges[mesh];
    const auto first = all.begin() + 3 * range.FirstTriangle;
    return {first, first + 3 * range.TriangleCount};
}

TVector At(const TSceneVertex& v) {
    return {v.x, v.y, v.z};
}

TVector Transform(const TVector& p, const TMatrix& m) {
    return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41,
            p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
            p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
}

struct TExpectedTable {
    const char* Name;
    const TMeshTable& Table;
    std::size_t Faces, Vertices, Normals, TexCoords;
};
} // namespace

// Guards the buffer layout every draw call depends on: the nine ranges follow each other
// without gap or overlap and fill the buffer exactly, so no mesh reads another's triangles.
TEST(SceneGeometry, RegistersTheNineRangesBackToBack) {
    const std::vector<TSceneVertex> vertices = SceneVertices();
    ASSERT_EQ(Collector.RangeCount, SceneMeshCount);
    std::int32_t first = 0;
    for (std::int32_t k = 0; k < SceneMeshCount; ++k) {
        EXPECT_EQ(Collector.Ranges[k].FirstTriangle, first) << "range " << k;
        EXPECT_GT(Collector.Ranges[k].TriangleCount, 0) << "range " << k;
        first += Collector.Ranges[k].TriangleCount;
    }
    EXPECT_EQ(Collector.TriangleTotal, first);
    EXPECT_EQ(vertices.size(), static_cast<std::size_t>(first) * 3);
}

// Guards the tables' shape: counts, indices inside their tables, every entry used, unit
// normals. A bad index reads past a table while the buffer is filled.
TEST(SceneGeometry, MeshTablesHaveTheirCountsAndOnlyValidUsedEntries) {
    const TExpectedTable tables[] = {
        {"drum", BackgroundMeshTable, 48, 26, 25, 39}, {"field", FieldMeshTable, 16, 16, 1, 16},
        {"rim", FrameMeshTable, 32, 16, 6, 32},        {"ball", BallMeshTable, 180, 92, 116, 114},
        {"slot", SlotMeshTable, 62, 33, 58, 48},       {"lane", LanePanelMeshTable, 76, 40, 39, 0},
    };
    for (const TExpectedTable& expected : tables) {
        SCOPED_TRACE(expected.Name);
        const TMeshTable& table = expected.Table;
        EXPECT_EQ(table.Faces.size(), expected.Faces);
        EXPECT_EQ(table.Vertices.size(), expected.Vertices);
        EXPECT_EQ(table.Normals.size(), expected.Normals);
        EXPECT_EQ(table.TexCoords.size(), expected.TexCoords);
        std::vector<bool> vertexUsed(table.Vertices.size());
        std::vector<bool> normalUsed(table.Normals.size());
        std::vector<bool> texCoordUsed(table.TexCoords.size());
        for (const TMeshFace& face : table.Faces) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_LT(static_cast<std::size_t>(face.Vertex[c]), table.Vertices.size());
                ASSERT_LT(static_cast<std::size_t>(face.Normal[c]), table.Normals.size());
                vertexUsed[face.Vertex[c]] = true;
                normalUsed[face.Normal[c]] = true;
                if (table.TexCoords.empty()) {
                    EXPECT_EQ(face.TexCoord[c], NoTexCoord);
                } else {
                    ASSERT_LT(static_cast<std::size_t>(face.TexCoord[c]), table.TexCoords.size());
                    texCoordUsed[face.TexCoord[c]] = true;
                }
            }
        }
        EXPECT_EQ(std::count(vertexUsed.begin(), vertexUsed.end(), false), 0);
        EXPECT_EQ(std::count(normalUsed.begin(), normalUsed.end(), false), 0);
        EXPECT_EQ(std::count(texCoordUsed.begin(), texCoordUsed.end(), false), 0);
        for (const TVector& normal : table.Normals) {
            EXPECT_NEAR(VectorLength(normal), 1.0, 1e-5);
        }
    }
}

// Guards culling: a triangle wound the wrong way vanishes from the screen. Also catches
// degenerate triangles, which the rasteriser would drop.
TEST(SceneGeometry, EveryTriangleRunsCounterClockwiseAboutItsNormal) {
    const std::vector<TSceneVertex> vertices = SceneVertices();
    for (std::size_t t = 0; t < vertices.size() / 3; ++t) {
        const TSceneVertex* corner = &vertices[3 * t];
        const TVector turn = VectorCross(VectorSubtract(At(corner[1]), At(corner[0])),
                                         VectorSubtract(At(corner[2]), At(corner[0])));
        TVector normal{0, 0, 0};
        for (int c = 0; c < 3; ++c) {
            normal = VectorAdd(normal, {corner[c].nx, corner[c].ny, corner[c].nz});
        }
        EXPECT_GT(VectorLength(turn), 1e-7f) << "triangle " << t;
        EXPECT_GT(VectorDot(turn, normal), 0) << "triangle " << t;
    }
}

// Guards holes and cracks: every edge of a closed mesh is shared by exactly two faces that
// run along it in opposite directions.
TEST(SceneGeometry, DrumRimBallSlotAndLaneAreClosedSurfaces) {
    for (const TMeshTable* table : {&BackgroundMeshTable, &FrameMeshTable, &BallMeshTable,
                                    &SlotMeshTable, &LanePanelMeshTable}) {
        SCOPED_TRACE(table->Vertices.size());
        std::map<std::pair<std::int32_t, std::int32_t>, int> edges;
        for (const TMeshFace& face : table->Faces) {
            for (int c = 0; c < 3; ++c) {
                ++edges[{face.Vertex[c], face.Vertex[(c + 1) % 3]}];
            }
        }
        for (const auto& [edge, count] : edges) {
            EXPECT_EQ(count, 1) << "edge " << edge.first << "-" << edge.second;
            EXPECT_EQ(edges.count({edge.second, edge.first}), 1u)
                << "open edge " << edge.first << "-" << edge.second;
        }
    }
}

TEST(SceneGeometry, FieldLiesFlatAroundAnOpenPitAndTheBallIsRound) {
    const std::vector<TSceneVertex> vertices = SceneVertices();
    const std::vector<TSceneVertex> field = RangeOf(vertices, FieldMesh);
    for (std::size_t t = 0; t < field.size() / 3; ++t) {
        TVector centre{0, 0, 0};
        for (int c = 0; c < 3; ++c) {
            const TSceneVertex& v = field[3 * t + c];
            EXPECT_FLOAT_EQ(v.z, 0);
            EXPECT_FALSE(std::fabs(v.x) < 0.45f - 1e-6f && std::fabs(v.y) < 0.45f - 1e-6f);
            EXPECT_LE(std::fabs(v.x), 1.5f);
            centre = VectorAdd(centre, At(v));
        }
        centre = VectorScale(centre, 1.0f / 3);
        EXPECT_FALSE(std::fabs(centre.x) < 0.45f && std::fabs(centre.y) < 0.45f)
            << "a triangle covers the pit";
    }
    for (const TSceneVertex& v : RangeOf(vertices, BallMesh)) {
        EXPECT_NEAR(VectorLength(At(v)), 0.1, 1e-6);
        // The picture wraps each half once: no corner reaches far past its edges.
        EXPECT_TRUE(v.u > -0.25f && v.u < 1.25f && v.v > -1e-6f && v.v < 1 + 1e-6f)
            << v.u << "," << v.v;
    }
    EXPECT_FLOAT_EQ(BallMeshTable.Vertices.front().z, 0.5f);
    EXPECT_FLOAT_EQ(FieldMeshTable.Vertices.front().x, -0.5f);
    EXPECT_FLOAT_EQ(FieldMeshTable.Vertices.front().y, -0.5f);
}

// Guards the panels' placement: each must climb from the pit to the edge of its own lane.
TEST(SceneGeometry, LanePanelsRiseToTheFieldEdgeOfTheirLanes) {
    const std::vector<TSceneVertex> vertices = SceneVertices();
    const std::vector<TSceneVertex> lane = RangeOf(vertices, LanePanelMesh);
    float top = -1, farTop = -1, nearTop = -1;
    for (const TSceneVertex& v : lane) {
        top = std::max(top, v.z);
        farTop = v.y == 0.5f ? std::max(farTop, v.z) : farTop;
        nearTop = v.y == -0.5f ? std::max(nearTop, v.z) : nearTop;
    }
    EXPECT_FLOAT_EQ(farTop, top);
    EXPECT_FLOAT_EQ(top, 0.25f);
    EXPECT_FLOAT_EQ(nearTop, -0.15f);

    InitScenePlacements();
    const TVector outward[] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    for (int k = 0; k < LanePanelCount; ++k) {
        const TVector highEnd = Transform({0, 0.5f, 0}, LanePanelMatrices[k]);
        const TVector lowEnd = Transform({0, -0.5f, 0}, LanePanelMatrices[k]);
        EXPECT_NEAR(VectorDot(highEnd, outward[k]), 1.5, 1e-5) << "panel " << k;
        EXPECT_NEAR(VectorDot(lowEnd, outward[k]), 0.5, 1e-5) << "panel " << k;
    }
    EXPECT_NEAR(LanePanelMaterials[2].Diffuse.r, 1.0, 1e-6); // yellow on lane 0 (+y)

    // The pit's rim: shrunk to +-0.495, reaching from z -0.25 to 0.05.
    const TVector corner = Transform({1.5f, 1.5f, 0.1f}, PitFrameMatrix);
    EXPECT_NEAR(corner.x, 0.495, 1e-5);
    EXPECT_NEAR(corner.z, 0.05, 1e-5);
    EXPECT_NEAR(Transform({0, 0, 0}, PitFrameMatrix).z, -0.25, 1e-6);
}
