#include "core/Globals.h"
#include "game/Game.h"
#include "render/Camera.h"
#include "render/Direct3D.h"
#include "render/Direct3DErrors.h"
#include "render/FrameRenderer.h"
#include "render/HeadlessScene.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "tests/render/RecordingDevice.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {
class RenderFrameContract : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTestPictures(Directory.Images());
        UseReferenceDevice(32, 32);
        Recorder = new TRecordingDevice(Direct3DDevice);
        Direct3DDevice = TComRef<IDirect3DDevice8>::Attach(Recorder);
        Scene = std::make_unique<THeadlessScene>(Directory.Path());
        Options->View = 0;
        GameState = gsPlaying;
        Game->NewGame();
        Recorder->Calls.clear();
    }
    void TearDown() override {
        Scene.reset();
        GameState = gsLoading;
    }

    TTemporaryProgramDirectory Directory;
    TRecordingDevice* Recorder = nullptr;
    std::unique_ptr<THeadlessScene> Scene;
};

TCameraInputs Inputs(std::uint8_t state, std::uint8_t view, std::uint8_t slotState = ssInPlay,
                     float elapsed = 0) {
    return {state, view, Options->ViewEye, slotState, elapsed};
}
} // namespace

TEST_F(RenderFrameContract, LoadingStateDrawsNothingAndAMissingDeviceFails) {
    GameState = gsLoading;
    EXPECT_EQ(RenderFrame(), D3D_OK);
    EXPECT_TRUE(Recorder->Calls.empty());

    GameState = gsTitle;
    const TComRef<IDirect3DDevice8> device = Direct3DDevice;
    Direct3DDevice.Reset();
    EXPECT_EQ(RenderFrame(), E_FAIL);
    Direct3DDevice = device;
}

