#include "bench/render/StandInScene.h"

#include "math/Math3D.h"
#include "tests/refdevice/DeviceTestKit.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

struct TVertex {
    float X, Y, Z, Nx, Ny, Nz, U, V;
};

using TMesh = std::vector<TVertex>;

void AddTriangle(TMesh& mesh, const TVertex& a, const TVertex& b, const TVertex& c) {
    mesh.insert(mesh.end(), {a, b, c});
}

// A closed n-sided drum about z: radius r, z in [-h, h]; 4n triangles.
TMesh MakeDrum(int sides, float r, float h, float textureScale) {
    TMesh mesh;
    for (int i = 0; i < sides; ++i) {
        const float a0 = 2 * std::numbers::pi_v<float> * i / sides;
        const float a1 = 2 * std::numbers::pi_v<float> * (i + 1) / sides;
        const float x0 = r * std::cos(a0), y0 = r * std::sin(a0);
        const float x1 = r * std::cos(a1), y1 = r * std::sin(a1);
        const float u0 = textureScale * i / sides, u1 = textureScale * (i + 1) / sides;
        const TVertex bottom0{x0, y0, -h, x0, y0, 0, u0, 0};
        const TVertex bottom1{x1, y1, -h, x1, y1, 0, u1, 0};
        const TVertex top0{x0, y0, h, x0, y0, 0, u0, textureScale};
        const TVertex top1{x1, y1, h, x1, y1, 0, u1, textureScale};
        AddTriangle(mesh, bottom0, bottom1, top1);
        AddTriangle(mesh, bottom0, top1, top0);
        AddTriangle(mesh, {0, 0, -h, 0, 0, -1, 0, 0}, {x1, y1, -h, 0, 0, -1, x1, y1},
                    {x0, y0, -h, 0, 0, -1, x0, y0});
        AddTriangle(mesh, {0, 0, h, 0, 0, 1, 0, 0}, {x0, y0, h, 0, 0, 1, x0, y0},
                    {x1, y1, h, 0, 0, 1, x1, y1});
    }
    return mesh;
}

// A flat grid of columns x rows cells facing +z over [x0, x1] x [y0, y1], skipping the cell
// `hole` (-1 for none); two triangles a cell.
TMesh MakeGrid(int columns, int rows, float x0, float x1, float y0, float y1, float z,
               float textureScale, int hole = -1) {
    TMesh mesh;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (row * columns + column == hole) {
                continue;
            }
            auto corner = [&](int c, int r) {
                const float s = static_cast<float>(c) / columns, t = static_cast<float>(r) / rows;
                return TVertex{x0 + (x1 - x0) * s,     y0 + (y1 - y0) * t, z, 0, 0, 1,
                               textureScale * (1 - s), textureScale * t};
            };
            AddTriangle(mesh, corner(column, row), corner(column + 1, row + 1),
                        corner(column, row + 1));
            AddTriangle(mesh, corner(column, row), corner(column + 1, row),
                        corner(column + 1, row + 1));
        }
    }
    return mesh;
}

// The rim: a square ring between half-widths `inner` and `outer`, `height` high; 32
// triangles (top and bottom faces, outer and inner walls).
TMesh MakeRim(float inner, float outer, float height) {
    TMesh mesh;
    for (int side = 0; side < 4; ++side) {
        const float angle = std::numbers::pi_v<float> / 2 * side;
        const float c = std::cos(angle), s = std::sin(angle);
        auto place = [&](float x, float y, float z, float nx, float ny, float nz, float u,
                         float v) {
            return TVertex{
                x * c - y * s, x * s + y * c, z, nx * c - ny * s, nx * s + ny * c, nz, u, v};
        };
        for (const float z : {height, 0.0f}) {
            const float nz = z > 0 ? 1.0f : -1.0f;
            const TVertex a = place(-outer, outer, z, 0, 0, nz, 0, 0);
            const TVertex b = place(outer, outer, z, 0, 0, nz, 3, 0);
            const TVertex d = place(-inner, inner, z, 0, 0, nz, 0, 0.15f);
            const TVertex e = place(inner, inner, z, 0, 0, nz, 3, 0.15f);
            AddTriangle(mesh, a, b, e);
            AddTriangle(mesh, a, e, d);
        }
        for (const float w : {outer, inner}) {
            const float ny = w == outer ? 1.0f : -1.0f;
            const TVertex a = place(-w, w, 0, 0, ny, 0, 0, 0);
            const TVertex b = place(w, w, 0, 0, ny, 0, 3, 0);
            const TVertex d = place(-w, w, height, 0, ny, 0, 0, 0.1f);
            const TVertex e = place(w, w, height, 0, ny, 0, 3, 0.1f);
            AddTriangle(mesh, a, b, e);
            AddTriangle(mesh, a, e, d);
        }
    }
    return mesh;
}

