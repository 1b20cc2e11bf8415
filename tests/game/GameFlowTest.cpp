// The game's flow between its states, as the window, the driver and the scripted player all
// take it: every input in every state it can arrive in.

#include "GameTestSupport.h"

#include "game/GameFlow.h"
#include "platform/interfaces/VirtualKeys.h"

#include <functional>
#include <string>

namespace {
class GameFlowTest : public GameTest {};

struct TFlowCase {
    const char* Input;
    std::uint8_t State;
    std::uint8_t Saved;
    std::uint8_t ExpectedState;
    std::uint8_t ExpectedSaved;
    bool StartsAGame;
};
} // namespace

// Guards each rule: which state an input leaves, where it goes, what it saves, and whether a
// fresh game is dealt (the score is back at 0 and the serials start again).
TEST_F(GameFlowTest, EveryInputInEveryStateGoesWhereTheWindowWouldTakeIt) {
    const std::function<void()> inputs[]{
        [this] { FlowKeyPress(*Game, 'a', {}); },
        [this] { FlowKeyPress(*Game, static_cast<char>(VK_ESCAPE), {}); },
        [this] { FlowNewGame(*Game); },
        [] { FlowPauseResume(); },
        [] { FlowLeaveInterlude(); },
    };
    const TFlowCase cases[]{
        {"key", gsTitle, gsTitle, gsPlaying, gsTitle, true},
        {"key", gsPlaying, gsTitle, gsPlaying, gsTitle, false},
        {"escape", gsPlaying, gsTitle, gsPaused, gsPlaying, false},
        {"key", gsGameOver, gsPlaying, gsTitle, gsPlaying, false},
        {"key", gsInterlude, gsPlaying, gsPlaying, gsPlaying, false},
        {"key", gsPaused, gsGameOver, gsGameOver, gsGameOver, false},
        {"key", gsLoading, gsTitle, gsLoading, gsTitle, false},
        {"newgame", gsPaused, gsPlaying, gsTitle, gsPlaying, true},
        {"newgame", gsLoading, gsTitle, gsLoading, gsTitle, false},
        {"pause", gsTitle, gsPlaying, gsPaused, gsTitle, false},
        {"pause", gsPaused, gsInterlude, gsPlaying, gsInterlude, false},
        {"pause", gsPaused, gsGameOver, gsGameOver, gsGameOver, false},
        {"pause", gsLoading, gsTitle, gsLoading, gsTitle, false},
        {"leave", gsInterlude, gsPlaying, gsPlaying, gsPlaying, false},
        {"leave", gsPaused, gsPlaying, gsPaused, gsPlaying, false},
    };
    const std::string names[]{"key", "escape", "newgame", "pause", "leave"};
    for (const TFlowCase& flow : cases) {
        Options->Score = 70;
        GameState = flow.State;
        SavedState = flow.Saved;
        const auto index = std::find(std::begin(names), std::end(names), flow.Input) - names;
        inputs[index]();
        const std::string what =
            std::string(flow.Input) + " in state " + std::to_string(flow.State);
        EXPECT_EQ(GameState, flow.ExpectedState) << what;
        EXPECT_EQ(SavedState, flow.ExpectedSaved) << what;
        EXPECT_EQ(Options->Score == 0, flow.StartsAGame) << what;
    }
}

// Guards the interlude's Space: the home page opens before play goes on, and only for Space;
// a key held down turns the slot in play only.
TEST_F(GameFlowTest, SpaceOpensTheHomePageFromTheInterludeAndArrowsTurnOnlyInPlay) {
    for (const char key : {' ', 'x'}) {
        GameState = gsInterlude;
        SavedState = gsPlaying;
        std::uint8_t stateWhenOpened = 0;
        FlowKeyPress(*Game, key, [&stateWhenOpened] { stateWhenOpened = GameState; });
        EXPECT_EQ(stateWhenOpened, key == ' ' ? gsInterlude : 0) << key;
        EXPECT_EQ(GameState, gsPlaying);
    }
    for (const std::uint8_t state : {gsPaused, gsPlaying}) {
        GameState = state;
        const std::uint8_t sideBefore = Game->Slot.Side;
        FlowKeyDown(*Game, VK_LEFT);
        EXPECT_EQ(Game->Slot.Side != sideBefore, state == gsPlaying) << int(state);
    }
}
