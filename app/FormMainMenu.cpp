#include "app/FormMain.h"

#include "audio/Music.h"
#include "core/Globals.h"
#include "core/Random.h"
#include "game/Game.h"
#include "platform/system/ApplicationError.h"
#include "platform/system/MessageBox.h"
#include "render/SceneResources.h"
#include "settings/ModalDialogPause.h"
#include "settings/Options.h"
#include "settings/dialogs/AboutBox.h"
#include "settings/dialogs/FormHighScores.h"
#include "settings/dialogs/WebLinks.h"

#include <QMenu>
#include <QMenuBar>

namespace {
constexpr const char* DifficultyMessage = "Start new game to apply changes. Press F2.";
} // namespace

void TFormMain::BuildMainMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setNativeMenuBar(false);
    // Each item's handler runs with its errors reported in the general error box.
    const auto item = [this](QMenu* menu, const QString& caption, auto handler,
                             const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(caption);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [this, handler] { Guarded(handler); });
        return action;
    };
    const auto checkItem = [this](QMenu* menu, const QString& caption, auto handler,
                                  const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(caption);
        action->setCheckable(true);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this,
                [this, handler, action] { Guarded([&] { handler(action); }); });
        return action;
    };

    QMenu* miGame1 = MainMenu1->addMenu(QStringLiteral("&Game"));
    miStartNew1 = item(
        miGame1, QStringLiteral("&New Game"), [this] { miStartNew1Click(); },
        QKeySequence(Qt::Key_F2));
    miPauseResumegame1 = item(
        miGame1, QStringLiteral("&Pause/Resume game"), [this] { miPauseResumegame1Click(); },
        QKeySequence(Qt::Key_F3));
    miGame1->addSeparator();
    miHighscores1 =
        item(miGame1, QStringLiteral("&High scores..."), [this] { miHighscores1Click(); });
    miReplays1 = miGame1->addMenu(QStringLiteral("&Replays"));
    connect(miReplays1, &QMenu::aboutToShow, this,
            [this] { Guarded([this] { FillReplaysMenu(); }); });
    miExit1 = item(miGame1, QStringLiteral("&Exit"), [this] { miExit1Click(); });

    QMenu* Options1 = MainMenu1->addMenu(QStringLiteral("&Options"));
    QMenu* Difficulty1 = Options1->addMenu(QStringLiteral("&Difficulty"));
    const auto difficulty = [this](QAction* chosen) { Easy1Click(chosen); };
    Easy1 = checkItem(Difficulty1, QStringLiteral("&Easy"), difficulty);
    Normal1 = checkItem(Difficulty1, QStringLiteral("&Normal"), difficulty);
    QMenu* View1 = Options1->addMenu(QStringLiteral("&View"));
    const auto view = [this](QAction* chosen) { Corner1Click(chosen); };
    Top1 = checkItem(View1, QStringLiteral("&Top"), view, QKeySequence(Qt::Key_F5));
    Halfside1 = checkItem(View1, QStringLiteral("&Half side"), view, QKeySequence(Qt::Key_F6));
    Side1 = checkItem(View1, QStringLiteral("&Side"), view, QKeySequence(Qt::Key_F7));
    Corner1 = checkItem(View1, QStringLiteral("&Corner"), view, QKeySequence(Qt::Key_F8));
    Options1->addSeparator();
    Sound1 = checkItem(Options1, QStringLiteral("Sounds"), [this](QAction*) { Sound1Click(); });
    Music1 = checkItem(Options1, QStringLiteral("Music"), [this](QAction*) { Music1Click(); });

    QMenu* Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    Homepage1 = item(
        Help1, QStringLiteral("&Home page..."), [this] { Homepage1Click(); },
        QKeySequence(Qt::Key_F1));
    Help1->addSeparator();
    QuillonGameHomepage1 = item(Help1, QStringLiteral("Quillon Game Homepage ..."),
                                [this] { QuillonGameHomepage1Click(); });
    QuillonGame1 =
        item(Help1, QStringLiteral("Download Quillon Game ..."), [this] { QuillonGame1Click(); });
    Help1->addSeparator();
    About1 = item(Help1, QStringLiteral("&About..."), [this] { About1Click(); });

    // As designed, until the settings are read.
    Normal1->setChecked(true);
    Top1->setChecked(true);
}

TOptionItems TFormMain::OptionItems() const {
    return {Top1, Halfside1, Side1, Corner1, Easy1, Normal1, Sound1, Music1};
}

void TFormMain::miStartNew1Click() {
    EndReplayForCommand();
    if (Game) {
        KeepUnfinishedGame();
        RunGameCommand({TCommandKind::MenuNew, 0});
    }
}

void TFormMain::miPauseResumegame1Click() {
    // Watching, the command only ends the replay.
    if (Watching.Playing()) {
        StopWatching();
    } else if (Game) {
        RunGameCommand({TCommandKind::MenuPause, 0});
    }
}

void TFormMain::miHighscores1Click() {
    EndReplayForCommand();
    {
        const TModalDialogPause pause;
        FormHighScores->ShowModal();
    }
    Recorder.Note({TCommandKind::Dialog, 0});
}

void TFormMain::miExit1Click() {
    close();
}

void TFormMain::Easy1Click(QAction* item) {
    EndReplayForCommand();
    Easy1->setChecked(false);
    Normal1->setChecked(false);
    item->setChecked(true);
    MessageBox(this, DifficultyMessage, ApplicationTitle(), MB_OK);
    ReadMenuChecks(*Options, OptionItems());
    Recorder.Note({TCommandKind::Difficulty, Options->Difficulty});
}

void TFormMain::Corner1Click(QAction* item) {
    EndReplayForCommand();
    for (QAction* viewItem : {Top1, Halfside1, Side1, Corner1}) {
        viewItem->setChecked(false);
    }
    item->setChecked(true);
    ReadMenuChecks(*Options, OptionItems());
    Recorder.Note({TCommandKind::View, Options->View});
}

// The menu has inverted the item's check mark as it was clicked.
void TFormMain::Sound1Click() {
    Options->SoundOn = Sound1->isChecked();
}

void TFormMain::Music1Click() {
    Options->MusicOn = Music1->isChecked();
    if (!AppClosing) {
        StopMusic();
        // The draw comes from the generator that deals the balls: a replay being watched
        // must not see it, a game being recorded keeps it (the recorder notes the new state).
        const std::uint32_t seed = RandSeed;
        const std::string track = NextMusicTrack();
        if (Watching.Playing()) {
            RandSeed = seed;
        }
        PlayMusic(track, this, 0);
    }
}

void TFormMain::Homepage1Click() {
    AboutBox->CopyrightClick();
}

void TFormMain::QuillonGameHomepage1Click() {
    OpenQuillonHomePage();
}

void TFormMain::QuillonGame1Click() {
    OpenQuillonDownload();
}

void TFormMain::About1Click() {
    AboutBox->exec();
}
