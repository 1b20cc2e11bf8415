// The device state without OpenGL: what is refused with which code, and the normal transform.
#include "platform/d3d/opengl/ShaderConstants.h"
#include "platform/interfaces/D3DMatrix.h"

#include <gtest/gtest.h>

// Guards the rules shared with the reference device, so a call that works on one device works
// on the other: each refusal gives the same code and leaves the previous value in place.
TEST(FixedFunctionState, RefusesWhatTheReferenceDeviceRefuses) {
    TFixedFunctionState state(true);
    EXPECT_EQ(state.SetRenderState(D3DRS_SPECULARENABLE, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetRenderState(D3DRS_CULLMODE, 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetTextureStageState(0, D3DTSS_COLOROP, 6), D3DERR_UNSUPPORTEDCOLOROPERATION);
    EXPECT_EQ(state.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE),
              D3DERR_UNSUPPORTEDALPHAARG);
    EXPECT_EQ(state.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_NONE),
              D3DERR_UNSUPPORTEDTEXTUREFILTER);
    EXPECT_EQ(state.SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(state.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE), D3DERR_INVALIDCALL);
    EXPECT_EQ(state.RenderStates().CullMode, D3DCULL_CCW);
    EXPECT_EQ(state.Stage().ColorOp, D3DTOP_MODULATE);
    EXPECT_EQ(state.Stage().MagFilter, D3DTEXF_POINT);
}

// Guards the light checks that keep the shader from dividing by zero or lighting along no
// direction, the eight light slots, and the default light an unset slot gets when enabled.
TEST(FixedFunctionState, AcceptsOnlyLightsThatCanShine) {
    TFixedFunctionState state(true);
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Range = 5.0f;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL); // attenuation all zero
    light.Attenuation1 = -1.0f;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL);
    light.Attenuation1 = 1.0f;
    EXPECT_EQ(state.SetLight(MaxLights, &light), D3DERR_INVALIDCALL);
    light.Type = D3DLIGHT_SPOT;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL);
    light.Type = D3DLIGHT_DIRECTIONAL;
    EXPECT_EQ(state.SetLight(0, &light), D3DERR_INVALIDCALL); // no direction
    EXPECT_EQ(state.LightEnable(MaxLights, 1), D3DERR_INVALIDCALL);

    ASSERT_EQ(state.LightEnable(3, 1), D3D_OK);
    EXPECT_EQ(state.Lights()[3].Light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(state.Lights()[3].Light.Diffuse.r, 1.0f);
    EXPECT_EQ(state.Lights()[3].Light.Direction.z, 1.0f);
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
