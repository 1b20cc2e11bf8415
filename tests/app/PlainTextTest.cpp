// Every text the game shows comes out as written: a name, a score, a path or an error text that
// looks like markup must not be formatted, linked or make a label load a picture. Guards each
// label of every window and dialog, and the message box.

#include "platform/system/MessageBox.h"
#include "tests/app/EventLoop.h"
#include "tests/app/GameWindowFixture.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

TEST_F(GameWindowTest, EveryLabelAndMessageBoxShowsPlainText) {
    StartAtTitle();
    int labels = 0;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            ++labels;
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
        }
    }
    EXPECT_GT(labels, 15); // the main window's, the about box's and the table's

    SetMessageBoxHook({});
    Qt::TextFormat boxFormat = Qt::AutoText;
    QTimer::singleShot(0, [&boxFormat] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxFormat = box->textFormat();
            box->accept();
        }
    });
    MessageBox(nullptr, "<img src=\"/dev/zero\"><h1>name</h1>", "Error", MB_OK);
    EXPECT_EQ(boxFormat, Qt::PlainText);
}
