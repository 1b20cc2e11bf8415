// The two devices agree: one scene in the game's states (lights, culling, depth, filtered and
// wrapped textures, modulate 2x, blending), drawn by the hardware and by the reference device,
// compared pixel by pixel.
#include "platform/d3d/reference/ReferenceDevice.h"
#include "render/Math3D.h"
#include "tests/gldevice/GLTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

constexpr int SceneSize = 256;
// At most this many levels apart in every channel ...
constexpr int ChannelTolerance = 4;
// ... on all but this share of the pixels: the fringe along edges, where the two rasterisers
// may round a pixel centre to different sides of an edge.
constexpr double FringeShare = 0.005;

struct TMeshRange {
    UINT First;
    UINT Triangles;
};

class TSceneBuilder {
public:
    std::vector<TTestVertex> Vertices;

    // A parallelogram around `centre` spanned by ±u and ±v, facing u x v, with texture
    // coordinates 0..repeat over it.
    TMeshRange Quad(TVector centre, TVector u, TVector v, float repeat) {
        const UINT first = Begin();
        const TVector normal =
            VectorScale(VectorCross(u, v), 1.0f / VectorLength(VectorCross(u, v)));
        const auto corner = [&](float su, float sv) {
            const TVector p = VectorAdd(centre, VectorAdd(VectorScale(u, su), VectorScale(v, sv)));
            Vertices.push_back({p.x, p.y, p.z, normal.x, normal.y, normal.z, (su + 1) / 2 * repeat,
                                (1 - sv) / 2 * repeat});
        };
        corner(-1, -1), corner(1, -1), corner(1, 1);
        corner(-1, -1), corner(1, 1), corner(-1, 1);
        return End(first);
    }

    TMeshRange Box(TVector centre, float half) {
        const UINT first = Begin();
        const TVector axes[3] = {{half, 0, 0}, {0, half, 0}, {0, 0, half}};
        for (int a = 0; a < 3; ++a) {
            const TVector& n = axes[a];
            const TVector& u = axes[(a + 1) % 3];
            const TVector& v = axes[(a + 2) % 3];
            Quad(VectorAdd(centre, n), u, v, 1);
            Quad(VectorSubtract(centre, n), v, u, 1);
        }
        return End(first);
    }

    // Latitude and longitude rings; corners run counter-clockwise about the outward normal.
    TMeshRange Sphere(TVector centre, float radius, int rings, int segments) {
        const UINT first = Begin();
        const auto point = [&](int ring, int segment) {
            const double theta = std::numbers::pi * ring / rings;
            const double phi = 2 * std::numbers::pi * segment / segments;
            const TVector n = MakeVector(static_cast<float>(std::sin(theta) * std::cos(phi)),
                                         static_cast<float>(std::sin(theta) * std::sin(phi)),
                                         static_cast<float>(std::cos(theta)));
            const TVector p = VectorAdd(centre, VectorScale(n, radius));
            return TTestVertex{p.x,
                               p.y,
                               p.z,
                               n.x,
                               n.y,
                               n.z,
                               static_cast<float>(segment) / segments * 2,
                               static_cast<float>(ring) / rings};
        };
        for (int i = 0; i < rings; ++i) {
            for (int j = 0; j < segments; ++j) {
                Vertices.insert(Vertices.end(),
                                {point(i, j), point(i + 1, j), point(i, j + 1), point(i, j + 1),
                                 point(i + 1, j), point(i + 1, j + 1)});
            }
        }
        return End(first);
    }

private:
    UINT Begin() const { return static_cast<UINT>(Vertices.size() / 3); }
    TMeshRange End(UINT first) const { return {first, Begin() - first}; }
};

// A smooth colourful pattern, so that filtering differences show as small level differences.
std::vector<std::uint32_t> PatternTexels(UINT size, bool radialAlpha) {
    std::vector<std::uint32_t> texels;
    for (UINT y = 0; y < size; ++y) {
        for (UINT x = 0; x < size; ++x) {
            const double fx = (x + 0.5) / size;
            const double fy = (y + 0.5) / size;
            const auto level = [](double v) {
                return static_cast<std::uint8_t>(std::lround(v * 255));
            };
            const double r = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * fx);
            const double g = 0.5 + 0.5 * std::cos(2 * std::numbers::pi * fy);
            const double b = fx * fy;
            const double distance = std::hypot(fx - 0.5, fy - 0.5) * 2;
            const double a = radialAlpha ? std::clamp(1 - distance, 0.0, 1.0) : 1.0;
            texels.push_back(PackColor(level(a), level(r), level(g), level(b)));
        }
    }
    return texels;
}

