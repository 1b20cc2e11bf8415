// Pixels of the reference device checked against values worked out by hand.

#include "tests/refdevice/DeviceFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr std::uint32_t Red32 = 0xFFFF0000u;
constexpr std::uint32_t Green32 = 0xFF00FF00u;
constexpr std::uint32_t Blue32 = 0xFF0000FFu;
constexpr std::uint32_t White32 = 0xFFFFFFFFu;

void ExpectColor(std::uint32_t actual, int r, int g, int b, int tolerance = 0) {
    EXPECT_NEAR(Red(actual), r, tolerance) << std::hex << actual;
    EXPECT_NEAR(Green(actual), g, tolerance) << std::hex << actual;
    EXPECT_NEAR(Blue(actual), b, tolerance) << std::hex << actual;
}

// A triangle around the screen centre whose corners all lie 2 units from the z axis, so a
// light on that axis lights them alike and every pixel gets the same colour.
std::vector<TTestVertex> RingTriangle(float z) {
    return {{0, 2, z, 0, 0, -1, 0, 0},
            {1.7320508f, -1, z, 0, 0, -1, 0, 0},
            {-1.7320508f, -1, z, 0, 0, -1, 0, 0}};
}

TEST(ReferenceDevicePixels, LitUntexturedTriangleFollowsTheFixedFunctionFormula) {
    for (const float range : {5.0f, 2.5f}) {
        auto device = MakeTestDevice(8, 8);
        BindVertices(*device.Get(), RingTriangle(0.5f));
        device->SetRenderState(D3DRS_LIGHTING, 1);
        device->SetRenderState(D3DRS_AMBIENT, 0x00333333); // 0.2
        D3DMATERIAL8 material{};
        material.Diffuse = {0.8f, 0.6f, 0.4f, 1};
        material.Ambient = {0.5f, 0.4f, 0.5f, 1};
        material.Emissive = {0.1f, 0, 0.05f, 0};
        device->SetMaterial(&material);
        D3DLIGHT8 light{};
        light.Type = D3DLIGHT_POINT;
        light.Diffuse = {1, 1, 1, 0};
        light.Ambient = {0.4f, 0.4f, 0.4f, 0};
        light.Position = {0, 0, -1.5f};
        light.Range = range;
        light.Attenuation0 = 1;
        light.Attenuation1 = 0.5f;
        light.Attenuation2 = 0.25f;
        ASSERT_EQ(device->SetLight(0, &light), D3D_OK);
        device->LightEnable(0, 1);
        DrawScene(*device.Get(), 1);

        // d = sqrt(2^2 + 2^2) = 2.828; N.L = 2 / d = 0.7071; att = 1 / (1 + 0.5d + 0.25d^2)
        // = 0.22654. Red: 0.1 + 0.5 (0.2 + 0.4 att) + 0.8 * 0.7071 att = 0.37346 -> 95.
        // Beyond the range the light adds nothing: red 0.1 + 0.5 * 0.2 = 0.2 -> 51.
        if (range > 3) {
            ExpectColor(PixelAt(*device.Get(), 4, 4), 95, 54, 66);
        } else {
            ExpectColor(PixelAt(*device.Get(), 4, 4), 51, 20, 38);
        }
    }
}

TEST(ReferenceDevicePixels, EnablingALightNeverSetGivesTheDefaultWhiteLightIntoTheScreen) {
    auto device = MakeTestDevice(4, 4);
    BindVertices(*device.Get(), FullScreenQuad(0.5f)); // facing the camera
    device->SetRenderState(D3DRS_LIGHTING, 1);
    D3DMATERIAL8 material{};
    material.Diffuse = {0.5f, 0.25f, 1, 1};
    device->SetMaterial(&material);
    ASSERT_EQ(device->LightEnable(3, 1), D3D_OK);
    DrawScene(*device.Get(), 2);
    ExpectColor(PixelAt(*device.Get(), 2, 2), 128, 64, 255);
}

TEST(ReferenceDevicePixels, TexelCentresAndRowsMapAsLocked) {
    // A 2x2 texture on a 2x2 screen puts every pixel centre on a texel centre; row 0 of the
    // locked memory is v = 0, at the bottom of this quad.
    auto device = MakeTestDevice(2, 2);
    auto texture = MakeTexture(*device.Get(), 2, 2, {Red32, Green32, Blue32, White32});
    device->SetTexture(0, texture.Get());
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    BindVertices(*device.Get(), FullScreenQuad(0.5f));
    DrawScene(*device.Get(), 2);
    EXPECT_EQ(ReadPixels(*device.Get()),
              (std::vector<std::uint32_t>{Blue32, White32, Red32, Green32}));
}

