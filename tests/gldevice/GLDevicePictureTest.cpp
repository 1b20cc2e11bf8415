// What the hardware device draws: lighting, the texture stage, culling, depth and blending,
// read back pixel by pixel at the centre unless said otherwise.
#include "tests/gldevice/GLDeviceFixture.h"

#include <cmath>

namespace {

void ExpectColor(std::uint32_t pixel, double r, double g, double b) {
    constexpr int tolerance = 2; // levels: rounding of the interpolated colour
    EXPECT_NEAR(Red(pixel), Level(r), tolerance) << std::hex << pixel;
    EXPECT_NEAR(Green(pixel), Level(g), tolerance) << std::hex << pixel;
    EXPECT_NEAR(Blue(pixel), Level(b), tolerance) << std::hex << pixel;
}

D3DLIGHT8 WhiteLight(D3DLIGHTTYPE type, float ambient) {
    D3DLIGHT8 light{};
    light.Type = type;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Ambient = {ambient, ambient, ambient, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
}

} // namespace

// Guards the lighting formula: emissive + ambient x (global + light ambients) + diffuse x
// N.L, with the light's distance attenuation and its range.
TEST_F(GLDeviceTest, LitColourFollowsTheFixedFunctionFormula) {
    D3DMATERIAL8 material{};
    material.Diffuse = {0.5f, 0.25f, 0.125f, 1.0f};
    material.Ambient = {0.2f, 0.4f, 0.6f, 1.0f};
    material.Emissive = {0.05f, 0.0f, 0.0f, 0.0f};
    ASSERT_EQ(Device->SetMaterial(&material), D3D_OK);
    ASSERT_EQ(Device->SetRenderState(D3DRS_AMBIENT, 0x00333333), D3D_OK);
    const auto quad = UseVertices(*Device.Get(), ScreenQuad(0.5f));
    D3DLIGHT8 light = WhiteLight(D3DLIGHT_DIRECTIONAL, 0.1f);
    ASSERT_EQ(Device->SetLight(0, &light), D3D_OK);
    ASSERT_EQ(Device->LightEnable(0, 1), D3D_OK);
    ExpectColor(Render().At(32, 32), 0.05 + 0.2 * 0.3 + 0.5, 0.4 * 0.3 + 0.25, 0.6 * 0.3 + 0.125);

    // A point light behind the eye, equally far (sqrt 3) from every corner of the quad.
    light = WhiteLight(D3DLIGHT_POINT, 0.1f);
    light.Position = {0.0f, 0.0f, -0.5f};
    light.Range = 10.0f;
    light.Attenuation0 = 0.5f;
    light.Attenuation1 = 0.25f;
    light.Attenuation2 = 0.125f;
    ASSERT_EQ(Device->SetLight(0, &light), D3D_OK);
    const double d = std::sqrt(3.0);
    const double att = 1.0 / (0.5 + 0.25 * d + 0.125 * d * d);
    const double ambient = 0.2 + 0.1 * att;
    const double diffuse = att / d;
    ExpectColor(Render().At(32, 32), 0.05 + 0.2 * ambient + 0.5 * diffuse,
                0.4 * ambient + 0.25 * diffuse, 0.6 * ambient + 0.125 * diffuse);
    light.Range = 1.7f; // just short of the quad
    ASSERT_EQ(Device->SetLight(0, &light), D3D_OK);
    ExpectColor(Render().At(32, 32), 0.05 + 0.2 * 0.2, 0.4 * 0.2, 0.6 * 0.2);
}

// Guards NORMALIZENORMALS (a long normal brightens the diffuse term unless normalised), and
// the white of an unlit vertex without colour.
TEST_F(GLDeviceTest, NormalsAreNormalisedOnlyWhenAsked) {
    D3DMATERIAL8 material{};
    material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    ASSERT_EQ(Device->SetMaterial(&material), D3D_OK);
    const D3DLIGHT8 light = WhiteLight(D3DLIGHT_DIRECTIONAL, 0.0f);
    ASSERT_EQ(Device->SetLight(0, &light), D3D_OK);
    ASSERT_EQ(Device->LightEnable(0, 1), D3D_OK);
    std::vector<TTestVertex> quad = ScreenQuad(0.5f);
    for (TTestVertex& vertex : quad) {
        vertex.Nz = -0.25f;
    }
    const auto buffer = UseVertices(*Device.Get(), quad);
    ExpectColor(Render().At(32, 32), 0.25, 0.25, 0.25);
    ASSERT_EQ(Device->SetRenderState(D3DRS_NORMALIZENORMALS, 1), D3D_OK);
    ExpectColor(Render().At(32, 32), 1, 1, 1);
    ASSERT_EQ(Device->SetRenderState(D3DRS_NORMALIZENORMALS, 0), D3D_OK);
    ASSERT_EQ(Device->SetRenderState(D3DRS_LIGHTING, 0), D3D_OK);
    ExpectColor(Render().At(32, 32), 1, 1, 1);
}

// Guards the texture stage: select shows the texels unlit, memory row 0 at v = 0 (the top
// here) and unmirrored; modulate 2x doubles the lit colour and clamps; without a texture both
// show the lit material (a ball whose picture failed to load).
TEST_F(GLDeviceTest, TextureStageFollowsItsColourOperation) {
    const auto corners =
        MakeTexture(*Device.Get(), 2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, ~0u});
    const auto grey = MakeTexture(*Device.Get(), 1, 1, {0xFF808080});
    const auto quad = UseVertices(*Device.Get(), ScreenQuad(0.5f));
    UseSolidColor(0.25f, 0.5f, 0.75f);
    ASSERT_EQ(Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), D3D_OK);
    ASSERT_EQ(Device->SetTexture(0, corners.Get()), D3D_OK);
    const TTestFrame frame = Render();
    EXPECT_EQ(frame.At(16, 16) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(frame.At(48, 16) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(frame.At(16, 48) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(frame.At(48, 48) & 0xFFFFFF, 0xFFFFFFu);

    ASSERT_EQ(Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE2X), D3D_OK);
    ExpectColor(Render().At(48, 48), 0.5, 1, 1);
    ASSERT_EQ(Device->SetTexture(0, grey.Get()), D3D_OK);
    const double texel = 128.0 / 255.0;
    ExpectColor(Render().At(32, 32), 2 * texel * 0.25, 2 * texel * 0.5, 2 * texel * 0.75);
    ASSERT_EQ(Device->SetTexture(0, nullptr), D3D_OK);
    ExpectColor(Render().At(32, 32), 0.25, 0.5, 0.75);
}

// Guards the winding rule: CCW culls the triangles that run counter-clockwise on the screen
// (the left one here), CW the others, NONE neither.
TEST_F(GLDeviceTest, CullingRemovesTrianglesByTheirTurnOnScreen) {
    const auto triangles = UseVertices(*Device.Get(), {{-1, -1, 0.5f},
                                                       {0, -1, 0.5f},
                                                       {-0.5f, 1, 0.5f},
                                                       {0, -1, 0.5f},
                                                       {0.5f, 1, 0.5f},
                                                       {1, -1, 0.5f}});
    UseSolidColor(1, 1, 1);
    const auto drawn = [&](D3DCULL mode) {
        EXPECT_EQ(Device->SetRenderState(D3DRS_CULLMODE, mode), D3D_OK);
        const TTestFrame frame = Render();
        return std::pair{Red(frame.At(16, 48)) == 255, Red(frame.At(48, 48)) == 255};
    };
    EXPECT_EQ(drawn(D3DCULL_CCW), std::pair(false, true));
    EXPECT_EQ(drawn(D3DCULL_CW), std::pair(true, false));
    EXPECT_EQ(drawn(D3DCULL_NONE), std::pair(true, true));
}

// Guards the depth conversion and test: depth 0..1 is visible and outside it is clipped, a
// nearer or equally near draw wins (less-or-equal), and switching depth off draws in order.
TEST_F(GLDeviceTest, DepthTestKeepsTheNearestDrawInTheZeroToOneRange) {
    const auto near = UseVertices(*Device.Get(), ScreenQuad(0.3f));
    const auto far = UseVertices(*Device.Get(), ScreenQuad(0.6f));
    const auto drawAt = [&](const TComRef<IDirect3DVertexBuffer8>& quad, float r, float g) {
        ASSERT_EQ(Device->SetStreamSource(0, quad.Get(), sizeof(TTestVertex)), D3D_OK);
        UseSolidColor(r, g, 1 - r - g);
        Draw();
    };
    const auto scene = [&] {
        drawAt(near, 1, 0);
        drawAt(far, 0, 1);
    };
    ExpectColor(Render([&] {
                    scene();
                    drawAt(near, 0, 0);
                }).At(32, 32),
                0, 0, 1);
    ASSERT_EQ(Device->SetRenderState(D3DRS_ZENABLE, 0), D3D_OK);
    ExpectColor(Render(scene).At(32, 32), 0, 1, 0);
    ASSERT_EQ(Device->SetRenderState(D3DRS_ZENABLE, 1), D3D_OK);
    const auto outside = UseVertices(*Device.Get(), ScreenQuad(-0.01f));
    ExpectColor(Render().At(32, 32), 0, 0, 0);
}

// Guards source-alpha blending, with alpha from the material when no texture is bound and
// from the texture when one is.
TEST_F(GLDeviceTest, SourceAlphaBlendingMixesWithTheBackBuffer) {
    const auto quad = UseVertices(*Device.Get(), ScreenQuad(0.5f));
    constexpr D3DCOLOR blue = 0xFF0000FF;
    ASSERT_EQ(Device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA), D3D_OK);
    ASSERT_EQ(Device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA), D3D_OK);
    ASSERT_EQ(Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), D3D_OK);
    UseSolidColor(1, 1, 1, 0.25f);
    ExpectColor(Render(blue).At(32, 32), 1, 1, 1);
    ASSERT_EQ(Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1), D3D_OK);
    ExpectColor(Render(blue).At(32, 32), 0.25, 0.25, 1);
    const auto texture = MakeTexture(*Device.Get(), 1, 1, {0x80FFFFFF});
    ASSERT_EQ(Device->SetTexture(0, texture.Get()), D3D_OK);
    ExpectColor(Render(blue).At(32, 32), 128 / 255.0, 128 / 255.0, 1);
}