D3DLIGHT8 PointLight(float level, TVector position, float range, float attenuation1) {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = light.Specular = light.Ambient = {level, level, level, 0.0f};
    light.Position = position;
    light.Range = range;
    light.Attenuation0 = 1.0f;
    light.Attenuation1 = attenuation1;
    return light;
}

// Sets the scene up as the game does and draws one frame; returns the frame read back.
TTestFrame DrawScene(IDirect3DDevice8& device) {
    TSceneBuilder scene;
    const TMeshRange floor = scene.Quad({0, 0, 0}, {1.5f, 0, 0}, {0, 1.5f, 0}, 3);
    const TMeshRange box = scene.Box({0.6f, 0.3f, 0.15f}, 0.15f);
    const TMeshRange ball = scene.Sphere({-0.5f, -0.4f, 0.25f}, 0.2f, 10, 20);
    const TMeshRange label = scene.Quad({0.1f, -0.2f, 0.5f}, {0.3f, 0, 0}, {0, 0.2f, 0}, 1);
    const auto buffer = UseVertices(device, scene.Vertices);
    const auto pattern = MakeTexture(device, 32, 32, PatternTexels(32, false));
    const auto translucent = MakeTexture(device, 16, 16, PatternTexels(16, true));

    device.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device.SetRenderState(D3DRS_ZENABLE, 1);
    device.SetRenderState(D3DRS_NORMALIZENORMALS, 1);
    device.SetRenderState(D3DRS_AMBIENT, 0x00666666);
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
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
    device.SetTransform(D3DTS_WORLD, &IdentityMatrix);

    const auto draw = [&](const TMeshRange& mesh) {
        EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, mesh.First * 3, mesh.Triangles), D3D_OK);
    };
    EXPECT_EQ(device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x005F97FF, 1, 0),
              D3D_OK);
    EXPECT_EQ(device.BeginScene(), D3D_OK);
    const TMaterial white = InitMaterial(1, 1, 1, 1, 5);
    const TMaterial orange = InitMaterial(120 / 255.0f, 40 / 255.0f, 0, 0, 5);
    device.SetMaterial(&white);
    device.SetTexture(0, pattern.Get());
    draw(floor);
    device.SetTexture(0, nullptr);
    device.SetMaterial(&orange);
    draw(box);

    device.SetRenderState(D3DRS_AMBIENT, 0);
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE2X);
    device.LightEnable(0, 0);
    device.LightEnable(1, 1);
    device.SetMaterial(&white);
    device.SetTexture(0, pattern.Get());
    draw(ball);
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device.SetTexture(0, translucent.Get());
    draw(label);
    EXPECT_EQ(device.EndScene(), D3D_OK);
    return ReadFrame(device);
}

int ChannelDifference(std::uint32_t a, std::uint32_t b) {
    return std::max(
        {std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)), std::abs(Blue(a) - Blue(b))});
}

} // namespace

// Guards the hardware device against drifting from the reference picture: at most 4 levels
// apart per channel on at least 99.5% of the pixels.
TEST(DeviceAgreement, HardwareAndReferenceDrawTheSameScene) {
    if (!HasOpenGLDisplay()) {
        GTEST_SKIP() << NoDisplayReason;
    }
    const auto window = ShowDeviceWidget(SceneSize, SceneSize);
    TComRef<IDirect3DDevice8> hardware;
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_HAL, GameParameters(window.get()), hardware.Put()), D3D_OK);
    const TTestFrame drawn = DrawScene(*hardware.Get());

    D3DPRESENT_PARAMETERS params = GameParameters(nullptr);
    params.BackBufferWidth = drawn.Width;
    params.BackBufferHeight = drawn.Height;
    TComRef<IDirect3DDevice8> reference;
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_REF, params, reference.Put()), D3D_OK);
    const TTestFrame expected = DrawScene(*reference.Get());
    ASSERT_EQ(expected.Pixels.size(), drawn.Pixels.size());

    std::size_t apart = 0;
    int worst = 0;
    for (std::size_t i = 0; i < drawn.Pixels.size(); ++i) {
        const int difference = ChannelDifference(drawn.Pixels[i], expected.Pixels[i]);
        apart += difference > ChannelTolerance ? 1 : 0;
        worst = std::max(worst, difference);
    }
    const double share = static_cast<double>(apart) / static_cast<double>(drawn.Pixels.size());
    EXPECT_LE(share, FringeShare) << apart << " pixels differ by more than " << ChannelTolerance
                                  << " levels; the worst by " << worst;
}
