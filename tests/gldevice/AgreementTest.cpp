// The two devices agree: one scene in the game's states (lights, culling, depth, filtered and
// wrapped textures, modulate 2x, blending), drawn by the hardware and by the reference device,
// compared pixel by pixel.
#include "math/Math3D.h"
#include "tests/gldevice/GLTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

struct TTestMeshRange {
    UINT First;
    UINT Triangles;
};

using TMesh = std::vector<TTestVertex>;

TTestVertex Vertex(const TVector& p, const TVector& n, float u, float v) {
    return {p.x, p.y, p.z, n.x, n.y, n.z, u, v};
}

TTestMeshRange Range(const TMesh& mesh, std::size_t firstVertex) {
    return {static_cast<UINT>(firstVertex / 3), static_cast<UINT>((mesh.size() - firstVertex) / 3)};
}

// A square of half-size `half` at height z facing +z, its texture repeated `repeat` times.
TTestMeshRange AddFloor(TMesh& mesh, float half, float z, float repeat) {
    const std::size_t first = mesh.size();
    const auto corner = [&](float sx, float sy) {
        mesh.push_back(Vertex({sx * half, sy * half, z}, {0, 0, 1}, (sx + 1) / 2 * repeat,
                              (1 - sy) / 2 * repeat));
    };
    corner(-1, -1), corner(1, -1), corner(1, 1), corner(-1, -1), corner(1, 1), corner(-1, 1);
    return Range(mesh, first);
}

// Latitude and longitude rings; corners run counter-clockwise about the outward normal.
TTestMeshRange AddSphere(TMesh& mesh, TVector centre, float radius, int rings, int segments) {
    const std::size_t first = mesh.size();
    const auto point = [&](int ring, int segment) {
        const double theta = std::numbers::pi * ring / rings;
        const double phi = 2 * std::numbers::pi * segment / segments;
        const TVector n = MakeVector(static_cast<float>(std::sin(theta) * std::cos(phi)),
                                     static_cast<float>(std::sin(theta) * std::sin(phi)),
                                     static_cast<float>(std::cos(theta)));
        return Vertex(VectorAdd(centre, VectorScale(n, radius)), n,
                      2.0f * static_cast<float>(segment) / static_cast<float>(segments),
                      static_cast<float>(ring) / static_cast<float>(rings));
    };
    for (int i = 0; i < rings; ++i) {
        for (int j = 0; j < segments; ++j) {
            mesh.insert(mesh.end(), {point(i, j), point(i + 1, j), point(i, j + 1), point(i, j + 1),
                                     point(i + 1, j), point(i + 1, j + 1)});
        }
    }
    return Range(mesh, first);
}

// A smooth colourful pattern, so that filtering differences show as small level differences;
// with `fading`, alpha falls from the middle outwards.
std::vector<std::uint32_t> PatternTexels(UINT size, bool fading) {
    std::vector<std::uint32_t> texels;
    const auto level = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255)); };
    for (UINT y = 0; y < size; ++y) {
        for (UINT x = 0; x < size; ++x) {
            const double fx = (x + 0.5) / size;
            const double fy = (y + 0.5) / size;
            const double alpha = std::clamp(1 - 2 * std::hypot(fx - 0.5, fy - 0.5), 0.0, 1.0);
            texels.push_back(PackColor(
                level(fading ? alpha : 1.0), level(0.5 + 0.5 * std::sin(2 * std::numbers::pi * fx)),
                level(0.5 + 0.5 * std::cos(2 * std::numbers::pi * fy)), level(fx * fy)));
        }
    }
    return texels;
}