TEST(ReferenceDevicePixels, BilinearFilteringWrapsAcrossTheTextureEdge) {
    // Texels black | white, four pixels across u in [0, 1]: the outer pixels mix with the
    // texel on the far side of the texture, so every pixel is 3:1 of one and the other.
    auto device = MakeTestDevice(4, 1);
    auto texture = MakeTexture(*device.Get(), 2, 1, {0xFF000000u, White32});
    device->SetTexture(0, texture.Get());
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    BindVertices(*device.Get(), FullScreenQuad(0.5f));
    DrawScene(*device.Get(), 2);
    const auto pixels = ReadPixels(*device.Get());
    const int expected[4] = {64, 64, 191, 191}; // 63.75 and 191.25 exactly
    for (int x = 0; x < 4; ++x) {
        ExpectColor(pixels[static_cast<std::size_t>(x)], expected[x], expected[x], expected[x], 1);
    }
}

TEST(ReferenceDevicePixels, MagnifiedTrianglesUseTheMagFilterAndMinifiedOnesTheMinFilter) {
    // Texels black | white. Magnified onto four pixels, the linear filter mixes them
    // (64, 64, 191, 191); minified (u over 0..8 on four pixels), point sampling picks pure
    // texels at u = 1, 3, 5, 7: the centres of texel 0.
    for (const float u1 : {1.0f, 8.0f}) {
        auto device = MakeTestDevice(4, 1);
        auto texture = MakeTexture(*device.Get(), 2, 1, {0xFF000000u, White32});
        device->SetTexture(0, texture.Get());
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
        device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        BindVertices(*device.Get(), FullScreenQuad(0.5f, 0, u1));
        DrawScene(*device.Get(), 2);
        EXPECT_NEAR(Red(PixelAt(*device.Get(), 1, 0)), u1 > 1 ? 0 : 64, 1) << "u to " << u1;
    }
}

TEST(ReferenceDevicePixels, CoordinatesBeyondOneRepeatTheTexture) {
    for (const auto& [u0, u1] :
         {std::pair{0.0f, 2.0f}, std::pair{-1.0f, 1.0f}, std::pair{3.0f, 5.0f}}) {
        auto device = MakeTestDevice(4, 1);
        auto texture = MakeTexture(*device.Get(), 2, 1, {Red32, Green32});
        device->SetTexture(0, texture.Get());
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        BindVertices(*device.Get(), FullScreenQuad(0.5f, u0, u1));
        DrawScene(*device.Get(), 2);
        EXPECT_EQ(ReadPixels(*device.Get()),
                  (std::vector<std::uint32_t>{Red32, Green32, Red32, Green32}))
            << "u from " << u0 << " to " << u1;
    }
}

TEST(ReferenceDevicePixels, SelectTextureIgnoresLightingAndModulate2xDoublesIt) {
    auto device = MakeTestDevice(2, 2);
    auto texture = MakeTexture(*device.Get(), 1, 1, {0xFF6432C8u}); // (100, 50, 200)
    BindVertices(*device.Get(), FullScreenQuad(0.5f));
    device->SetRenderState(D3DRS_LIGHTING, 1);
    D3DMATERIAL8 material{};
    material.Emissive = {0.25f, 0.25f, 0.25f, 0}; // lit colour 64/255 with no lights
    device->SetMaterial(&material);

    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTexture(0, texture.Get());
    DrawScene(*device.Get(), 2);
    ExpectColor(PixelAt(*device.Get(), 1, 1), 100, 50, 200);

    // With no texture bound, selecting the texture gives the lit colour.
    device->SetTexture(0, nullptr);
    DrawScene(*device.Get(), 2);
    ExpectColor(PixelAt(*device.Get(), 1, 1), 64, 64, 64);

    // 2 * texel * 64/255: 50.2, 25.1, 100.4.
    device->SetTexture(0, texture.Get());
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE2X);
    DrawScene(*device.Get(), 2);
    ExpectColor(PixelAt(*device.Get(), 1, 1), 50, 25, 100);

    // Unlit vertices are white: twice the texel, clamped.
    device->SetRenderState(D3DRS_LIGHTING, 0);
    DrawScene(*device.Get(), 2);
    ExpectColor(PixelAt(*device.Get(), 1, 1), 200, 100, 255);
}

