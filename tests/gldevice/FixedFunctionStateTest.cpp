// The device state without OpenGL: which settings are refused, and what the shader is told.
#include "platform/d3d/opengl/ShaderConstants.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

D3DLIGHT8 PointLight() {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Range = 5.0f;
    light.Attenuation0 = 1.0f;
    return light;
}

} // namespace

// Guards against values the shader cannot honour slipping into the state: each refusal
// answers INVALIDCALL and leaves the previous value in place.
TEST(FixedFunctionState, RefusesStatesItCannotDrawAndKeepsThePreviousValue) {
    TFixedFunctionState state(true);
    EXPECT_TRUE(state.RenderStates().DepthEnable);
    EXPECT_EQ(state.SetRenderState(D3DRS_CULLMODE, 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetRenderState(D3DRS_ZENABLE, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetRenderState(D3DRS_SRCBLEND, 3), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetRenderState(static_cast<D3DRENDERSTATETYPE>(8), 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.RenderStates().CullMode, D3DCULL_CCW);
    EXPECT_EQ(state.RenderStates().SourceBlend, D3DBLEND_ONE);

    EXPECT_EQ(state.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetTextureStageState(0, D3DTSS_COLOROP, 6), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetTextureStageState(0, D3DTSS_COLORARG1, 3), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_NONE), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetTextureStageState(0, D3DTSS_ADDRESSU, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.Stage().ColorOp, D3DTOP_MODULATE);
    EXPECT_EQ(state.Stage().MagFilter, D3DTEXF_POINT);

    D3DMATRIX matrix{};
    EXPECT_EQ(state.SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(257), &matrix),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetTransform(D3DTS_WORLD, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetMaterial(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(TFixedFunctionState(false).RenderStates().DepthEnable, false);
}

// Guards the light checks that keep the shader from dividing by zero or lighting with a
// direction of no length.
TEST(FixedFunctionState, RefusesLightsThatCannotShine) {
    TFixedFunctionState state(true);
    EXPECT_EQ(state.SetLight(0, nullptr), D3DERR_INVALIDCALL);
    D3DLIGHT8 light = PointLight();
    light.Attenuation0 = 0.0f;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL);
    light = PointLight();
    light.Attenuation1 = -1.0f;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL);
    light = PointLight();
    light.Range = -1.0f;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL);
    light = PointLight();
    light.Type = D3DLIGHT_DIRECTIONAL;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL); // no direction
    light = PointLight();
    light.Type = D3DLIGHT_SPOT;
    light.Direction = {0, 0, 1};
    light.Theta = 1.0f;
    light.Phi = 0.5f; // inner cone wider than the outer
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL);
    light.Phi = std::numbers::pi_v<float>;
    EXPECT_EQ(state.SetLight(0, &light), D3D_OK);
}