// Sets the scene up as the game does, draws one frame and reads it back.
TTestFrame DrawScene(IDirect3DDevice8& device) {
    TMesh mesh;
    const TTestMeshRange floor = AddFloor(mesh, 1.5f, 0.0f, 3.0f);
    const TTestMeshRange dome = AddSphere(mesh, {0.6f, 0.3f, 0.0f}, 0.25f, 6, 12);
    const TTestMeshRange ball = AddSphere(mesh, {-0.5f, -0.4f, 0.25f}, 0.2f, 10, 20);
    const TTestMeshRange label = AddFloor(mesh, 0.3f, 0.5f, 1.0f);
    const auto buffer = UseVertices(device, mesh);
    const auto pattern = MakeTexture(device, 32, 32, PatternTexels(32, false));
    const auto fading = MakeTexture(device, 16, 16, PatternTexels(16, true));
    const std::pair<D3DRENDERSTATETYPE, DWORD> states[] = {{D3DRS_CULLMODE, D3DCULL_CCW},
                                                           {D3DRS_NORMALIZENORMALS, 1},
                                                           {D3DRS_AMBIENT, 0x00666666},
                                                           {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
                                                           {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}};
    for (const auto& [state, value] : states) {
        device.SetRenderState(state, value);
    }
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    const D3DLIGHT8 light0 = PointLight(0.41f, {0.6f, 0.3f, 0.5f}, 1.3f, 0.0f);
    const D3DLIGHT8 light1 = PointLight(0.4f, {0.6f, 0.6f, 1.0f}, 5.0f, 0.2f);
    device.SetLight(0, &light0);
    device.SetLight(1, &light1);
    device.LightEnable(0, 1);
    TMatrix view{};
    TMatrix projection{};
    EXPECT_EQ(BuildViewMatrix({0.8f, -2.0f, 1.8f}, {0, 0, 0}, {0, 0, 1}, view), D3D_OK);
    EXPECT_EQ(BuildProjectionMatrix(1.0f, 1.0f, 0.01f, 200.0f, projection), D3D_OK);
    device.SetTransform(D3DTS_VIEW, &view);
    device.SetTransform(D3DTS_PROJECTION, &projection);

    const auto draw = [&](const TTestMeshRange& range, IDirect3DTexture8* texture) {
        device.SetTexture(0, texture);
        EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, range.First * 3, range.Triangles),
                  D3D_OK);
    };
    const TMaterial white = InitMaterial(1, 1, 1, 1, 5);
    const TMaterial orange = InitMaterial(120 / 255.0f, 40 / 255.0f, 0, 0, 5);
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x005F97FF, 1, 0);
    device.BeginScene();
    device.SetMaterial(&white);
    draw(floor, pattern.Get());
    device.SetMaterial(&orange);
    draw(dome, nullptr);
    // The balls: ambient off, light 1 alone, texture times twice the lighting.
    device.SetRenderState(D3DRS_AMBIENT, 0);
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE2X);
    device.LightEnable(0, 0);
    device.LightEnable(1, 1);
    device.SetMaterial(&white);
    draw(ball, pattern.Get());
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    draw(label, fading.Get());
    device.EndScene();
    return ReadFrame(device);
}

} // namespace

// Guards the hardware device against drifting from the reference picture on every state the
// game uses.
TEST(DeviceAgreement, HardwareAndReferenceDrawTheSameScene) {
    if (!HasOpenGLDisplay()) {
        GTEST_SKIP() << NoDisplayReason;
    }
    const auto window = ShowDeviceWidget(256, 256);
    TComRef<IDirect3DDevice8> hardware;
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_HAL, GameParameters(window.get()), hardware.Put()), D3D_OK);
    const TTestFrame drawn = DrawScene(*hardware.Get());
    D3DPRESENT_PARAMETERS params = GameParameters(nullptr);
    params.BackBufferWidth = drawn.Width;
    params.BackBufferHeight = drawn.Height;
    TComRef<IDirect3DDevice8> reference;
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_REF, params, reference.Put()), D3D_OK);
    const TTestFrame expected = DrawScene(*reference.Get());
    EXPECT_TRUE(PicturesAgree(drawn.Pixels, expected.Pixels));
}
