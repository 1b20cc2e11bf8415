// The high-score dialog on its own: OK from the menu, naming a new entry with its suffix and
// cut, Clear with its confirmation, and the two Internet buttons.

#include "core/Globals.h"
#include "platform/files/ProgramDirectory.h"
#include "platform/system/ApplicationError.h"
#include "platform/system/MessageBox.h"
#include "platform/system/ShellOpen.h"
#include "settings/Options.h"
#include "settings/ScoreTable.h"
#include "settings/dialogs/FormHighScores.h"
#include "tests/app/EventLoop.h"
#include "tests/profile/TempDirectory.h"
#include "tests/settings/TableSummary.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {
constexpr const char* DefaultTable = "................ 5, ................ 4, ................ 3, "
                                     "................ 2, ................ 1";
}

class HighScoreDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramDirectory(Files.Path.string() + "/");
        SetApplicationTitle("Zorbix Freeware");
        SetMessageBoxHook([this](const TMessageBoxCall& call) {
            Boxes.push_back(call);
            return Answer;
        });
        SetAddressOpener([this](const std::string& address) { Opened.push_back(address); });
        Options = std::make_unique<TOptions>();
        GameState = gsPlaying;
        Dialog = std::make_unique<TFormHighScores>();
    }
    void TearDown() override {
        Dialog.reset();
        ScoreTable.reset();
        Options.reset();
        SetAddressOpener({});
        SetMessageBoxHook({});
        SetProgramDirectory({});
    }
    // Offers a score; the dialog opens for the name, and `inDialog` runs inside it.
    void OfferScore(std::int32_t score, const std::function<void()>& inDialog) {
        WhenReady([this] { return Dialog->isVisible(); }, inDialog);
        ScoreTable->AddScore(score);
    }
    std::string TableFile() const { return ProgramDirectory() + "HiScores.dat"; }

    TTempDirectory Files;
    std::unique_ptr<TFormHighScores> Dialog;
    std::vector<TMessageBoxCall> Boxes;
    int Answer = IDOK;
    std::vector<std::string> Opened;
};

TEST_F(HighScoreDialogTest, OkFromTheMenuRewritesTheUnchangedTable) {
    EXPECT_EQ(Dialog->NameLabels[4]->text(), "................");
    EXPECT_EQ(Dialog->ScoreLabels[0]->text(), "5");
    WhenReady([this] { return Dialog->isVisible(); },
              [this] {
                  EXPECT_FALSE(Dialog->EditName->isVisible());
                  QTest::keyClick(Dialog.get(), Qt::Key_Return);
              });
    Dialog->ShowModal();
    EXPECT_EQ(std::filesystem::file_size(TableFile()), 320u);
    TScoreTable reread(TableFile());
    reread.LoadTable();
    EXPECT_EQ(TableSummary(reread), DefaultTable);
}

TEST_F(HighScoreDialogTest, NewEntryIsNamedWithTheDifficultyAndWritten) {
    // A score equal to one in the table goes below it: 4 enters at rank 3, then 5 at rank 2.
    std::vector<int> editRows;
    for (const std::uint8_t difficulty : {0, 1}) {
        Options->Difficulty = difficulty;
        OfferScore(4 + difficulty, [&] {
            // The row whose name the box covers from top to bottom.
            const QRect box = Dialog->EditName->geometry();
            for (std::size_t row = 0; row < Dialog->NameLabels.size(); ++row) {
                const QRect name = Dialog->NameLabels[row]->geometry();
                if (box.top() <= name.top() && box.bottom() >= name.bottom()) {
                    editRows.push_back(static_cast<int>(row) + 1);
                }
            }
            EXPECT_TRUE(Dialog->EditName->hasFocus());
            EXPECT_EQ(GameState, gsPaused);
            QTest::keyClicks(Dialog->EditName, QStringLiteral("Ann"));
            QTest::keyClick(Dialog->EditName, Qt::Key_Return);
        });
        EXPECT_EQ(GameState, gsPlaying);
        EXPECT_EQ(Dialog->Tag, 0);
        EXPECT_TRUE(Dialog->EditName->text().isEmpty());
    }
    EXPECT_EQ(editRows, (std::vector<int>{3, 2}));
    EXPECT_EQ(ScoreTable->Entry(2).Name(), "Ann (normal)");
    EXPECT_EQ(ScoreTable->Entry(4).Name(), "Ann (easy)");
    TScoreTable reread(TableFile());
    reread.LoadTable();
    EXPECT_EQ(TableSummary(reread), TableSummary(*ScoreTable));
}

TEST_F(HighScoreDialogTest, CancelKeepsTheScoreUnnamedAndWritesNothing) {
    OfferScore(100, [this] { QTest::keyClick(Dialog.get(), Qt::Key_Escape); });
    EXPECT_EQ(ScoreTable->Entry(1).Score, 100);
    EXPECT_EQ(ScoreTable->Entry(1).Name(), "................");
    EXPECT_FALSE(std::filesystem::exists(TableFile()));
    EXPECT_FALSE(Dialog->EditName->isVisible());
}

TEST_F(HighScoreDialogTest, ClearAsksFirstAndOnYesShowsAndWritesTheDefaults) {
    OfferScore(100, [this] {
        Answer = IDNO;
        Dialog->Button3->click();
        EXPECT_EQ(ScoreTable->Entry(1).Score, 100);
        Answer = IDYES;
        Dialog->Button3->click();
        EXPECT_TRUE(Dialog->isVisible());
        EXPECT_EQ(Dialog->ScoreLabels[0]->text(), "5");
        Dialog->Button2->click();
    });
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0].Text, "Clear scores table?");
    EXPECT_EQ(Boxes[0].Type & 0x0F, MB_YESNO);
    TScoreTable reread(TableFile());
    reread.LoadTable();
    EXPECT_EQ(TableSummary(reread), DefaultTable);
}

TEST_F(HighScoreDialogTest, InternetButtonsTellWhatToDoAndOpenTheirLinks) {
    OfferScore(100, [this] {
        Dialog->Button4->click();
        EXPECT_TRUE(Dialog->isVisible());
        Dialog->Button5->click();
    });
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0].Text, "Please, attach file \"hiscores.dat\" from the game directory and "
                             "send it to scores@zorbix-games.example.");
    EXPECT_EQ(Boxes[1].Text, "Please, download file \"hiscores.dat\" from our website and save "
                             "it in the game directory.");
    EXPECT_EQ(Opened, (std::vector<std::string>{
                          "mailto:scores@zorbix-games.example?Subject=Zorbix high score",
                          "https://www.zorbix-games.example/zorbix/hiscores.dat"}));
    // Load results closes the dialog as OK but names and writes nothing.
    EXPECT_EQ(ScoreTable->Entry(1).Name(), "................");
    EXPECT_FALSE(std::filesystem::exists(TableFile()));
}

TEST_F(HighScoreDialogTest, UnwritableTableIsReportedAndTheDialogStillCloses) {
    std::filesystem::create_directory(TableFile());
    OfferScore(100, [this] { QTest::keyClick(Dialog->EditName, Qt::Key_Return); });
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Type, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(Dialog->isVisible());
}
