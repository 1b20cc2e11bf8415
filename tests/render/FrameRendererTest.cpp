#include "render/FrameRenderer.h"
#include "core/Globals.h"
#include "game/Game.h"
#include "game/GameResources.h"
#include "math/Math3D.h"
#include "render/Camera.h"
#include "render/Direct3D.h"
#include "render/HeadlessScene.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
constexpr UINT FrameSize = 96;

struct TScreenBox {
    float Left = 1e9f, Top = 1e9f, Right = -1e9f, Bottom = -1e9f;
    bool Contains(float x, float y, float margin) const {
        return x >= Left - margin && x <= Right + margin && y >= Top - margin &&
               y <= Bottom + margin;
    }
};

class Frames : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTestPictures(Directory.Images());
        UseReferenceDevice(FrameSize, FrameSize);
        Scene = std::make_unique<THeadlessScene>(Directory.Path());
        Options->View = 0;
        SavedState = gsTitle;
        GameState = gsPlaying;
        Game->NewGame();
        Game->Tick(16); // gives the slot its first pose
        FrameDeltaMs = 0;
    }
    void TearDown() override {
        Scene.reset();
        GameState = gsLoading;
    }

    static std::vector<std::uint32_t> Render() {
        EXPECT_EQ(RenderFrame(), D3D_OK);
        std::vector<std::uint32_t> pixels;
        UINT width = 0, height = 0;
        EXPECT_EQ(Direct3DDevice->ReadBackBuffer(pixels, width, height), D3D_OK);
        return pixels;
    }
    static std::uint32_t At(const std::vector<std::uint32_t>& pixels, float x, float y) {
        return pixels[static_cast<std::size_t>(y) * FrameSize + static_cast<std::size_t>(x)] &
               0xFFFFFF;
    }

    // Where a world point lands on the screen with this frame's camera, in pixels.
    static TVector Project(const TVector& p) {
        TCameraInputs inputs{GameState, Options->View, Options->ViewEye, Game->SlotState,
                             Game->Elapsed};
        const TCamera camera = FrameCamera(inputs);
        TMatrix view{}, projection{};
        BuildViewMatrix(camera.Eye, camera.At, camera.Up, view);
        BuildProjectionMatrix(1, 1, 0.01f, 200, projection);
        const TMatrix m = MatrixMultiply(projection, view);
        const float x = p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41;
        const float y = p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42;
        const float w = p.x * m._14 + p.y * m._24 + p.z * m._34 + m._44;
        return {(x / w + 1) / 2 * FrameSize, (1 - y / w) / 2 * FrameSize, 0};
    }
    static TScreenBox ProjectQuad(const TMatrix& world, float hx, float hy, float z) {
        TScreenBox box;
        for (const TVector corner :
             {TVector{-hx, -hy, z}, {hx, -hy, z}, {hx, hy, z}, {-hx, hy, z}}) {
            const TVector w{
                corner.x * world._11 + corner.y * world._21 + corner.z * world._31 + world._41,
                corner.x * world._12 + corner.y * world._22 + corner.z * world._32 + world._42,
                corner.x * world._13 + corner.y * world._23 + corner.z * world._33 + world._43};
            const TVector s = Project(w);
            box.Left = std::min(box.Left, s.x);
            box.Right = std::max(box.Right, s.x);
            box.Top = std::min(box.Top, s.y);
            box.Bottom = std::max(box.Bottom, s.y);
        }
        return box;
    }

    TTemporaryProgramDirectory Directory;
    std::unique_ptr<THeadlessScene> Scene;
};
} // namespace

// Guards the picture quad and the Top camera: the pictures must cover the whole window
// whatever view is chosen.
TEST_F(Frames, TitleGameOverAndInterludePicturesFillTheWindowFromEveryView) {
    Options->View = 2;
    const std::pair<std::uint8_t, QRgb> pictures[] = {
        {gsTitle, TitleColour}, {gsGameOver, GameOverColour}, {gsInterlude, InterludeColour}};
    for (const auto& [state, colour] : pictures) {
        GameState = state;
        const std::vector<std::uint32_t> pixels = Render();
        const std::uint32_t wanted = colour;
        const auto wrong = std::count_if(pixels.begin(), pixels.end(), [wanted](std::uint32_t p) {
            return !NearColour(p, wanted, 2);
        });
        EXPECT_EQ(wrong, 0) << "state " << int(state);
    }
}

// Guards the pause: the scene stands still (no tick, no spin) and the banner covers the
// middle of the view, not the whole of it.
TEST_F(Frames, PausedSceneStandsStillUnderTheBannerInTheMiddle) {
    FrameDeltaMs = 16; // the game's timers run on the main loop's measured frame time
    for (int frame = 0; frame < 150; ++frame) { // one ball, still on its way
        Game->Tick(16);
    }
    FrameDeltaMs = 0;
    ASSERT_GT(Game->BallCount, 0);
    SavedState = gsPlaying;
    GameState = gsPaused;
    const std::vector<std::uint32_t> first = Render();
    const std::vector<std::uint32_t> second = Render();
    EXPECT_EQ(first, second);
    EXPECT_TRUE(NearColour(At(first, FrameSize / 2.0f, FrameSize / 2.0f), PauseColour, 2));
    EXPECT_TRUE(NearColour(At(first, FrameSize * 0.4f, FrameSize / 2.0f), PauseColour, 2));
    EXPECT_FALSE(NearColour(At(first, FrameSize / 2.0f, FrameSize * 0.2f), PauseColour, 8));
    EXPECT_FALSE(NearColour(At(first, FrameSize * 0.1f, FrameSize / 2.0f), PauseColour, 8));
}