// Guards the failure path: the first failing step ends the frame and its code reaches the
// main loop unchanged.
TEST_F(RenderFrameContract, PassesTheFirstFailureOnUnchanged) {
    Recorder->FailWith("Clear", D3DERR_DEVICELOST);
    EXPECT_EQ(RenderFrame(), D3DERR_DEVICELOST);
    EXPECT_EQ(Recorder->Calls, (std::vector<std::string>{"Clear"}));

    Recorder->FailWith("Clear", D3D_OK);
    Recorder->FailWith("Present", D3DERR_DRIVERINTERNALERROR);
    Recorder->Calls.clear();
    EXPECT_EQ(RenderFrame(), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(Recorder->Calls,
              (std::vector<std::string>{"Clear", "BeginScene", "EndScene", "Present"}));
}

// Guards the states a frame switches: each must be back at its set-up value when the frame
// ends, or the next frame's pictures come out lit, blended or culled wrongly.
TEST_F(RenderFrameContract, RestoresTheSceneStatesAndDrawsOncePerObject) {
    Game->SpawnBall();
    Game->SpawnBall();
    Options->Score = 1230;
    Numbers->ShowScore(1230);
    ASSERT_EQ(RenderFrame(), D3D_OK);
    EXPECT_EQ(Recorder->DrawCalls, 9 + 2 + 4 + 3);
    EXPECT_EQ(Recorder->RenderStates[D3DRS_CULLMODE], DWORD{D3DCULL_CCW});
    EXPECT_EQ(Recorder->RenderStates[D3DRS_AMBIENT], SceneAmbientLight);
    EXPECT_EQ(Recorder->RenderStates[D3DRS_ALPHABLENDENABLE], 0u);
    EXPECT_EQ(Recorder->StageStates[D3DTSS_COLOROP], DWORD{D3DTOP_SELECTARG1});
    EXPECT_TRUE(Recorder->LightsOn[SceneLight]);
    EXPECT_FALSE(Recorder->LightsOn[BallLight]);

    Game->SlotState = ssReplacing;
    ASSERT_EQ(RenderFrame(), D3D_OK);
    EXPECT_EQ(Recorder->DrawCalls, 8 + 2 + 4 + 3);

    GameState = gsTitle;
    ASSERT_EQ(RenderFrame(), D3D_OK);
    EXPECT_EQ(Recorder->DrawCalls, 1);
}

TEST_F(RenderFrameContract, SceneSetUpGivesTheTwoLightsTheirPlaces) {
    const D3DLIGHT8& scene = Recorder->Lights[SceneLight];
    EXPECT_EQ(scene.Type, D3DLIGHT_POINT);
    EXPECT_FLOAT_EQ(scene.Position.z, 0.2f);
    EXPECT_FLOAT_EQ(scene.Range, 1.3f);
    EXPECT_FLOAT_EQ(scene.Diffuse.r, 0.41f);
    const D3DLIGHT8& ball = Recorder->Lights[BallLight];
    EXPECT_FLOAT_EQ(ball.Position.x, 0.6f);
    EXPECT_FLOAT_EQ(ball.Position.z, 1.0f);
    EXPECT_FLOAT_EQ(ball.Attenuation1, 0.2f);
    EXPECT_EQ(Recorder->RenderStates[D3DRS_SRCBLEND], DWORD{D3DBLEND_SRCALPHA});
    EXPECT_EQ(Recorder->StageStates[D3DTSS_MINFILTER], DWORD{D3DTEXF_LINEAR});
}

// Guards the camera rule: the chosen view only while playing, the Top view otherwise.
TEST(FrameCamera, UsesTheChosenViewOnlyWhilePlaying) {
    Options = std::make_unique<TOptions>();
    for (std::uint8_t state : {gsTitle, gsGameOver, gsInterlude, gsPaused}) {
        const TCamera camera = FrameCamera(Inputs(state, 2, ssFalling, 1420));
        EXPECT_FLOAT_EQ(camera.Eye.z, 3) << int(state);
        EXPECT_FLOAT_EQ(camera.Eye.y, 0) << int(state);
        EXPECT_FLOAT_EQ(camera.At.x, 0) << int(state);
    }
    const TCamera side = FrameCamera(Inputs(gsPlaying, 2));
    EXPECT_FLOAT_EQ(side.Eye.y, -2.3f);
    EXPECT_FLOAT_EQ(side.Eye.z, 2);
    EXPECT_FLOAT_EQ(FrameCamera(Inputs(gsPlaying, 7)).Eye.z, 3); // unknown view: Top
}

// Guards the shake of a fall: along z on the Top view, the aim wandering on the others.
TEST(FrameCamera, ShakesWhileTheSlotFalls) {
    Options = std::make_unique<TOptions>();
    const double t = 0.71;
    const double strength = std::pow(t, 4);
    const double pi = std::numbers::pi;
    const TCamera top = FrameCamera(Inputs(gsPlaying, 0, ssFalling, 1420));
    EXPECT_NEAR(top.Eye.z, 3 + 0.08 * strength * std::sin(60 * pi * t), 1e-5);
    EXPECT_FLOAT_EQ(top.Eye.x, 0);
    EXPECT_FLOAT_EQ(top.At.x, 0);
    EXPECT_FLOAT_EQ(top.At.z, 0);

    const TCamera corner = FrameCamera(Inputs(gsPlaying, 3, ssFalling, 1420));
    EXPECT_FLOAT_EQ(corner.Eye.x, 0.8f);
    EXPECT_FLOAT_EQ(corner.Eye.z, 1.8f);
    EXPECT_NEAR(corner.At.x, 0.01 * strength * (std::cos(6 * pi * t) - 0.5), 1e-6);
    EXPECT_NEAR(corner.At.y, 0.01 * strength * (std::sin(60 * pi * t) - 0.5), 1e-6);
    EXPECT_NEAR(corner.At.z, 0.05 * strength * std::sin(60 * pi * t - 0.5), 1e-6);

    const TCamera still = FrameCamera(Inputs(gsPlaying, 3, ssReplacing, 1420));
    EXPECT_FLOAT_EQ(still.At.y, 0);
}

TEST(Direct3DErrorText, GivesEveryTextAsWrittenAndUnrecognizedForOthers) {
    EXPECT_STREQ(Direct3DErrorText(D3D_OK), "No error occurred.");
    EXPECT_STREQ(Direct3DErrorText(D3DERR_DEVICELOST),
                 "The device is lost and cannot be restored at the current time, so rendering "
                 "is not possible.");
    EXPECT_STREQ(Direct3DErrorText(E_INVALIDARG),
                 "An invalid parameter was passed to the returning function");
    EXPECT_STREQ(Direct3DErrorText(D3DERR_TOOMANYOPERATIONS),
                 "The application is requesting more texture-filtering operations than the "
                 "device");
    EXPECT_STREQ(Direct3DErrorText(D3DERR_INVALIDCALL),
                 "The method call is invalid. For example, a method's parameter may have an "
                 "invalid value.");
    EXPECT_STREQ(Direct3DErrorText(MakeResult(0x88760820)), "Unrecognized Error");
    EXPECT_STREQ(Direct3DErrorText(1), "Unrecognized Error");
}

TEST(ReportDirect3DError, HandsCaptionAndTextToTheInstalledReporter) {
    std::string caption, text;
    SetDirect3DErrorReporter([&](const std::string& c, const std::string& t) {
        caption = c;
        text = t;
    });
    ReportDirect3DError("Render", D3DERR_DEVICELOST);
    SetDirect3DErrorReporter(nullptr);
    EXPECT_EQ(caption, "Render");
    EXPECT_EQ(text, Direct3DErrorText(D3DERR_DEVICELOST));
}