// Guards the active-light list: at most eight lights, an unset light enabled gets the white
// directional default, disabling removes only that light, and setting an enabled light
// changes what shines.
TEST(FixedFunctionState, KeepsUpToEightActiveLights) {
    TFixedFunctionState state(true);
    for (DWORD index = 0; index < MaxActiveLights; ++index) {
        ASSERT_EQ(state.LightEnable(index * 100, 1), D3D_OK);
    }
    EXPECT_EQ(state.LightEnable(999, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.LightEnable(0, 1), D3D_OK); // already on: nothing added
    EXPECT_EQ(state.ActiveLightCount(), MaxActiveLights);
    EXPECT_EQ(state.ActiveLight(0).Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(state.ActiveLight(0).Diffuse.r, 1.0f);

    EXPECT_EQ(state.LightEnable(300, 0), D3D_OK);
    EXPECT_EQ(state.LightEnable(300, 0), D3D_OK);
    EXPECT_EQ(state.ActiveLightCount(), MaxActiveLights - 1);
    const D3DLIGHT8 light = PointLight();
    ASSERT_EQ(state.SetLight(0, &light), D3D_OK);
    ASSERT_EQ(state.SetLight(12345, &light), D3D_OK); // a new entry must not move the others
    bool found = false;
    for (DWORD i = 0; i < state.ActiveLightCount(); ++i) {
        found = found || state.ActiveLight(i).Type == D3DLIGHT_POINT;
    }
    EXPECT_TRUE(found);
}

// Guards the missing-texture rule and the disabled stage, which both pass the lit diffuse
// colour through instead of reading a texture that is not there.
TEST(ShaderConstants, StageWithoutItsTexturePassesTheLitDiffuse) {
    TTextureStage stage;
    stage.ColorOp = D3DTOP_MODULATE2X;
    EXPECT_EQ(EffectiveColorOperation(stage, true).Op, D3DTOP_MODULATE2X);
    const TStageOperation missing = EffectiveColorOperation(stage, false);
    EXPECT_EQ(missing.Op, D3DTOP_SELECTARG1);
    EXPECT_EQ(missing.Arg1, D3DTA_DIFFUSE);
    stage.ColorArg1 = D3DTA_DIFFUSE;
    stage.ColorOp = D3DTOP_SELECTARG1;
    stage.ColorArg2 = D3DTA_TEXTURE; // not read by select-arg-1
    EXPECT_EQ(EffectiveColorOperation(stage, false).Arg1, D3DTA_DIFFUSE);
    EXPECT_EQ(EffectiveColorOperation(stage, false).Op, D3DTOP_SELECTARG1);

    stage.ColorOp = D3DTOP_DISABLE;
    EXPECT_EQ(EffectiveAlphaOperation(stage, true).Arg1, D3DTA_DIFFUSE);
}

// Guards the normal transform: the inverse transpose keeps normals perpendicular under
// uneven scale, and a scale that flattens an axis (the score digits) still gives a direction.
TEST(ShaderConstants, NormalMatrixSurvivesUnevenAndFlatScales) {
    D3DMATRIX scale{};
    scale._11 = 2.0f;
    scale._22 = 1.0f;
    scale._33 = 0.5f;
    scale._44 = 1.0f;
    D3DMATRIX normal = NormalMatrixOf(scale);
    EXPECT_FLOAT_EQ(normal._11, 0.5f);
    EXPECT_FLOAT_EQ(normal._33, 2.0f);

    scale._33 = 0.0f;
    normal = NormalMatrixOf(scale);
    EXPECT_FLOAT_EQ(normal._11, 0.0f);
    EXPECT_GT(normal._33, 0.0f); // (0, 0, 1) keeps pointing along +z
}

// Guards the light set-up: positions and directions reach the shader in camera space, and
// only enabled lights, and none while lighting is off, are counted.
TEST(ShaderConstants, LightsAreHandedOverInCameraSpace) {
    TFixedFunctionState state(true);
    D3DMATRIX view{};
    view._11 = view._22 = view._33 = view._44 = 1.0f;
    view._41 = 1.0f;  // the world moves one unit along +x
    view._22 = -1.0f; // and y flips
    ASSERT_EQ(state.SetTransform(D3DTS_VIEW, &view), D3D_OK);
    D3DLIGHT8 light = PointLight();
    light.Position = {0.0f, 2.0f, 3.0f};
    light.Direction = {0.0f, 4.0f, 0.0f};
    ASSERT_EQ(state.SetLight(1, &light), D3D_OK);
    ASSERT_EQ(state.LightEnable(1, 1), D3D_OK);

    TShaderConstants constants{};
    BuildShaderConstants(state, false, constants);
    EXPECT_EQ(constants.ColorStage[0], 1);
    EXPECT_FLOAT_EQ(constants.Lights[0].PositionType[0], 1.0f);
    EXPECT_FLOAT_EQ(constants.Lights[0].PositionType[1], -2.0f);
    EXPECT_FLOAT_EQ(constants.Lights[0].PositionType[3], static_cast<float>(D3DLIGHT_POINT));
    EXPECT_FLOAT_EQ(constants.Lights[0].Direction[1], -1.0f);

    ASSERT_EQ(state.SetRenderState(D3DRS_LIGHTING, 0), D3D_OK);
    BuildShaderConstants(state, false, constants);
    EXPECT_EQ(constants.ColorStage[0], 0);
}
