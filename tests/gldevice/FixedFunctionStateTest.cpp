// The device state without OpenGL: which lights are refused, and the normal transform.
#include "platform/d3d/opengl/ShaderConstants.h"

#include <gtest/gtest.h>

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