TEST(ReferenceDevicePixels, CullModeDropsOnlyTheNamedWinding) {
    // On screen (y up in clip space): top, bottom right, bottom left runs clockwise.
    const TTestVertex top{0, 1, 0.5f, 0, 0, -1, 0, 0};
    const TTestVertex right{1, -1, 0.5f, 0, 0, -1, 0, 0};
    const TTestVertex left{-1, -1, 0.5f, 0, 0, -1, 0, 0};
    struct TCase {
        std::vector<TTestVertex> Corners;
        DWORD Cull;
        bool Drawn;
    };
    const TCase cases[] = {{{top, right, left}, D3DCULL_CCW, true},
                           {{top, left, right}, D3DCULL_CCW, false},
                           {{top, left, right}, D3DCULL_NONE, true},
                           {{top, left, right}, D3DCULL_CW, true},
                           {{top, right, left}, D3DCULL_CW, false}};
    for (const TCase& c : cases) {
        auto device = MakeTestDevice(8, 8);
        BindVertices(*device.Get(), c.Corners);
        device->SetRenderState(D3DRS_CULLMODE, c.Cull);
        DrawScene(*device.Get(), 1, 0xFF000000u);
        EXPECT_EQ(PixelAt(*device.Get(), 4, 5) == White32, c.Drawn) << "cull mode " << c.Cull;
    }
}

TEST(ReferenceDevicePixels, NearerSurfaceWinsWhateverTheOrder) {
    auto device = MakeTestDevice(4, 4);
    auto red = MakeTexture(*device.Get(), 1, 1, {Red32});
    auto blue = MakeTexture(*device.Get(), 1, 1, {Blue32});
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    std::vector<TTestVertex> quads = FullScreenQuad(0.3f);
    const std::vector<TTestVertex> far = FullScreenQuad(0.7f);
    quads.insert(quads.end(), far.begin(), far.end());
    BindVertices(*device.Get(), quads);

    for (const bool nearFirst : {true, false}) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        device->BeginScene();
        device->SetTexture(0, red.Get());
        device->DrawPrimitive(D3DPT_TRIANGLELIST, nearFirst ? 0 : 6, 2);
        device->SetTexture(0, blue.Get());
        device->DrawPrimitive(D3DPT_TRIANGLELIST, nearFirst ? 6 : 0, 2);
        device->EndScene();
        EXPECT_EQ(PixelAt(*device.Get(), 2, 2), nearFirst ? Red32 : Blue32);
    }

    // Without the depth test the last draw wins.
    device->SetRenderState(D3DRS_ZENABLE, 0);
    device->BeginScene();
    device->SetTexture(0, red.Get());
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
    device->SetTexture(0, blue.Get());
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 6, 2);
    device->EndScene();
    EXPECT_EQ(PixelAt(*device.Get(), 2, 2), Blue32);
}

TEST(ReferenceDevicePixels, HalfTransparentTexelBlendsWithWhatIsBehind) {
    auto device = MakeTestDevice(2, 2);
    auto texture = MakeTexture(*device.Get(), 1, 1, {0x80FF0000u}); // red, alpha 128
    device->SetTexture(0, texture.Get());
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    BindVertices(*device.Get(), FullScreenQuad(0.5f));
    DrawScene(*device.Get(), 2, Blue32);
    // 255 * 128/255 over 255 * 127/255.
    ExpectColor(PixelAt(*device.Get(), 0, 0), 128, 0, 127);
}

// A projection with w = z: clip x, y are camera x, y; camera z maps 1 -> 0 and 10 -> 1.
D3DMATRIX PerspectiveNear1Far10() {
    D3DMATRIX m{};
    m._11 = m._22 = 1;
    m._33 = 10.0f / 9.0f;
    m._34 = 1;
    m._43 = -10.0f / 9.0f;
    return m;
}

