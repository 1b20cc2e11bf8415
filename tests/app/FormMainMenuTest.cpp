// The menu commands through the real main window: the difficulty message, the settings
// written at close and read at the next start, the toggles, the dialogs with the game going
// on (or paused) behind them, the web links and the square client area.

#include "audio/Music.h"
#include "core/Globals.h"
#include "game/Game.h"
#include "platform/files/ProgramDirectory.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "tests/app/EventLoop.h"
#include "tests/app/GameWindowFixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <bit>

namespace {
constexpr const char* DifficultyText = "Start new game to apply changes. Press F2.";
}

TEST_F(GameWindowTest, DifficultyMessageOnEveryClickAfterTheMarkHasMoved) {
    StartAtTitle();
    std::vector<bool> easyCheckedAtMessage;
    SetMessageBoxHook([&](const TMessageBoxCall& call) {
        Boxes.push_back(call);
        easyCheckedAtMessage.push_back(FormMain->Easy1->isChecked());
        return IDOK;
    });
    FormMain->Easy1->trigger();
    FormMain->Easy1->trigger();
    FormMain->Normal1->trigger();
    ASSERT_EQ(Boxes.size(), 3u);
    for (const TMessageBoxCall& box : Boxes) {
        EXPECT_EQ(box.Text, DifficultyText);
        EXPECT_EQ(box.Caption, "Zorbix Freeware");
        EXPECT_EQ(box.Type, MB_OK);
    }
    EXPECT_EQ(easyCheckedAtMessage, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(Options->Difficulty, 1);
    EXPECT_TRUE(FormMain->Normal1->isChecked());
    EXPECT_FALSE(FormMain->Easy1->isChecked());
}

TEST_F(GameWindowTest, SettingsAreWrittenAtCloseAndShownAtTheNextStart) {
    StartAtTitle();
    Press(Qt::Key_F7);
    FormMain->Easy1->trigger();
    FormMain->Sound1->trigger();
    const bool soundOn = FormMain->Sound1->isChecked();
    const bool musicOn = FormMain->Music1->isChecked();
    EndProgram();
    EXPECT_TRUE(AppClosing);
    ASSERT_TRUE(std::filesystem::exists(ProgramDirectory() + "Options.ini"));

    AppClosing = false;
    GameState = gsLoading;
    StartAtTitle();
    EXPECT_TRUE(FormMain->Side1->isChecked());
    EXPECT_TRUE(FormMain->Easy1->isChecked());
    EXPECT_FALSE(FormMain->Normal1->isChecked());
    EXPECT_EQ(FormMain->Sound1->isChecked(), soundOn);
    EXPECT_EQ(FormMain->Music1->isChecked(), musicOn);
    EXPECT_EQ(Options->View, 2);
}

TEST_F(GameWindowTest, SettingsThatCannotBeWrittenAreReportedAndTheWindowStillCloses) {
    StartAtTitle();
    std::filesystem::create_directory(ProgramDirectory() + "Options.ini");
    FormMain->close();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Unable to write to " + ProgramDirectory() + "Options.ini");
    EXPECT_EQ(Boxes[0].Type, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(FormMain->isVisible());
    EXPECT_TRUE(AppClosing);
}

TEST_F(GameWindowTest, SoundsToggleFollowsItsCheckMark) {
    StartAtTitle();
    const bool before = Options->SoundOn;
    FormMain->Sound1->trigger();
    EXPECT_EQ(Options->SoundOn, !before);
    EXPECT_EQ(FormMain->Sound1->isChecked(), !before);
    FormMain->Sound1->trigger();
    EXPECT_EQ(Options->SoundOn, before);
}

TEST_F(GameWindowTest, MusicToggleDrawsATrackOnEveryClickUntilClosing) {
    StartAtTitle();
    const auto undrawn = [] { return std::popcount(static_cast<unsigned>(UnplayedTracks)); };
    ASSERT_EQ(undrawn(), 2);
    const bool before = Options->MusicOn;
    FormMain->Music1->trigger();
    EXPECT_EQ(Options->MusicOn, !before);
    EXPECT_EQ(undrawn(), 1);
    FormMain->Music1->trigger();
    EXPECT_EQ(Options->MusicOn, before);
    EXPECT_EQ(undrawn(), 0);

    AppClosing = true;
    FormMain->Music1->trigger();
    EXPECT_EQ(undrawn(), 0);
}

TEST_F(GameWindowTest, WebCommandsOpenTheirAddresses) {
    StartAtTitle();
    Press(Qt::Key_F1);
    FormMain->QuillonGameHomepage1->trigger();
    FormMain->QuillonGame1->trigger();
    AboutBox->Label1Click();
    EXPECT_EQ(OpenedAddresses, (std::vector<std::string>{
                                   "https://www.zorbix-games.example/zorbix.shtml",
                                   "https://www.zorbix-games.example/quillon.shtml",
                                   "https://www.zorbix-games.example/files/quillon.exe",
                                   "https://www.zorbix-games.example/quillon.shtml",
                               }));
}

TEST_F(GameWindowTest, HighScoresPauseThePlayAndResumeItOnClosing) {
    StartAtTitle();
    StartPlaying();
    for (const std::uint8_t from : {gsPlaying, gsPaused}) {
        if (from == gsPaused) {
            Press(Qt::Key_Escape);
        }
        std::uint8_t stateInDialog = 0;
        std::uint64_t framesInDialog = 0;
        WhenReady([this] { return FormHighScores->isVisible(); },
                  [&] {
                      const std::uint64_t opened = FormMain->FramesDrawn;
                      stateInDialog = GameState;
                      RunEventLoopUntil([&] { return FormMain->FramesDrawn > opened + 3; });
                      framesInDialog = FormMain->FramesDrawn - opened;
                      FormHighScores->Button2->click();
                  });
        FormMain->miHighscores1->trigger();
        EXPECT_EQ(stateInDialog, gsPaused);
        EXPECT_GT(framesInDialog, 3u);
        EXPECT_EQ(GameState, gsPlaying);
    }
}

TEST_F(GameWindowTest, GameGoesOnBehindTheAboutBoxAndARealMessageBox) {
    StartAtTitle();
    StartPlaying();
    const auto closeModalAfterFrames = [this](const std::function<void()>& close) {
        WhenReady([] { return QApplication::activeModalWidget() != nullptr; },
                  [this, close] {
                      const float elapsed = Game->Elapsed;
                      const std::uint64_t opened = FormMain->FramesDrawn;
                      RunEventLoopUntil([&] { return FormMain->FramesDrawn > opened + 5; });
                      EXPECT_GT(Game->Elapsed, elapsed);
                      EXPECT_EQ(GameState, gsPlaying);
                      close();
                  });
    };
    const std::uint64_t before = FormMain->FramesDrawn;
    closeModalAfterFrames([this] { AboutBox->OKButton->click(); });
    FormMain->About1->trigger();
    EXPECT_GT(FormMain->FramesDrawn, before + 5);

    SetMessageBoxHook({});
    const std::uint64_t beforeMessage = FormMain->FramesDrawn;
    closeModalAfterFrames([] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text().toStdString(), DifficultyText);
        box->button(QMessageBox::Ok)->click();
    });
    FormMain->Easy1->trigger();
    EXPECT_GT(FormMain->FramesDrawn, beforeMessage + 5);
    EXPECT_EQ(Options->Difficulty, 0);
}

TEST_F(GameWindowTest, ClientAreaStaysSquare) {
    StartAtTitle();
    EXPECT_EQ(FormMain->ClientArea->width(), FormMain->ClientArea->height());
    FormMain->resize(FormMain->width() + 150, FormMain->height());
    ASSERT_TRUE(RunEventLoopUntil(
        [this] { return FormMain->ClientArea->width() == FormMain->ClientArea->height(); }));
    const int side = FormMain->ClientArea->height();
    FormMain->resize(FormMain->width(), FormMain->height() - 100);
    ASSERT_TRUE(RunEventLoopUntil([&] {
        return FormMain->ClientArea->height() == side - 100 &&
               FormMain->ClientArea->width() == side - 100;
    }));
    EXPECT_EQ(FormMain->windowTitle(), "Zorbix Freeware");
}
