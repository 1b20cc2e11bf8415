// The game states driven through the real main window: keys by state, pausing with its zero
// delta, deactivation, and the commands New Game and Pause/Resume from every state.

#include "core/Globals.h"
#include "game/Game.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "settings/dialogs/WebLinks.h"
#include "tests/app/EventLoop.h"
#include "tests/app/GameWindowFixture.h"

namespace {
struct TKeyRow {
    std::uint8_t From;
    std::uint8_t Saved;
    Qt::Key Key;
    std::uint8_t To;
};
} // namespace

TEST_F(GameWindowTest, KeysBeforeLoadingHasRunChangeNothing) {
    StartProgram();
    ASSERT_EQ(GameState, gsLoading);
    Press(Qt::Key_Space);
    Press(Qt::Key_Escape);
    Press(Qt::Key_F2);
    Press(Qt::Key_F3);
    EXPECT_EQ(GameState, gsLoading);
    EXPECT_TRUE(RunEventLoopUntil([] { return GameState == gsTitle; }));
}

TEST_F(GameWindowTest, CharacterKeysMoveTheStatesAsTheTableSays) {
    StartAtTitle();
    const std::vector<TKeyRow> rows{
        {gsPlaying, gsTitle, Qt::Key_A, gsPlaying},
        {gsPlaying, gsTitle, Qt::Key_Escape, gsPaused},
        {gsPaused, gsPlaying, Qt::Key_Escape, gsPlaying},
        {gsPaused, gsPlaying, Qt::Key_B, gsPlaying},
        {gsPaused, gsTitle, Qt::Key_B, gsTitle},
        {gsGameOver, gsTitle, Qt::Key_Space, gsTitle},
        {gsInterlude, gsPlaying, Qt::Key_C, gsPlaying},
        {gsTitle, gsGameOver, Qt::Key_Z, gsPlaying},
    };
    for (const TKeyRow& row : rows) {
        GameState = row.From;
        SavedState = row.Saved;
        Press(row.Key);
        EXPECT_EQ(GameState, row.To) << "from " << int(row.From) << " with key " << row.Key;
    }
    EXPECT_TRUE(OpenedAddresses.empty());
}

TEST_F(GameWindowTest, TitleKeyStartsAFreshGameAndGameOverKeyKeepsTheScore) {
    StartAtTitle();
    Options->Score = 70;
    Press(Qt::Key_Return);
    EXPECT_EQ(GameState, gsPlaying);
    EXPECT_EQ(Options->Score, 0);
    EXPECT_EQ(Options->Lives, 3);

    Options->Score = 70;
    GameState = gsGameOver;
    Press(Qt::Key_Q);
    EXPECT_EQ(GameState, gsTitle);
    EXPECT_EQ(Options->Score, 70);
}

TEST_F(GameWindowTest, SpaceInTheInterludeOpensTheOtherGamesPageAndGoesOn) {
    StartAtTitle();
    GameState = gsInterlude;
    SavedState = gsPlaying;
    Press(Qt::Key_Space);
    EXPECT_EQ(GameState, gsPlaying);
    ASSERT_EQ(OpenedAddresses.size(), 1u);
    EXPECT_EQ(OpenedAddresses[0], "https://www.zorbix-games.example/quillon.shtml");
}

TEST_F(GameWindowTest, PauseMeasuresZeroAndResumesWithoutAJump) {
    StartAtTitle();
    StartPlaying();
    Press(Qt::Key_Escape);
    ASSERT_EQ(GameState, gsPaused);
    const float elapsed = Game->Elapsed;
    Clock += 60000;
    RunFrames(5);
    EXPECT_EQ(FrameDeltaMs, 0u);
    EXPECT_EQ(Game->Elapsed, elapsed);

    Press(Qt::Key_Escape);
    ASSERT_EQ(GameState, gsPlaying);
    RunFrames(1);
    EXPECT_EQ(FrameDeltaMs, ClockStep);
}

TEST_F(GameWindowTest, DeactivationStopsFramesAndActivationRestartsTheClock) {
    StartAtTitle();
    StartPlaying();
    FormMain->showMinimized();
    EXPECT_FALSE(FormMain->RenderActive);
    const std::uint64_t frames = FormMain->FramesDrawn;
    const float elapsed = Game->Elapsed;
    RunEventLoop(100);
    EXPECT_EQ(FormMain->FramesDrawn, frames);
    EXPECT_EQ(Game->Elapsed, elapsed);

    // Another window takes the focus meanwhile; restoring the game's window activates it.
    Clock += 100000;
    QWidget otherProgram;
    otherProgram.show();
    otherProgram.activateWindow();
    ASSERT_TRUE(RunEventLoopUntil([&] { return otherProgram.isActiveWindow(); }));
    EXPECT_FALSE(FormMain->RenderActive);
    FormMain->showNormal();
    FormMain->activateWindow();
    ASSERT_TRUE(RunEventLoopUntil([this] { return FormMain->RenderActive; }));
    RunFrames(1);
    EXPECT_EQ(FrameDeltaMs, ClockStep);
    EXPECT_LT(Game->Elapsed, elapsed + 10 * ClockStep);
}