TEST(ReferenceDevicePixels, NothingBehindTheCameraIsDrawn) {
    // A floor 1 unit below the eye, from 2 units ahead to 5 behind. Its visible part runs
    // from the near plane (the bottom edge, y/z = -1) to y/z = -1/2: the lowest quarter of
    // the screen. Projected without clipping, the part behind would show in the upper half.
    auto device = MakeTestDevice(16, 16);
    const D3DMATRIX projection = PerspectiveNear1Far10();
    device->SetTransform(D3DTS_PROJECTION, &projection);
    BindVertices(
        *device.Get(),
        {{-1, -1, 2, 0, 1, 0, 0, 0}, {1, -1, 2, 0, 1, 0, 0, 0}, {0, -1, -5, 0, 1, 0, 0, 0}});
    DrawScene(*device.Get(), 1, 0xFF000000u);
    const auto pixels = ReadPixels(*device.Get());
    for (std::size_t y = 0; y < 12; ++y) {
        for (std::size_t x = 0; x < 16; ++x) {
            ASSERT_EQ(pixels[y * 16 + x], 0xFF000000u) << x << "," << y;
        }
    }
    EXPECT_EQ(pixels[14 * 16 + 8], White32); // y = -0.81: between the near plane and z = 2

    // Between the eye and the near plane nothing is drawn either.
    BindVertices(*device.Get(), {{-1, 1, 0.5f, 0, 0, -1, 0, 0},
                                 {1, -1, 0.5f, 0, 0, -1, 0, 0},
                                 {-1, -1, 0.5f, 0, 0, -1, 0, 0}});
    DrawScene(*device.Get(), 1, 0xFF000000u);
    for (const std::uint32_t pixel : ReadPixels(*device.Get())) {
        ASSERT_EQ(pixel, 0xFF000000u);
    }
}

TEST(ReferenceDevicePixels, PixelCentresOnSharedEdgesAreDrawnOnceByTheTopLeftRule) {
    // A square from pixel 0.5 to 3.5 split along its diagonal: centres lie exactly on all of
    // its edges. Adding blending counts the draws: the top and left edges keep their
    // centres, the bottom and right ones do not, and the diagonal's go to one triangle.
    auto device = MakeTestDevice(4, 4);
    device->SetRenderState(D3DRS_LIGHTING, 1);
    D3DMATERIAL8 material{};
    material.Emissive = {0.25f, 0.25f, 0.25f, 0};
    material.Diffuse.a = 1;
    device->SetMaterial(&material);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_ZENABLE, 0);
    const TTestVertex topLeft{-0.75f, 0.75f, 0.5f, 0, 0, -1, 0, 0};
    const TTestVertex topRight{0.75f, 0.75f, 0.5f, 0, 0, -1, 0, 0};
    const TTestVertex bottomLeft{-0.75f, -0.75f, 0.5f, 0, 0, -1, 0, 0};
    const TTestVertex bottomRight{0.75f, -0.75f, 0.5f, 0, 0, -1, 0, 0};
    BindVertices(*device.Get(), {topLeft, topRight, bottomRight, topLeft, bottomRight, bottomLeft});
    DrawScene(*device.Get(), 2, 0xFF000000u);
    const auto pixels = ReadPixels(*device.Get());
    for (std::size_t y = 0; y < 4; ++y) {
        for (std::size_t x = 0; x < 4; ++x) {
            EXPECT_EQ(Red(pixels[y * 4 + x]), x < 3 && y < 3 ? 64 : 0) << x << "," << y;
        }
    }
}

TEST(ReferenceDevicePixels, TexturesArePerspectiveCorrect) {
    // A wall from x = -1 at depth 1 to x = 3 at depth 3 fills the screen; at the centre of
    // pixel 4 of 8 (x/z = 0.125) it is 0.3 of the way along, so u = 0.3, where a flat
    // interpolation would give 0.5625.
    auto device = MakeTestDevice(8, 8);
    const D3DMATRIX projection = PerspectiveNear1Far10();
    device->SetTransform(D3DTS_PROJECTION, &projection);
    std::vector<std::uint32_t> ramp(256);
    for (std::uint32_t i = 0; i < 256; ++i) {
        ramp[i] = 0xFF000000u | (i << 16);
    }
    auto texture = MakeTexture(*device.Get(), 256, 1, ramp);
    device->SetTexture(0, texture.Get());
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    const TTestVertex nearTop{-1, 1, 1, 0, 0, -1, 0, 0};
    const TTestVertex nearBottom{-1, -1, 1, 0, 0, -1, 0, 0};
    const TTestVertex farTop{3, 3, 3, 0, 0, -1, 1, 0};
    const TTestVertex farBottom{3, -3, 3, 0, 0, -1, 1, 0};
    BindVertices(*device.Get(), {nearTop, farTop, nearBottom, nearBottom, farTop, farBottom});
    DrawScene(*device.Get(), 2);
    EXPECT_NEAR(Red(PixelAt(*device.Get(), 4, 4)), 76, 1); // texel floor(0.3 * 256)
}

} // namespace
