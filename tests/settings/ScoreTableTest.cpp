#include "core/Globals.h"
#include "settings/DateTime.h"
#include "settings/HighScoreDialog.h"
#include "tests/settings/TableSummary.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

// Stands in for the dialog, rows 26 pixels apart from 40 as in the real one, and remembers
// what the table did to it and the game state while it was open.
struct TDialogRecorder : IHighScoreDialog {
    void ShowRow(int rank, const std::string& name, const std::string& score) override {
        Rows.at(static_cast<std::size_t>(rank - 1)) = name + " " + score;
    }
    int NameLabelTop(int rank) const override { return 40 + 26 * (rank - 1); }
    void ShowNameEditor(int top) override { EditorTop = top; }
    void ClearNameEditor() override { EditorCleared = true; }
    void SetTag(int tag) override { Tag = tag; }
    void ShowModal() override {
        ++ModalCount;
        StateWhileOpen = GameState;
        TagWhileOpen = Tag;
        Player();
    }

    std::array<std::string, ScoreRankCount> Rows;
    int EditorTop = -1, Tag = 0, ModalCount = 0, StateWhileOpen = -1, TagWhileOpen = -1;
    bool EditorCleared = false;
    std::function<void()> Player = [] {}; // what the player does while the dialog is open
};

// Names A to E from the top over the default scores 5 down to 1, just after a game over.
class TScoreTableTest : public ::testing::Test {
protected:
    TScoreTableTest() : Table("unused") {
        Table.AttachDialog(&Dialog);
        for (int rank = 1; rank <= ScoreRankCount; ++rank) {
            Table.StoreName(rank, std::string(1, static_cast<char>('A' + rank - 1)));
        }
        GameState = gsGameOver;
        SavedState = gsPlaying;
    }

    TDialogRecorder Dialog;
    TScoreTable Table;
};

} // namespace

// Guards the rank rule at its edges: nothing at or below the last score, ties below the
// older entry, and the taken place keeping its old name until the player names it.
TEST_F(TScoreTableTest, EntersScoresBelowEqualOnesAndMovesTheRestDown) {
    Table.AddScore(1);
    Table.AddScore(0);
    EXPECT_EQ(Dialog.ModalCount, 0);
    const double before = LocalDateTimeNow();
    Table.AddScore(4);
    EXPECT_EQ(TableSummary(Table), "A 5, B 4, C 4, C 3, D 2");
    EXPECT_GE(Table.Entry(3).Date, before);
    Table.AddScore(5);
    EXPECT_EQ(TableSummary(Table), "A 5, B 5, B 4, C 4, C 3");
    Table.AddScore(10);
    Table.AddScore(5);
    EXPECT_EQ(TableSummary(Table), "A 10, A 5, B 5, B 5, B 4");
    EXPECT_EQ(Dialog.ModalCount, 4);
}

// Guards the modal pattern: the game paused while the dialog is open, the name box over the
// new row, a typed name cut to 50 characters, and state, Tag and box put back afterwards,
// even when the dialog fails.
TEST_F(TScoreTableTest, PausesTheGameAroundTheDialogAndRestoresEverythingAfterwards) {
    Dialog.Player = [&] { Table.StoreName(Dialog.Tag, std::string(60, 'n') + " (easy)"); };
    Table.AddScore(3);
    EXPECT_EQ(Dialog.StateWhileOpen, gsPaused);
    EXPECT_EQ(Dialog.TagWhileOpen, 4);
    EXPECT_EQ(Dialog.EditorTop, 34 + 26 * 3);
    EXPECT_EQ(GameState, gsGameOver);
    EXPECT_EQ(SavedState, gsGameOver);
    EXPECT_EQ(Dialog.Tag, 0);
    EXPECT_TRUE(Dialog.EditorCleared);
    EXPECT_EQ(Dialog.Rows[3], std::string(50, 'n') + " 3");
    EXPECT_THROW(Table.StoreName(6, "x"), std::out_of_range);

    GameState = gsPaused;
    SavedState = gsInterlude;
    Dialog.Player = [] { throw std::runtime_error("dialog failed"); };
    EXPECT_THROW(Table.AddScore(100), std::runtime_error);
    EXPECT_EQ(GameState, gsInterlude);
    EXPECT_EQ(SavedState, gsInterlude);
    EXPECT_EQ(Dialog.Tag, 0);
}

TEST_F(TScoreTableTest, EntersScoresWithoutPausingWhenNoDialogIsAttached) {
    Table.AttachDialog(nullptr);
    Table.AddScore(2);
    EXPECT_EQ(TableSummary(Table) + " " + std::to_string(GameState), "A 5, B 4, C 3, D 2, E 2 3");
}
