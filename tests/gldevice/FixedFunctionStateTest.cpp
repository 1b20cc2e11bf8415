// The device state without OpenGL: which settings are refused, and the normal transform.
#include "platform/d3d/opengl/ShaderConstants.h"

#include <gtest/gtest.h>

// Guards against values the shader cannot honour slipping into the state: each refusal
// answers INVALIDCALL and leaves the previous value in place.
TEST(FixedFunctionState, RefusesStatesItCannotDrawAndKeepsThePreviousValue) {
    TFixedFunctionState state(true);
    const std::pair<D3DRENDERSTATETYPE, DWORD> renderStates[] = {
        {D3DRS_CULLMODE, 4}, {D3DRS_ZENABLE, 2}, {D3DRS_SRCBLEND, 3}, {D3DRENDERSTATETYPE(8), 1}};
    for (const auto& [type, value] : renderStates) {
        EXPECT_EQ(state.SetRenderState(type, value), D3DERR_INVALIDCALL) << type;
    }
    const std::pair<D3DTEXTURESTAGESTATETYPE, DWORD> stageStates[] = {
        {D3DTSS_COLOROP, 6},
        {D3DTSS_COLORARG1, 3},
        {D3DTSS_MAGFILTER, D3DTEXF_NONE},
        {D3DTSS_ADDRESSU, 2}};
    for (const auto& [type, value] : stageStates) {
        EXPECT_EQ(state.SetTextureStageState(0, type, value), D3DERR_INVALIDCALL) << type;
    }
    EXPECT_EQ(state.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.RenderStates().CullMode, D3DCULL_CCW);
    EXPECT_EQ(state.Stage().ColorOp, D3DTOP_MODULATE);
    EXPECT_EQ(state.SetTransform(D3DTRANSFORMSTATETYPE(257), &state.World()), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetMaterial(nullptr), D3DERR_INVALIDCALL);
}

// Guards the light checks that keep the shader from dividing by zero, and the active list:
// at most eight lights, an unset light enabled gets the white directional default, and
// setting an enabled light changes what shines.
TEST(FixedFunctionState, AcceptsOnlyLightsThatCanShineAndAtMostEight) {
    TFixedFunctionState state(true);
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Range = 5.0f;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL); // attenuation all zero
    light.Attenuation1 = -1.0f;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL);
    light.Attenuation1 = 1.0f;
    light.Type = D3DLIGHT_DIRECTIONAL;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL); // no direction

    for (DWORD index = 0; index < MaxActiveLights; ++index) {
        ASSERT_EQ(state.LightEnable(index * 100, 1), D3D_OK);
    }
    EXPECT_EQ(state.LightEnable(999, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.ActiveLight(0).Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(state.ActiveLight(0).Diffuse.r, 1.0f);
    EXPECT_EQ(state.LightEnable(0, 0), D3D_OK);
    EXPECT_EQ(state.ActiveLightCount(), MaxActiveLights - 1);
    light.Type = D3DLIGHT_POINT;
    ASSERT_EQ(state.SetLight(700, &light), D3D_OK);
    ASSERT_EQ(state.SetLight(12345, &light), D3D_OK); // a new entry must not move the others
    bool found = false;
    for (DWORD i = 0; i < state.ActiveLightCount(); ++i) {
        found = found || state.ActiveLight(i).Type == D3DLIGHT_POINT;
    }
    EXPECT_TRUE(found);
}

// Guards the normal transform: the inverse transpose keeps normals perpendicular under
// uneven scale, and a scale that flattens an axis (the score digits) still gives a direction.
TEST(ShaderConstants, NormalMatrixSurvivesUnevenAndFlatScales) {
    D3DMATRIX scale{};
    scale._11 = 2.0f;
    scale._22 = 1.0f;
    scale._33 = 0.5f;
    EXPECT_FLOAT_EQ(NormalMatrixOf(scale)._11, 0.5f);
    EXPECT_FLOAT_EQ(NormalMatrixOf(scale)._33, 2.0f);
    scale._33 = 0.0f;
    EXPECT_FLOAT_EQ(NormalMatrixOf(scale)._11, 0.0f);
    EXPECT_GT(NormalMatrixOf(scale)._33, 0.0f); // (0, 0, 1) keeps pointing along +z
}
