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

// Guards the caption of a box with a short text: a window manager cut "Zorbix Freeware" over
// "Disk full" to "Zo... e", so the box is wider than the caption itself.
TEST_F(GameWindowTest, AMessageBoxIsWideEnoughForItsCaption) {
    SetMessageBoxHook({});
    const QString caption = QStringLiteral("Zorbix Freeware");
    int width = 0;
    int captionWidth = 0;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            width = box->width();
            captionWidth = box->fontMetrics().horizontalAdvance(caption);
            box->accept();
        }
    });
    MessageBox(nullptr, "Disk full", caption.toStdString(), MB_OK | MB_ICONERROR);
    EXPECT_GT(width, captionWidth * 13 / 10 + 100);
}
