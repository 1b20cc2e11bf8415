// The game states driven through the real main window: its keys and shortcuts reaching the
// game's flow, pausing with its zero delta, deactivation, and the view keys.

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

// The rules themselves are the game's flow's (tested with the model); here, that each way a
// key comes through the window reaches them: a character key as a press, Escape, a key down,
// and the F2 and F3 shortcuts as the menu commands.
TEST_F(GameWindowTest, KeysAndShortcutsReachTheGamesFlow) {
    StartAtTitle();
    Options->Difficulty = 1;
    const std::vector<TKeyRow> rows{
        {gsTitle, gsTitle, Qt::Key_Left, gsTitle},
        {gsTitle, gsGameOver, Qt::Key_Z, gsPlaying},
        {gsPlaying, gsTitle, Qt::Key_Down, gsPlaying},
        {gsPlaying, gsTitle, Qt::Key_Escape, gsPaused},
        {gsPaused, gsPlaying, Qt::Key_B, gsPlaying},
        {gsGameOver, gsTitle, Qt::Key_F3, gsPaused},
        {gsPaused, gsGameOver, Qt::Key_F3, gsGameOver},
        {gsInterlude, gsPlaying, Qt::Key_F2, gsTitle},
    };
    for (const TKeyRow& row : rows) {
        GameState = row.From;
        SavedState = row.Saved;
        Options->Score = 70;
        Press(row.Key);
        EXPECT_EQ(GameState, row.To) << "from " << int(row.From) << " with key " << row.Key;
        const bool freshGame =
            row.Key == Qt::Key_F2 || (row.From == gsTitle && row.To == gsPlaying);
        EXPECT_EQ(Options->Score, freshGame ? 0 : 70) << "key " << row.Key;
    }
    EXPECT_EQ(Game->Slot.Side, 2); // Down, in play only
    EXPECT_TRUE(OpenedAddresses.empty());
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