// Guards the digits' placement per view: the score must appear exactly where its place and
// tilt project, and change nothing elsewhere.
TEST_F(Frames, ScoreDigitsAppearWhereTheirPlacementProjectsOnEveryView) {
    for (std::uint8_t view = 0; view < 4; ++view) {
        SCOPED_TRACE(int(view));
        Options->View = view;
        Numbers->DigitCount = 0;
        const std::vector<std::uint32_t> without = Render();
        Numbers->ShowScore(7);
        const std::vector<std::uint32_t> with = Render();
        const TScreenBox box = ProjectQuad(Numbers->Poses[0].Matrix, 0.1f, 0.2f, 1);
        int changed = 0;
        for (UINT y = 0; y < FrameSize; ++y) {
            for (UINT x = 0; x < FrameSize; ++x) {
                if (with[y * FrameSize + x] != without[y * FrameSize + x]) {
                    ++changed;
                    EXPECT_TRUE(box.Contains(x + 0.5f, y + 0.5f, 1.5f)) << x << "," << y;
                }
            }
        }
        EXPECT_GT(changed, 0);
        const float centreX = (box.Left + box.Right) / 2;
        const float centreY = (box.Top + box.Bottom) / 2;
        EXPECT_TRUE(NearColour(At(with, centreX, centreY), DigitColour, 2));
    }
}

// Guards the hidden slot: while a spare flies in nothing is drawn in the middle, and
// nothing else of the scene changes.
TEST_F(Frames, SlotIsHiddenWhileASpareFliesIn) {
    const std::vector<std::uint32_t> shown = Render();
    Game->SlotState = ssReplacing;
    const std::vector<std::uint32_t> hidden = Render();
    Game->SlotState = ssInPlay;
    Game->Slot.Obj.Matrix = TranslationMatrix({0, 0, 1000}); // behind the camera
    const std::vector<std::uint32_t> away = Render();
    EXPECT_NE(At(shown, FrameSize / 2.0f, FrameSize / 2.0f),
              At(hidden, FrameSize / 2.0f, FrameSize / 2.0f));
    EXPECT_EQ(hidden, away);
}

TEST_F(Frames, NoLifeIconIsDrawnWithoutLives) {
    Options->Lives = 0;
    const std::vector<std::uint32_t> none = Render();
    Options->Lives = -3;
    EXPECT_EQ(Render(), none);
    Options->Lives = 1;
    const std::vector<std::uint32_t> one = Render();
    const TVector icon = Project({LifeMatrices[0]._41, LifeMatrices[0]._42, LifeMatrices[0]._43});
    EXPECT_NE(At(one, icon.x, icon.y), At(none, icon.x, icon.y));
    LifeMatrices[0] = TranslationMatrix({0, 0, 1000});
    EXPECT_EQ(Render(), none);
    BuildLifeMatrix(1);
}

// Guards the frame's bookkeeping: one draw per object, a failing step's code passed on
// unchanged, nothing drawn before loading, and no state of the game scene (ball lighting,
// blending, culling) left behind to spoil the next picture.
TEST_F(Frames, DrawOncePerObjectPassFailuresOnAndLeaveNoStateBehind) {
    Game->SpawnBall();
    Game->SpawnBall();
    Numbers->ShowScore(1230);
    Render();
    EXPECT_EQ(Direct3DDevice->FrameCounters().DrawCalls, 9u + 2 + 4 + 3);
    Game->SlotState = ssReplacing;
    Render();
    EXPECT_EQ(Direct3DDevice->FrameCounters().DrawCalls, 8u + 2 + 4 + 3);

    GameState = gsTitle;
    const std::vector<std::uint32_t> title = Render();
    EXPECT_TRUE(std::all_of(title.begin(), title.end(),
                            [](std::uint32_t p) { return NearColour(p, TitleColour, 2); }));

    ASSERT_EQ(Direct3DDevice->BeginScene(), D3D_OK); // a scene left open makes BeginScene fail
    EXPECT_EQ(RenderFrame(), D3DERR_INVALIDCALL);
    Direct3DDevice->EndScene();
    GameState = gsLoading;
    EXPECT_EQ(RenderFrame(), D3D_OK);
    const TComRef<IDirect3DDevice8> device = Direct3DDevice;
    Direct3DDevice.Reset();
    EXPECT_EQ(RenderFrame(), D3D_OK);
    GameState = gsTitle;
    EXPECT_EQ(RenderFrame(), E_FAIL);
    Direct3DDevice = device;
}

// Guards the digits of a score: no sign, no leading zeros, ten places for the largest score.
TEST_F(Frames, ScoreDigitsTakeTheDecimalDigitsAndStepTowardsMinusX) {
    Numbers->ShowScore(-5);
    ASSERT_EQ(Numbers->DigitCount, 1);
    EXPECT_EQ(Numbers->Digits[0], 0);
    Numbers->ShowScore(2147483647);
    ASSERT_EQ(Numbers->DigitCount, 10);
    EXPECT_EQ(Numbers->Digits[0], 2);
    EXPECT_EQ(Numbers->Digits[9], 7);

    Numbers->ShowScore(1234);
    Render();
    ASSERT_EQ(Numbers->DigitCount, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Numbers->Digits[i], i + 1);
        EXPECT_NEAR(Numbers->Poses[i].Matrix._41, 1.3 - 0.1 * i, 1e-6);
        EXPECT_NEAR(Numbers->Poses[i].Matrix._42, 1.25, 1e-6);
        EXPECT_NEAR(Numbers->Poses[i].Matrix._43, 0.5, 1e-6);
    }
}
