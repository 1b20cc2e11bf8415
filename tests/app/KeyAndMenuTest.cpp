// Key codes the game relies on, the check marks against the settings, and the bar picture.

#include "app/KeyCodes.h"
#include "app/LoadBarPicture.h"
#include "app/MenuChecks.h"
#include "settings/Options.h"

#include <QAction>
#include <QKeyEvent>

#include <gtest/gtest.h>

// Guards what counts as a key press of a character: only keys that type one, the control
// characters the game answers (Escape, Space) included, and not arrows, function keys or
// Delete.
TEST(KeyCodesTest, OnlyKeysThatTypeACharacterArePresses) {
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

TEST(MenuChecksTest, OutOfRangeSettingsCheckTheLastItemAndReadBackAsIt) {
    std::array<QAction, 8> actions;
    for (QAction& action : actions) {
        action.setCheckable(true);
    }
    const TOptionItems items{&actions[0], &actions[1], &actions[2], &actions[3],
                             &actions[4], &actions[5], &actions[6], &actions[7]};
    TOptions settings;
    settings.View = 9;
    settings.Difficulty = 7;
    ApplyMenuChecks(settings, items);
    EXPECT_TRUE(items.Corner1->isChecked());
    EXPECT_FALSE(items.Top1->isChecked());
    EXPECT_TRUE(items.Normal1->isChecked());
    EXPECT_FALSE(items.Easy1->isChecked());
    ReadMenuChecks(settings, items);
    EXPECT_EQ(settings.View, 3);
    EXPECT_EQ(settings.Difficulty, 1);
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
