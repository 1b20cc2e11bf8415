// Start-up and loading through the real main window: the bar's widths painted in order, a
// failed step reported once with nothing drawn, and the high-score dialog at game over.

#include "core/Globals.h"
#include "game/Game.h"
#include "game/Sides.h"
#include "platform/files/ProgramDirectory.h"
#include "render/Direct3D.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "settings/ScoreTable.h"
#include "tests/app/EventLoop.h"
#include "tests/app/GameWindowFixture.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <filesystem>

namespace {
// Records the bar's width at every paint.
class TPaintedWidths : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            Widths.push_back(static_cast<QWidget*>(watched)->width());
        }
        return false;
    }
    std::vector<int> Widths;
};
} // namespace

TEST_F(GameWindowTest, LoadingBarIsPaintedAtEachStepInOrder) {
    StartProgram();
    TPaintedWidths painted;
    FormMain->ImageBar->installEventFilter(&painted);
    ASSERT_TRUE(RunEventLoopUntil([] { return GameState == gsTitle; }));
    std::vector<int> steps;
    for (const int width : painted.Widths) {
        if (width != 5 && (steps.empty() || steps.back() != 160)) {
            steps.push_back(width);
        }
    }
    EXPECT_EQ(steps, (std::vector<int>{15, 50, 90, 130, 130, 140, 145, 150, 160}));
    EXPECT_EQ(FormMain->windowTitle(), "Zorbix Freeware");
    EXPECT_TRUE(Boxes.empty());
    const QLabel& label = *FormMain->Label1;
    EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text().trimmed()), label.width());
}

TEST_F(GameWindowTest, FailedLoadingStepIsReportedOnceAndNothingIsDrawn) {
    const std::string missing = ProgramDirectory() + "Images/frame.bmp";
    std::filesystem::remove(missing);
    StartProgram();
    FormMain->activateWindow();
    ASSERT_TRUE(RunEventLoopUntil([this] { return FormMain->Terminated(); }));
    RunEventLoop(100);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Cannot open file " + missing);
    EXPECT_EQ(Boxes[0].Caption, "Zorbix Freeware");
    EXPECT_EQ(Boxes[0].Type, MB_OK | MB_ICONERROR);
    EXPECT_EQ(GameState, gsLoading);
    EXPECT_EQ(FormMain->FramesDrawn, 0u);
}

TEST_F(GameWindowTest, FailedPictureConversionEndsBeforeTheDevice) {
    const std::string missing = ProgramDirectory() + "Images/nag.jpg";
    std::filesystem::remove(missing);
    StartProgram();
    EXPECT_TRUE(FormMain->Terminated());
    RunEventLoop(100);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Cannot open file " + missing);
    EXPECT_EQ(GameState, gsLoading);
    EXPECT_FALSE(Direct3DDevice);
}

TEST_F(GameWindowTest, MissingSoundCollectionStopsTheLoading) {
    const std::string missing = ProgramDirectory() + "Sounds.dxw";
    std::filesystem::remove(missing);
    StartProgram();
    ASSERT_TRUE(RunEventLoopUntil([this] { return FormMain->Terminated(); }));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Cannot open file " + missing);
    EXPECT_EQ(GameState, gsLoading);
}

TEST_F(GameWindowTest, GameOverAsksForTheNameAndWritesTheTable) {
    StartAtTitle();
    Press(Qt::Key_Space);
    ASSERT_EQ(GameState, gsPlaying);
    ClockStep = 100;

    bool dialogSeen = false;
    std::uint8_t stateInDialog = 0;
    WhenReady(
        [this] { return FormHighScores->isVisible() && FormHighScores->EditName->isVisible(); },
        [&] {
            dialogSeen = true;
            stateInDialog = GameState;
            QTest::keyClicks(FormHighScores->EditName, QStringLiteral("Ann"));
            QTest::keyClick(FormHighScores->EditName, Qt::Key_Return);
        },
        WholeGameLimitMs);

    // Catch the first ball, then let every other one go by.
    ASSERT_TRUE(RunEventLoopUntil(
        [this] {
            if (GameState == gsInterlude) {
                Press(Qt::Key_N);
            } else if (GameState == gsPlaying && Options->Score == 0 && Game->BallCount > 0 &&
                       Game->Slot.Side != Game->Balls[0].Side) {
                constexpr std::array<Qt::Key, 4> sideKeys{Qt::Key_Up, Qt::Key_Right, Qt::Key_Down,
                                                          Qt::Key_Left};
                Press(sideKeys[Game->Balls[0].Side]);
            }
            return GameState == gsGameOver;
        },
        WholeGameLimitMs));
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(stateInDialog, gsPaused);
    EXPECT_GE(Options->Score, 10);
    EXPECT_EQ(ScoreTable->Entry(1).Score, Options->Score);
    EXPECT_EQ(ScoreTable->Entry(1).Name(), "Ann (normal)");
    EXPECT_EQ(std::filesystem::file_size(ProgramDirectory() + "HiScores.dat"), 320u);
    EXPECT_FALSE(FormHighScores->EditName->isVisible());
    EXPECT_EQ(FormHighScores->Tag, 0);
}

namespace {
// Posts `events` to the main window once, while the bar paints the title picture's step,
// so that they wait in the queue as the player's would while loading runs.
class TPostDuringLoading : public QObject {
public:
    TPostDuringLoading(QWidget* window, std::vector<QEvent*> events)
        : Window(window), Events(std::move(events)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && static_cast<QWidget*>(watched)->width() == 50) {
            for (QEvent* posted : Events) {
                QCoreApplication::postEvent(Window, posted);
            }
            Events.clear();
        }
        return false;
    }

private:
    QWidget* Window;
    std::vector<QEvent*> Events;
};

QEvent* KeyA() {
    return new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
}
} // namespace

// Guards the rule that keys pressed while loading runs have no effect: they waited in the
// queue and started a game on the title picture.
TEST_F(GameWindowTest, KeysPressedWhileLoadingRunsHaveNoEffect) {
    StartProgram();
    TPostDuringLoading poster(FormMain.get(), {KeyA(), KeyA()});
    FormMain->ImageBar->installEventFilter(&poster);
    ASSERT_TRUE(RunEventLoopUntil([] { return GameState == gsTitle; }));
    RunFrames(3);
    EXPECT_EQ(GameState, gsTitle);
}

// Guards against a crash: a close of the window while loading ran, followed by a key, reached
// a game that the close had already released.
TEST_F(GameWindowTest, CloseAndKeyWhileLoadingRunsEndTheProgramCleanly) {
    StartProgram();
    TPostDuringLoading poster(FormMain.get(), {new QCloseEvent, KeyA()});
    FormMain->ImageBar->installEventFilter(&poster);
    RunEventLoop(2000);
    EXPECT_EQ(GameState, gsLoading);
    EXPECT_EQ(FormMain->FramesDrawn, 0u);
    EXPECT_TRUE(Boxes.empty());
}
