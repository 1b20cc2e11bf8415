// Playing with a controller through the real main window, with SDL's virtual controller
// standing in for a plugged-in one: starting, turning the slot, pausing, the pictures, plugging
// in and out during play, and a dialog that keeps the controller out.

#include "core/Globals.h"
#include "game/Game.h"
#include "platform/input/GamepadInput.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "tests/app/EventLoop.h"
#include "tests/app/GameWindowFixture.h"

#include <QApplication>
#include <QPushButton>

#include <SDL.h>

namespace {
class GamepadPlayTest : public GameWindowTest {
protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    }

    void TearDown() override {
        Unplug();
        GameWindowTest::TearDown();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }

    void PlugIn() {
        const int index =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        VirtualIndex = index;
        Pad = SDL_JoystickOpen(index);
        ASSERT_NE(Pad, nullptr) << SDL_GetError();
    }

    void Unplug() {
        if (Pad != nullptr) {
            SDL_JoystickClose(Pad);
            SDL_JoystickDetachVirtual(VirtualIndex);
            Pad = nullptr;
        }
    }

    void Hold(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(Pad, button, down ? 1 : 0);
        RunFrames(2);
    }

    // Down and up again, a frame or two apart, as a player taps.
    void Tap(SDL_GameControllerButton button) {
        Hold(button, true);
        Hold(button, false);
    }

    void Stick(std::int16_t x, std::int16_t y) {
        SDL_JoystickSetVirtualAxis(Pad, SDL_CONTROLLER_AXIS_LEFTX, x);
        SDL_JoystickSetVirtualAxis(Pad, SDL_CONTROLLER_AXIS_LEFTY, y);
        RunFrames(2);
    }

    std::size_t OpenControllers() const { return FormMain->Gamepads()->OpenControllers(); }

    SDL_Joystick* Pad = nullptr;
    int VirtualIndex = -1;
};
} // namespace

TEST_F(GamepadPlayTest, ControllerPresentAtStartPlaysPausesAndStartsANewGame) {
    PlugIn();
    StartAtTitle();
    EXPECT_EQ(OpenControllers(), 1u);
    Tap(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(GameState, gsPlaying);

    Tap(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(GameState, gsPaused);
    Tap(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(GameState, gsPlaying) << "Escape resumes a pause";
    Tap(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(GameState, gsPaused);
    Tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(GameState, gsPlaying);
    Tap(SDL_CONTROLLER_BUTTON_GUIDE);
    EXPECT_EQ(GameState, gsPlaying);

    Options->Score = 40;
    Tap(SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_EQ(GameState, gsTitle);
    EXPECT_EQ(Options->Score, 0) << "New Game resets the game";
}

TEST_F(GamepadPlayTest, DpadAndStickTurnTheSlotToEverySideOnNormal) {
    PlugIn();
    StartAtTitle();
    Options->Difficulty = 1;
    Tap(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(GameState, gsPlaying);
    // The game stands still, so no ball can be missed and end the play meanwhile.
    ClockStep = 0;
    const std::vector<std::pair<SDL_GameControllerButton, std::uint8_t>> dpad{
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 3},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 2},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, 0},
    };
    for (const auto& [button, side] : dpad) {
        Tap(button);
        EXPECT_EQ(Game->Slot.Side, side) << "d-pad button " << button;
    }
    Stick(-30000, 5000);
    EXPECT_EQ(Game->Slot.Side, 3);
    Stick(2000, 30000);
    EXPECT_EQ(Game->Slot.Side, 2);
    Stick(30000, -12000);
    EXPECT_EQ(Game->Slot.Side, 1);
    Stick(-8000, -30000);
    EXPECT_EQ(Game->Slot.Side, 0);
    Stick(0, 0);
    EXPECT_EQ(Game->Slot.Side, 0);
}

TEST_F(GamepadPlayTest, OnEasyOnlyLeftAndRightTurnTheSlot) {
    PlugIn();
    StartAtTitle();
    Options->Difficulty = 0;
    Tap(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(GameState, gsPlaying);
    ClockStep = 0;
    Tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    EXPECT_EQ(Game->Slot.Side, 3);
    Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    Stick(0, 30000);
    Stick(0, 0);
    EXPECT_EQ(Game->Slot.Side, 3);
    Stick(30000, 0);
    EXPECT_EQ(Game->Slot.Side, 1);
}

TEST_F(GamepadPlayTest, SouthGoesOnFromTheInterludeAndGameOverWithoutOpeningAPage) {
    PlugIn();
    StartAtTitle();
    GameState = gsInterlude;
    SavedState = gsPlaying;
    Tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(GameState, gsPlaying);
    EXPECT_TRUE(OpenedAddresses.empty());
    GameState = gsGameOver;
    Tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(GameState, gsTitle);
}

TEST_F(GamepadPlayTest, PluggingInDuringPlayWorksAndUnpluggingAHeldArrowIsHarmless) {
    StartAtTitle();
    EXPECT_EQ(OpenControllers(), 0u);
    StartPlaying();
    PlugIn();
    ASSERT_TRUE(RunEventLoopUntil([this] { return OpenControllers() == 1; }));
    Hold(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_EQ(Game->Slot.Side, 3);
    Unplug();
    ASSERT_TRUE(RunEventLoopUntil([this] { return OpenControllers() == 0; }));
    // No left arrow repeats from a controller that is gone.
    // Long enough for a repeat to be due, too short for a missed ball to end the play.
    Press(Qt::Key_Right);
    ClockStep = 30;
    RunFrames(10);
    EXPECT_EQ(Game->Slot.Side, 1);
    EXPECT_EQ(GameState, gsPlaying);
    // Plugged in again, it is a new controller that plays as the first did.
    PlugIn();
    ASSERT_TRUE(RunEventLoopUntil([this] { return OpenControllers() == 1; }));
    Tap(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(GameState, gsPaused);
}

TEST_F(GamepadPlayTest, ControllerDoesNothingWhileADialogIsOpen) {
    PlugIn();
    StartAtTitle();
    WhenReady([] { return QApplication::activeModalWidget() != nullptr; },
              [this] {
                  Tap(SDL_CONTROLLER_BUTTON_A);
                  Tap(SDL_CONTROLLER_BUTTON_BACK);
                  EXPECT_EQ(GameState, gsTitle);
                  AboutBox->OKButton->click();
              });
    FormMain->About1->trigger();
    RunFrames(5);
    EXPECT_EQ(GameState, gsTitle);
    // The offscreen platform leaves the activation after a dialog to the test.
    FormMain->activateWindow();
    ASSERT_TRUE(RunEventLoopUntil([this] { return FormMain->isActiveWindow(); }));
    Tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(GameState, gsPlaying);
}
