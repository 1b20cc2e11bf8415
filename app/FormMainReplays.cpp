#include "app/FormMain.h"

#include "core/GameError.h"
#include "core/Globals.h"
#include "core/Random.h"
#include "game/Game.h"
#include "game/GameFlow.h"
#include "game/ReplayCheck.h"
#include "platform/files/GameFilePlaces.h"
#include "platform/system/ApplicationError.h"
#include "platform/system/MessageBox.h"
#include "settings/DateTime.h"
#include "settings/Options.h"
#include "settings/ReplayStore.h"
#include "settings/ScoreTable.h"
#include "settings/dialogs/NameEntryFilter.h"

#include <QMenu>

#include <algorithm>
#include <iostream>

namespace {
// A menu item's text shows every character as it stands; '&' alone would mark a shortcut.
QString MenuItemText(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// The row as the table shows it; its name ends with the difficulty the dialog added.
QString KeptGameText(const TKeptGame& game) {
    return QString::number(game.Rank) + QStringLiteral(". ") + StoredNameText(game.Header.Name) +
           QLatin1Char(' ') + QString::number(game.Header.Score);
}

void RefuseReplay(QWidget* owner, const std::string& path, const std::string& reason) {
    MessageBox(owner, "The replay \"" + path + "\" cannot be watched: " + reason + ".",
               ApplicationTitle(), MB_OK);
}
} // namespace

std::string TFormMain::ReplaysDirectory() {
    return GameFilePlaces().ReplaysDirectory;
}

void TFormMain::RunGameCommand(TGameCommand command, const std::function<void()>& openHomePage) {
    Recorder.Apply(*Game, command, openHomePage);
}

void TFormMain::KeepRecordedGame(std::int32_t score, std::optional<double> entered) {
    TReplayHeader header;
    header.Score = score;
    header.Date = entered.value_or(LocalDateTimeNow());
    // The row as the dialog left it: named, or still with the name of the place it took.
    if (const int rank = entered ? ScoreTable->RankOf(score, *entered) : 0; rank > 0) {
        header.Name = ScoreTable->Entry(rank).Name();
    }
    const TReplay replay = Recorder.Finish(header);
    // The game and its score stand whatever happens to its replay.
    const std::string directory = ReplaysDirectory();
    if (const std::error_code error = TReplayStore(directory).Keep(replay, *ScoreTable)) {
        std::cerr << "zorbix: the replay of this game could not be kept in " << directory << ": "
                  << error.message() << "\n";
    }
}

void TFormMain::KeepUnfinishedGame() {
    if (Recorder.Recording()) {
        KeepRecordedGame(Options->Score, std::nullopt);
    }
}

void TFormMain::WatchReplay(const std::string& path) {
    EndReplayForCommand();
    if (!Game || GameState == gsLoading) {
        return;
    }
    TReplay replay;
    try {
        replay = LoadReplayFile(path);
    } catch (const EGameError& error) {
        RefuseReplay(this, path, error.what());
        return;
    }
    const TReplayOutcome outcome = ReplayHeadless(replay.Commands);
    if (outcome.Score != replay.Header.Score) {
        RefuseReplay(this, path,
                     "it does not come to the score it records (it records " +
                         std::to_string(replay.Header.Score) + ", it comes to " +
                         std::to_string(outcome.Score) + ")");
        return;
    }
    KeepUnfinishedGame();
    DifficultyBeforeReplay = Options->Difficulty;
    ViewBeforeReplay = Options->View;
    WatchedFile = path;
    FlowToTitle();
    Watching.Start(std::move(replay.Commands));
}

void TFormMain::AdvanceWatching(std::uint32_t elapsedMs) {
    if (!Watching.Advance(*Game, elapsedMs)) {
        if (PrintWatchedScore) {
            std::cout << "zorbix: the replay \"" << WatchedFile << "\" came to " << Options->Score
                      << "\n"
                      << std::flush;
            PrintWatchedScore = false;
        }
        StopWatching();
    }
}

void TFormMain::StopWatching() {
    Watching.Stop();
    Options->Difficulty = DifficultyBeforeReplay;
    Options->View = ViewBeforeReplay;
    FlowToTitle();
}

void TFormMain::EndReplayForCommand() {
    if (Watching.Playing()) {
        StopWatching();
    }
}

void TFormMain::FillReplaysMenu() {
    miReplays1->clear();
    const TKeptGames kept = TReplayStore(ReplaysDirectory()).List(*ScoreTable);
    for (const TKeptGame& game : kept.Ranked) {
        const std::string path = game.Path;
        connect(miReplays1->addAction(MenuItemText(KeptGameText(game))), &QAction::triggered, this,
                [this, path] { Guarded([&] { WatchReplay(path); }); });
    }
    if (kept.Last) {
        const std::string path = kept.Last->Path;
        connect(miReplays1->addAction(QStringLiteral("Last game")), &QAction::triggered, this,
                [this, path] { Guarded([&] { WatchReplay(path); }); });
    }
    if (miReplays1->isEmpty()) {
        miReplays1->addAction(QStringLiteral("No games kept yet"))->setEnabled(false);
    }
}
