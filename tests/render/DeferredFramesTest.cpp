// The deferred tiles of the software device, with their wide span routines, must draw the
// game's frames exactly as the plain immediate tiles do one pixel at a time, for every state
// and view, during a fall and under the pause banner, on any number of threads, and after
// drawing every frame before.

#include "core/Globals.h"
#include "core/Random.h"
#include "game/Game.h"
#include "game/GameResources.h"
#include "game/PlayFrame.h"
#include "game/ScriptedPlayer.h"
#include "platform/d3d/reference/ReferenceDevice.h"
#include "render/Direct3D.h"
#include "render/FrameRenderer.h"
#include "render/HeadlessScene.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "tests/refdevice/DeviceTestKit.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using Reference::ETileShading;

constexpr UINT Size = 200; // several tiles, with a part tile at the right and bottom
constexpr float FrameMs = 16;

struct TScenario {
    const char* Name;
    std::uint8_t State;
    std::uint8_t View;
    bool Steering;      // a perfect player, or one who never turns (and so misses)
    float PlayMs;       // played before the picture
    bool StopInTheFall; // stop as soon as the slot has been falling for a while
};

// Plays the scenario on a fresh device drawing its tiles the given way; the last frame's
// pixels. Drawn every frame, the drum turns in the drawing just as it is turned here otherwise.
// With a window, every frame is presented to it, and it is left holding the last.
std::vector<std::uint32_t> Draw(const TScenario& scenario, const std::string& directory,
                                ETileShading shading, unsigned threads, bool everyFrame = false,
                                TPatchingWindow* window = nullptr) {
    D3DPRESENT_PARAMETERS params = OffscreenParameters(Size, Size);
    params.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    EXPECT_EQ(CreateReferenceDevice(params, window, threads, shading, Direct3DDevice.Put()),
              D3D_OK);
    THeadlessScene scene(directory);
    Options->View = scenario.View;
    RandSeed = 77;
    FrameDeltaMs = static_cast<std::uint32_t>(FrameMs);
    SavedState = gsTitle;
    GameState = gsPlaying;
    Game->NewGame();
    Numbers->ShowScore(4560);
    for (float ms = 0; ms < scenario.PlayMs && GameState == gsPlaying; ms += FrameMs) {
        MakeMove(*Game, scenario.Steering ? TPlayer::Perfect : TPlayer::Losing);
        PlayFrame(*Game, static_cast<std::uint32_t>(FrameMs));
        if (everyFrame) {
            EXPECT_EQ(RenderFrame(), D3D_OK);
        } else {
            BackPlane->Spin(FrameMs);
        }
        if (scenario.StopInTheFall && Game->SlotState == ssFalling && Game->Elapsed > 1200) {
            break;
        }
    }
    if (scenario.State == gsPaused) {
        SavedState = gsPlaying;
        FrameDeltaMs = 0;
    }
    GameState = scenario.State;
    EXPECT_EQ(RenderFrame(), D3D_OK);
    std::vector<std::uint32_t> pixels;
    UINT width = 0, height = 0;
    EXPECT_EQ(Direct3DDevice->ReadBackBuffer(pixels, width, height), D3D_OK);
    return pixels;
}

class DeferredFrames : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(ZORBIX_GENERATED_IMAGES, Directory.Images(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }
    void TearDown() override { GameState = gsLoading; }
    TTemporaryProgramDirectory Directory;
};

TEST_F(DeferredFrames, EveryGameFrameMatchesTheImmediateTilesOnAnyThreadCount) {
    const TScenario scenarios[] = {
        {"title", gsTitle, 0, true, 0, false},
        {"game over", gsGameOver, 0, true, 0, false},
        {"interlude", gsInterlude, 0, true, 0, false},
        {"play, top view", gsPlaying, 0, true, 6000, false},
        {"play, half side view", gsPlaying, 1, true, 6000, false},
        {"play, side view", gsPlaying, 2, true, 6000, false},
        {"play, corner view", gsPlaying, 3, true, 6000, false},
        {"the fall, top view", gsPlaying, 0, false, 60000, true},
        {"the fall, corner view", gsPlaying, 3, false, 60000, true},
        {"paused on the side view", gsPaused, 2, true, 6000, false},
    };
    for (const TScenario& scenario : scenarios) {
        const std::vector<std::uint32_t> expected =
            Draw(scenario, Directory.Path(), ETileShading::Immediate, 1);
        for (const unsigned threads : {1u, 2u, 3u}) {
            EXPECT_EQ(Draw(scenario, Directory.Path(), ETileShading::Deferred, threads), expected)
                << scenario.Name << " on " << threads << " threads";
        }
        // Drawn frame after frame, most pixels keep what the frame before shaded, and the
        // window is handed only what changed.
        TPatchingWindow window(Size, Size);
        EXPECT_EQ(Draw(scenario, Directory.Path(), ETileShading::Deferred, 2, true, &window),
                  expected)
            << scenario.Name << ", every frame drawn";
        EXPECT_EQ(window.Picture, expected) << scenario.Name << ", as the window shows it";
    }
}

} // namespace
