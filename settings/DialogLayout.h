#pragma once
// The dialogs are laid out in fixed pixels, as designed, in the small sans face that their
// sizes were made for.

#include <QFont>
#include <QWidget>

// About 8 points at 96 dots per inch: the dialogs' rows are 13 pixels a line.
constexpr int DialogFontPixels = 11;

inline QFont DialogFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(DialogFontPixels);
    return font;
}

inline void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
}

// A dialog of a fixed client size with no resize grip and no help button.
inline void MakeFixedDialog(QWidget* dialog, const QString& caption, int width, int height) {
    dialog->setWindowTitle(caption);
    dialog->setFont(DialogFont());
    dialog->setFixedSize(width, height);
    dialog->setWindowFlags((dialog->windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                           ~Qt::WindowContextHelpButtonHint);
}
