#pragma once
// All geometry of the game in one vertex buffer, built once at load time: three generated
// quads and the six mesh tables, each a range of triangles that one draw call covers.

#include "platform/interfaces/D3D8.h"

#include <array>
#include <cstdint>

// The ranges in registry and buffer order.
enum TSceneMesh : std::int32_t {
    PictureQuad,    // the full-window pictures
    PauseQuad,      // the pause banner
    BackgroundMesh, // the spinning drum
    FieldMesh,
    FrameMesh, // the rim, drawn twice
    BallMesh,
    SlotMesh, // the slot and the life icons
    LanePanelMesh,
    DigitQuad, // every score digit
    SceneMeshCount
};

struct TMeshRange {
    std::int32_t FirstTriangle;
    std::int32_t TriangleCount;
};

// The registry of mesh ranges.
class TCollector {
public:
    static constexpr std::int32_t Capacity = 100;

    // Registers the next n triangles as one range. The scene needs nine; a range past
    // Capacity is not recorded.
    void Add(std::int32_t n);

    std::int32_t RangeCount = 0;
    std::int32_t TriangleTotal = 0;
    std::array<TMeshRange, Capacity> Ranges{};
};

// Filled by BuildSceneGeometry during loading; read by the frame drawing.
extern TCollector Collector;

// One vertex of the buffer: position, normal, texture coordinates.
struct TSceneVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
static_assert(sizeof(TSceneVertex) == 32);
constexpr DWORD SceneVertexFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

// Writes the six vertices of a quad of half sizes hx by hy at height z facing +z, with u
// running from U at -x to 0 at +x and v from 0 at -y to V at +y; advances `out`.
void AddQuad(TSceneVertex*& out, float hx, float hy, float z, float U, float V);

// Fills `Collector` afresh with the nine ranges, in buffer order.
void RegisterSceneMeshes();
// Writes every vertex of the scene, in the order of the registered ranges, to `out`, which
// has room for Collector.TriangleTotal * 3 vertices.
void WriteSceneVertices(TSceneVertex* out);

// Registers the ranges, creates SceneVertexBuffer on Direct3DDevice, binds it as stream 0
// with the scene's vertex format for all later drawing, and fills it. Returns the first
// failing code, or the code of the final unlock.
HRESULT BuildSceneGeometry();

// Draws one range as a triangle list from SceneVertexBuffer on Direct3DDevice.
void DrawMesh(TSceneMesh mesh);