TEST_F(GameWindowTest, AnInactiveWindowWaitsForMessagesAndActivationBringsTheNextFrame) {
    StartAtTitle();
    StartPlaying();
    FormMain->showMinimized();
    RunEventLoop(50); // the minimise's own messages
    ASSERT_FALSE(FormMain->RenderActive);
    // A loop that kept calling would make thousands of calls here; one that waits makes one
    // per message, and only the event loop's own stop timer arrives.
    constexpr std::uint64_t FewCalls = 5;
    const std::uint64_t calls = FormMain->IdleCalls;
    const std::uint64_t frames = FormMain->FramesDrawn;
    RunEventLoop(300);
    EXPECT_LT(FormMain->IdleCalls, calls + FewCalls);
    EXPECT_EQ(FormMain->FramesDrawn, frames);

    // As on a desktop, another window holds the focus until the game's window is restored.
    QWidget otherProgram;
    otherProgram.show();
    otherProgram.activateWindow();
    ASSERT_TRUE(RunEventLoopUntil([&] { return otherProgram.isActiveWindow(); }));
    FormMain->showNormal();
    FormMain->activateWindow();
    ASSERT_TRUE(RunEventLoopUntil([this] { return FormMain->RenderActive; }));
    RunFrames(3);
    EXPECT_EQ(FrameDeltaMs, ClockStep);
}

TEST_F(GameWindowTest, NewGameShowsTheTitleWithAResetGame) {
    StartAtTitle();
    StartPlaying();
    Options->Score = 40;
    for (const std::uint8_t from : {gsPlaying, gsPaused, gsGameOver, gsInterlude}) {
        GameState = from;
        Press(Qt::Key_F2);
        EXPECT_EQ(GameState, gsTitle);
        EXPECT_EQ(Options->Score, 0);
        EXPECT_EQ(Game->BallCount, 0);
        Options->Score = 40;
    }
    Press(Qt::Key_Space);
    EXPECT_EQ(GameState, gsPlaying);
    EXPECT_EQ(Options->Score, 0);
}

TEST_F(GameWindowTest, PauseResumeFromEveryStateNeverResumesAFinishedGame) {
    StartAtTitle();
    for (const std::uint8_t from : {gsTitle, gsPlaying, gsGameOver, gsInterlude}) {
        GameState = from;
        Press(Qt::Key_F3);
        EXPECT_EQ(GameState, gsPaused);
        EXPECT_EQ(SavedState, from);
        Press(Qt::Key_F3);
        const std::uint8_t resumed = from == gsInterlude ? std::uint8_t{gsPlaying} : from;
        EXPECT_EQ(GameState, resumed) << "paused from " << int(from);
    }
}

TEST_F(GameWindowTest, ViewKeysMoveTheCheckMarkInPlayAndOnPictures) {
    StartAtTitle();
    const std::array<std::pair<Qt::Key, QAction*>, 4> views{{{Qt::Key_F5, FormMain->Top1},
                                                             {Qt::Key_F6, FormMain->Halfside1},
                                                             {Qt::Key_F7, FormMain->Side1},
                                                             {Qt::Key_F8, FormMain->Corner1}}};
    for (const std::uint8_t state : {gsTitle, gsPlaying, gsPaused}) {
        GameState = state;
        for (std::size_t view = 0; view < views.size(); ++view) {
            Press(views[view].first);
            EXPECT_EQ(Options->View, view);
            for (const auto& [key, item] : views) {
                EXPECT_EQ(item->isChecked(), item == views[view].second);
            }
            EXPECT_EQ(GameState, state);
        }
    }
}

TEST_F(GameWindowTest, ArrowKeysTurnTheSlotOnlyInPlay) {
    StartAtTitle();
    Options->Difficulty = 1;
    Press(Qt::Key_Left);
    EXPECT_EQ(Game->Slot.Side, 0);
    Press(Qt::Key_Space);
    ASSERT_EQ(GameState, gsPlaying);
    Press(Qt::Key_Down);
    EXPECT_EQ(Game->Slot.Side, 2);
    Press(Qt::Key_Left);
    EXPECT_EQ(Game->Slot.Side, 3);
    EXPECT_EQ(GameState, gsPlaying);
}
