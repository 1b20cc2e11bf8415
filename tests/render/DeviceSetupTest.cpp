#include "core/Globals.h"
#include "game/Game.h"
#include "render/Camera.h"
#include "render/Direct3D.h"
#include "settings/Options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {
TCameraInputs Inputs(std::uint8_t state, std::uint8_t view, std::uint8_t slotState = ssInPlay,
                     float elapsed = 0) {
    return {state, view, Options->ViewEye, slotState, elapsed};
}
} // namespace

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
    EXPECT_FLOAT_EQ(FrameCamera(Inputs(gsPlaying, 7)).Eye.x, 0.8f); // past the last: Corner
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

// Guards the device request: the game's own (no size) needs a window; a failed attempt keeps
// the object until ReleaseDirect3D, which drops both.
TEST(InitDirect3D, MakesASizedReferenceDeviceAndReleasesBoth) {
    EXPECT_FALSE(InitDirect3D(nullptr, false));
    EXPECT_TRUE(Direct3DObject);
    EXPECT_FALSE(Direct3DDevice);
    ReleaseDirect3D();
    EXPECT_FALSE(Direct3DObject);

    EXPECT_TRUE(InitDirect3D(TDeviceRequest{nullptr, false, 16, 16, 0}));
    EXPECT_TRUE(Direct3DDevice);
    ReleaseDirect3D();
    EXPECT_FALSE(Direct3DDevice);
    EXPECT_FALSE(Direct3DObject);
}
