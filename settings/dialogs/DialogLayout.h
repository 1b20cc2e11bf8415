#pragma once
// The dialogs are laid out in pixels for a face whose letters average 6 pixels across and
// whose lines are 13 pixels high, the face their sizes were made for. They are shown in the
// face the system gives them, with every place and size scaled across by how much wider that
// face's letters are and down by how much taller its lines are, so the layout keeps its
// proportions to its texts. A control whose text still does not fit grows, and the controls
// beside or below it move along; a panel and the dialog grow to hold what they hold.

#include <QRect>

#include <vector>

class QDialog;
class QString;
class QWidget;

class TDialogLayout {
public:
    // Measures the dialog's face and gives the dialog its caption and a fixed frame.
    TDialogLayout(QDialog* dialog, const QString& caption, int clientWidth, int clientHeight);

    // Places `widget`, a child of the dialog or of a panel placed before it, at its rectangle
    // in the unscaled pixels of its parent.
    void Place(QWidget* widget, int left, int top, int width, int height);
    // Places a control that lies over others, such as a box shown over a row: it grows with
    // its text but moves nothing.
    void PlaceOver(QWidget* widget, int left, int top, int width, int height);
    // A length across or down, scaled as the rectangles are.
    int Across(int pixels) const;
    int Down(int pixels) const;

    // Grows what needs growing and fixes the dialog's size. Runs once, after every Place,
    // with the texts and fonts of the controls set.
    void Finish();

private:
    struct TItem {
        QWidget* Widget;
        QRect Design;
        QRect Scaled;
        bool Over;
    };
    QRect Scale(const QRect& design) const;

    QDialog* Dialog;
    QRect Client;
    double ScaleX;
    double ScaleY;
    std::vector<TItem> Items;
};
