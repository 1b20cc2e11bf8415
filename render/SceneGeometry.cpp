#include "render/SceneGeometry.h"

#include "render/Direct3D.h"
#include "render/SceneMeshes.h"

namespace {
struct TTableMesh {
    const TMeshTable& Table;
    TVector PositionScale;
    float TextureScale;
    bool Untextured; // every corner gets FixedTexCoord instead
};
constexpr TTexCoord FixedTexCoord{0, 1};

void WriteTable(TSceneVertex*& out, const TTableMesh& mesh) {
    for (const TMeshFace& face : mesh.Table.Faces) {
        for (std::int32_t c = 0; c < 3; ++c) {
            const TVector& p = mesh.Table.Vertices[face.Vertex[c]];
            const TVector& n = mesh.Table.Normals[face.Normal[c]];
            TTexCoord t = FixedTexCoord;
            if (!mesh.Untextured) {
                t = mesh.Table.TexCoords[face.TexCoord[c]];
                t = {t.u * mesh.TextureScale, t.v * mesh.TextureScale};
            }
            *out++ = {p.x * mesh.PositionScale.x,
                      p.y * mesh.PositionScale.y,
                      p.z * mesh.PositionScale.z,
                      n.x,
                      n.y,
                      n.z,
                      t.u,
                      t.v};
        }
    }
}

std::int32_t TriangleCount(const TMeshTable& table) {
    return static_cast<std::int32_t>(table.Faces.size());
}

// The table meshes between the pause quad and the digit quad, with the size and texture
// repeat each is drawn at.
std::array<TTableMesh, 6> TableMeshes() {
    return {{
        {BackgroundMeshTable, {30, 30, 80}, 5, false},
        {FieldMeshTable, {3, 3, 1}, 3, false},
        {FrameMeshTable, {3, 3, 2}, 3, false},
        {BallMeshTable, {0.2f, 0.2f, 0.2f}, 1, false},
        {SlotMeshTable, {0.6f, 0.6f, 0.6f}, 1, false},
        {LanePanelMeshTable, {1.8f, 1, 1}, 1, true},
    }};
}
} // namespace

TCollector Collector;

void TCollector::Add(std::int32_t n) {
    if (RangeCount < Capacity) {
        Ranges[RangeCount++] = {TriangleTotal, n};
    }
    TriangleTotal += n;
}

void AddQuad(TSceneVertex*& out, float hx, float hy, float z, float U, float V) {
    *out++ = {-hx, hy, z, 0, 0, 1, U, V};
    *out++ = {-hx, -hy, z, 0, 0, 1, U, 0};
    *out++ = {hx, hy, z, 0, 0, 1, 0, V};
    *out++ = {hx, hy, z, 0, 0, 1, 0, V};
    *out++ = {-hx, -hy, z, 0, 0, 1, U, 0};
    *out++ = {hx, -hy, z, 0, 0, 1, 0, 0};
}

void RegisterSceneMeshes() {
    Collector = TCollector{};
    Collector.Add(2);
    Collector.Add(2);
    for (const TTableMesh& mesh : TableMeshes()) {
        Collector.Add(TriangleCount(mesh.Table));
    }
    Collector.Add(2);
}

void WriteSceneVertices(TSceneVertex* out) {
    AddQuad(out, 1.65f, 1.65f, 0, 1, 1);
    AddQuad(out, 0.4f, 0.1f, 0.1f, 1, 1);
    for (const TTableMesh& mesh : TableMeshes()) {
        WriteTable(out, mesh);
    }
    AddQuad(out, 0.1f, 0.2f, 1, 1, 1);
}

HRESULT BuildSceneGeometry() {
    RegisterSceneMeshes();
    const UINT length = static_cast<UINT>(Collector.TriangleTotal) * 3 * sizeof(TSceneVertex);
    SceneVertexBuffer.Reset();
    HRESULT code = Direct3DDevice->CreateVertexBuffer(length, 0, SceneVertexFormat, D3DPOOL_DEFAULT,
                                                      SceneVertexBuffer.Put());
    if (Failed(code)) {
        return code;
    }
    code = Direct3DDevice->SetStreamSource(0, SceneVertexBuffer.Get(), sizeof(TSceneVertex));
    if (Failed(code)) {
        return code;
    }
    code = Direct3DDevice->SetVertexShader(SceneVertexFormat);
    if (Failed(code)) {
        return code;
    }
    BYTE* data = nullptr;
    code = SceneVertexBuffer->Lock(0, length, &data, 0);
    if (Failed(code)) {
        return code;
    }
    WriteSceneVertices(reinterpret_cast<TSceneVertex*>(data));
    return SceneVertexBuffer->Unlock();
}

void DrawMesh(TSceneMesh mesh) {
    const TMeshRange& range = Collector.Ranges[mesh];
    Direct3DDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 3 * range.FirstTriangle, range.TriangleCount);
}
