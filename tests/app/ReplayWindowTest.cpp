// Kept games in the window: the menu that lists them, watching one to its score without
// touching the table or the settings, a key that stops it, and a file refused in words.

#include "core/Globals.h"
#include "game/Game.h"
#include "platform/files/ProgramDirectory.h"
#include "settings/Options.h"
#include "settings/ScoreTable.h"
#include "tests/app/EventLoop.h"
#include "tests/app/GameWindowFixture.h"

#include <QMenu>

#include <filesystem>
#include <fstream>

namespace {
QStringList ItemTexts(QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << action->text();
    }
    return texts;
}
} // namespace

TEST_F(GameWindowTest, AGameIsKeptListedAndWatchedToItsScore) {
    StartAtTitle();
    const auto* game = qobject_cast<QMenu*>(FormMain->miHighscores1->associatedObjects().front());
    ASSERT_NE(game, nullptr);
    const auto at = [game](const QAction* action) { return game->actions().indexOf(action); };
    EXPECT_EQ(at(FormMain->miReplays1->menuAction()), at(FormMain->miHighscores1) + 1);
    EXPECT_EQ(at(FormMain->miExit1), at(FormMain->miHighscores1) + 2);
    EXPECT_EQ(FormMain->miReplays1->title(), "&Replays");
    emit FormMain->miReplays1->aboutToShow();
    EXPECT_EQ(ItemTexts(FormMain->miReplays1), QStringList{"No games kept yet"});

    StartPlaying();
    Press(Qt::Key_Left);
    RunFrames(60);
    Press(Qt::Key_Escape);
    RunFrames(10);
    Press(Qt::Key_X);
    RunFrames(60);
    const std::int32_t score = Options->Score;
    const std::int32_t balls = Game->BallSerial; // the balls dealt tell the timing was kept
    const std::uint8_t difficulty = Options->Difficulty;
    Press(Qt::Key_F2); // the game so far is the last game
    emit FormMain->miReplays1->aboutToShow();
    ASSERT_EQ(ItemTexts(FormMain->miReplays1), QStringList{"Last game"});

    const TScoreEntry best = ScoreTable->Entry(1);
    FormMain->miReplays1->actions().front()->trigger();
    ASSERT_TRUE(FormMain->WatchingReplay());
    RunFrames(5);
    EXPECT_EQ(GameState, gsPlaying);
    Press(Qt::Key_Space); // any key stops it
    EXPECT_FALSE(FormMain->WatchingReplay());
    EXPECT_EQ(GameState, gsTitle);

    Options->Difficulty = static_cast<std::uint8_t>(1 - difficulty); // changed since
    FormMain->miReplays1->actions().front()->trigger();
    ASSERT_TRUE(
        RunEventLoopUntil([this] { return !FormMain->WatchingReplay(); }, WholeGameLimitMs));
    EXPECT_EQ(Options->Score, score);
    EXPECT_EQ(Game->BallSerial, balls);
    EXPECT_GT(balls, 3);
    EXPECT_EQ(Options->Difficulty, 1 - difficulty); // the replay's own is gone
    EXPECT_EQ(GameState, gsTitle);
    EXPECT_EQ(ScoreTable->Entry(1).Score, best.Score);
    EXPECT_TRUE(Boxes.empty());

    const std::string damaged = ProgramDirectory() + "Replays/damaged.replay";
    std::ofstream(damaged) << "# zorbix replay 1\n# score 10\n# difficulty 1\n# date 0\nfly\n";
    FormMain->WatchReplay(damaged);
    ASSERT_NE(LastBox(), nullptr);
    EXPECT_EQ(LastBox()->Text,
              "The replay \"" + damaged + "\" cannot be watched: line 5: unknown command: fly.");
    EXPECT_FALSE(FormMain->WatchingReplay());
}