// A sphere of radius r from an icosahedron with every edge cut in three: 180 triangles.
TMesh MakeBall(float r) {
    const float t = (1 + std::sqrt(5.0f)) / 2;
    const float corners[12][3] = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0},
                                  {0, -1, t}, {0, 1, t}, {0, -1, -t}, {0, 1, -t},
                                  {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    const int faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                              {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                              {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                              {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    auto point = [&](const int(&face)[3], float i, float j) {
        float p[3];
        for (int k = 0; k < 3; ++k) {
            const float* a = corners[face[0]];
            const float* b = corners[face[1]];
            const float* c = corners[face[2]];
            p[k] = a[k] + (b[k] - a[k]) * i / 3 + (c[k] - a[k]) * j / 3;
        }
        const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        const float nx = p[0] / length, ny = p[1] / length, nz = p[2] / length;
        return TVertex{nx * r,
                       ny * r,
                       nz * r,
                       nx,
                       ny,
                       nz,
                       0.5f + std::atan2(ny, nx) / (2 * std::numbers::pi_v<float>),
                       0.5f + nz / 2};
    };
    TMesh mesh;
    for (const auto& face : faces) {
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; i + j < 3; ++j) {
                AddTriangle(mesh, point(face, i, j), point(face, i + 1, j), point(face, i, j + 1));
                if (i + j < 2) {
                    AddTriangle(mesh, point(face, i + 1, j), point(face, i + 1, j + 1),
                                point(face, i, j + 1));
                }
            }
        }
    }
    return mesh;
}

TComRef<IDirect3DTexture8> MakeTexture(IDirect3DDevice8& device, UINT size, bool masked,
                                       std::uint32_t tint) {
    TComRef<IDirect3DTexture8> texture;
    device.CreateTexture(size, size, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Put());
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    for (UINT y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(locked.pBits) +
                                                     static_cast<std::size_t>(y) * locked.Pitch);
        for (UINT x = 0; x < size; ++x) {
            const std::uint32_t check = ((x / 16 + y / 16) % 2) ? 0xFF : 0x80;
            const std::uint32_t alpha = masked ? (((x / 4) % 2) ? 0xFFu : 0x00u) : 0xFFu;
            row[x] = (alpha << 24) | ((check * ((tint >> 16) & 0xFF) / 255) << 16) |
                     ((check * ((tint >> 8) & 0xFF) / 255) << 8) | (check * (tint & 0xFF) / 255);
        }
    }
    texture->UnlockRect(0);
    return texture;
}

} // namespace

TStandInScene::TStandInScene(IDirect3DDevice8& device, bool drumTurns)
    : Device(device), DrumTurns(drumTurns) {
    TMesh all;
    auto add = [&all](const TMesh& mesh) {
        const TRange range{static_cast<UINT>(all.size()), static_cast<UINT>(mesh.size() / 3)};
        all.insert(all.end(), mesh.begin(), mesh.end());
        return range;
    };
    TMesh drum = MakeDrum(12, 0.5f, 0.25f, 5);
    for (TVertex& v : drum) {
        v.X *= 30;
        v.Y *= 30;
        v.Z *= 80;
    }
    Drum = add(drum);
    Board = add(MakeGrid(3, 3, -1.5f, 1.5f, -1.5f, 1.5f, 0, 3, 4));
    Rim = add(MakeRim(1.35f, 1.5f, 0.1f));
    Ball = add(MakeBall(0.1f));
    Slot = add(MakeGrid(31, 1, -0.15f, 0.15f, -0.3f, 0.3f, 0.05f, 1));
    Panel = add(MakeGrid(2, 19, -0.13f, 0.13f, -0.5f, 0.5f, 0, 1));
    Digit = add(MakeGrid(1, 1, -0.1f, 0.1f, -0.2f, 0.2f, 1, 1));

    const auto bytes = static_cast<UINT>(all.size() * sizeof(TVertex));
    device.CreateVertexBuffer(bytes, 0, 0x112, D3DPOOL_DEFAULT, Vertices.Put());
    BYTE* data = nullptr;
    Vertices->Lock(0, bytes, &data, 0);
    std::memcpy(data, all.data(), bytes);
    Vertices->Unlock();
    device.SetStreamSource(0, Vertices.Get(), sizeof(TVertex));
    device.SetVertexShader(0x112);

    DrumTexture = MakeTexture(device, 256, false, 0x00C0A080);
    BoardTexture = MakeTexture(device, 256, false, 0x0080C080);
    RimTexture = MakeTexture(device, 128, false, 0x00A0A0A0);
    BallTexture = MakeTexture(device, 128, false, 0x00FF8040);
    DigitTexture = MakeTexture(device, 32, true, 0x00FFFFFF);

    device.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device.SetRenderState(D3DRS_ZENABLE, 1);
    device.SetRenderState(D3DRS_NORMALIZENORMALS, 1);
    device.SetRenderState(D3DRS_LIGHTING, 1);
    device.SetRenderState(D3DRS_AMBIENT, 0x00666666);
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    const D3DLIGHT8 light0 = PointLight(0.41f, {0, 0, 0.2f}, 1.3f, 0);
    const D3DLIGHT8 light1 = PointLight(0.4f, {0.6f, 0.6f, 1.0f}, 5, 0.2f);
    device.SetLight(0, &light0);
    device.SetLight(1, &light1);
    device.LightEnable(0, 1);
    device.LightEnable(1, 0);

    BuildViewMatrix(MakeVector(0, -2.3f, 2), MakeVector(0, 0, 0), MakeVector(0, 0, 1), View);
    BuildProjectionMatrix(1, 1, 0.01f, 200, Projection);
}

