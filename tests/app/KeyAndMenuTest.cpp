// Key codes the game relies on, the check marks against the settings, and the bar picture.

#include "app/KeyCodes.h"
#include "app/LoadBarPicture.h"
#include "app/MenuChecks.h"
#include "settings/Options.h"

#include <QAction>
#include <QKeyEvent>

#include <gtest/gtest.h>

TEST(KeyCodesTest, ArrowsAndCharacterKeysHaveTheirCodes) {
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Left), 37);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Up), 38);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Right), 39);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_Down), 40);
    EXPECT_EQ(VirtualKeyCode(Qt::Key_A), 'A');
    EXPECT_EQ(VirtualKeyCode(Qt::Key_F8), 119);

    const auto character = [](Qt::Key key, const QString& text) {
        return KeyPressCharacter(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    };
    EXPECT_EQ(character(Qt::Key_Escape, QString()), 27);
    EXPECT_EQ(character(Qt::Key_Space, QStringLiteral(" ")), 32);
    EXPECT_EQ(character(Qt::Key_A, QStringLiteral("a")), 'a');
    EXPECT_EQ(character(Qt::Key_Left, QString()), std::nullopt);
    EXPECT_EQ(character(Qt::Key_F2, QString()), std::nullopt);
    EXPECT_EQ(character(Qt::Key_Delete, QStringLiteral("\x7f")), std::nullopt);
}

class MenuChecksTest : public ::testing::Test {
protected:
    MenuChecksTest() {
        for (QAction* action : Actions) {
            action->setCheckable(true);
        }
    }
    ~MenuChecksTest() override {
        for (QAction* action : Actions) {
            delete action;
        }
    }
    std::array<QAction*, 8> Actions{new QAction, new QAction, new QAction, new QAction,
                                    new QAction, new QAction, new QAction, new QAction};
    TOptionItems Items{Actions[0], Actions[1], Actions[2], Actions[3],
                       Actions[4], Actions[5], Actions[6], Actions[7]};
    TOptions Settings;
};

TEST_F(MenuChecksTest, ApplyThenReadGivesTheSettingsBack) {
    for (std::uint8_t view = 0; view < 4; ++view) {
        TOptions original;
        original.View = view;
        original.Difficulty = view % 2;
        original.SoundOn = view < 2;
        original.MusicOn = view % 3 == 0;
        ApplyMenuChecks(original, Items);
        ReadMenuChecks(Settings, Items);
        EXPECT_EQ(Settings.View, view);
        EXPECT_EQ(Settings.Difficulty, original.Difficulty);
        EXPECT_EQ(Settings.SoundOn, original.SoundOn);
        EXPECT_EQ(Settings.MusicOn, original.MusicOn);
    }
}

TEST_F(MenuChecksTest, OutOfRangeSettingsCheckTheLastItem) {
    Settings.View = 9;
    Settings.Difficulty = 7;
    ApplyMenuChecks(Settings, Items);
    EXPECT_TRUE(Items.Corner1->isChecked());
    EXPECT_FALSE(Items.Top1->isChecked());
    EXPECT_TRUE(Items.Normal1->isChecked());
    EXPECT_FALSE(Items.Easy1->isChecked());
}

TEST_F(MenuChecksTest, ReadKeepsAGroupWithoutCheckAndLetsTheLastCheckedWin) {
    Settings.View = 2;
    Settings.Difficulty = 1;
    Items.Halfside1->setChecked(false);
    Items.Top1->setChecked(false);
    ReadMenuChecks(Settings, Items);
    EXPECT_EQ(Settings.View, 2);
    EXPECT_EQ(Settings.Difficulty, 1);

    Items.Top1->setChecked(true);
    Items.Side1->setChecked(true);
    Items.Easy1->setChecked(true);
    Items.Normal1->setChecked(true);
    ReadMenuChecks(Settings, Items);
    EXPECT_EQ(Settings.View, 2);
    EXPECT_EQ(Settings.Difficulty, 1);
}

TEST(LoadBarPictureTest, GreenCylinderBrightestInTheSeventhRow) {
    const QImage bar = MakeLoadBarPicture();
    ASSERT_EQ(bar.size(), QSize(5, 15));
    EXPECT_EQ(bar.pixel(0, 0), qRgb(8, 113, 1));
    EXPECT_EQ(bar.pixel(4, 6), qRgb(89, 255, 99));
    EXPECT_EQ(bar.pixel(2, 14), qRgb(0, 81, 0));
    for (int row = 1; row < 15; ++row) {
        const int green = qGreen(bar.pixel(0, row));
        const int above = qGreen(bar.pixel(0, row - 1));
        EXPECT_TRUE(row <= 6 ? green > above : green < above) << "row " << row;
    }
}