HRESULT TStandInScene::DrawFrame() {
    IDirect3DDevice8& d = Device;
    if (const HRESULT code =
            d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x005F97FF, 1.0f, 0);
        Failed(code)) {
        return code;
    }
    if (const HRESULT code = d.BeginScene(); Failed(code)) {
        return code;
    }
    auto draw = [&d](const TRange& range) {
        d.DrawPrimitive(D3DPT_TRIANGLELIST, range.FirstVertex, range.Triangles);
    };
    auto place = [&d](const TMatrix& world) { d.SetTransform(D3DTS_WORLD, &world); };
    const TMaterial ballMaterial = InitMaterial(1, 1, 1, 1, 15);
    const TMaterial slotMaterial = InitMaterial(0.8f, 0.8f, 0.9f, 1, 15);
    d.SetTransform(D3DTS_VIEW, &View);
    d.SetTransform(D3DTS_PROJECTION, &Projection);

    d.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d.SetMaterial(&ballMaterial);
    d.SetTexture(0, DrumTexture.Get());
    place(ComposeObjectMatrix(MakeVector(1, 1, 1), MakeVector(0, 0, 0),
                              MakeVector(0, 1.8479956f, 0.3f + DrumTurn)));
    draw(Drum);
    if (DrumTurns) {
        constexpr float TurnPerFrame = 0.001f;
        DrumTurn += TurnPerFrame;
    }
    d.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    place(IdentityMatrix);
    d.SetTexture(0, BoardTexture.Get());
    draw(Board);
    d.SetTexture(0, RimTexture.Get());
    draw(Rim);
    place(ComposeObjectMatrix(MakeVector(0.33f, 0.33f, 3), MakeVector(0, 0, -0.25f),
                              MakeVector(0, 0, 0)));
    draw(Rim);

    d.SetRenderState(D3DRS_AMBIENT, 0);
    d.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE2X);
    d.LightEnable(0, 0);
    d.LightEnable(1, 1);
    d.SetTexture(0, BallTexture.Get());
    for (int i = 0; i < 4; ++i) {
        place(ComposeObjectMatrix(MakeVector(1, 1, 1),
                                  MakeVector(0.9f - 0.6f * i, 0.3f * (i % 2 ? 1 : -1), 0.3f),
                                  MakeVector(0.2f * i, 0, 0.5f * i)));
        draw(Ball);
    }
    d.SetRenderState(D3DRS_AMBIENT, 0x00666666);
    d.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d.LightEnable(0, 1);
    d.LightEnable(1, 0);
    d.SetTexture(0, nullptr);
    d.SetMaterial(&slotMaterial);
    place(IdentityMatrix);
    draw(Slot);

    d.SetTexture(0, DigitTexture.Get());
    d.SetMaterial(&ballMaterial);
    for (int i = 0; i < 4; ++i) {
        d.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
        place(ComposeObjectMatrix(MakeVector(0.5f, 0.5f, 0),
                                  MakeVector(1.3f - 0.1f * i, 1.25f, 0.5f),
                                  MakeVector(-0.6f, 0, 0)));
        draw(Digit);
        d.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    }
    d.SetTexture(0, nullptr);

    const float panelAngles[4] = {-std::numbers::pi_v<float> / 2, std::numbers::pi_v<float> / 2, 0,
                                  std::numbers::pi_v<float>};
    const D3DVECTOR panelPlaces[4] = {{1, 0, 0.05f}, {-1, 0, 0.05f}, {0, 1, 0.05f}, {0, -1, 0.05f}};
    for (int k = 0; k < 4; ++k) {
        const TMaterial panel = InitMaterial(0.2f * k, 0.5f, 1 - 0.2f * k, 0, 15);
        d.SetMaterial(&panel);
        place(ComposeObjectMatrix(MakeVector(1.2f, 1, 1), panelPlaces[k],
                                  MakeVector(0, 0, panelAngles[k])));
        draw(Panel);
    }
    if (const HRESULT code = d.EndScene(); Failed(code)) {
        return code;
    }
    return d.Present(nullptr, nullptr, nullptr, nullptr);
}
