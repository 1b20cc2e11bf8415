#include "settings/dialogs/DialogLayout.h"

#include <QDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>
#include <map>

namespace {
constexpr double DesignLetterWidth = 6;
constexpr double DesignLineHeight = 13;
// The letters a face's average width is taken over.
constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int AlphabetLength = sizeof(Alphabet) - 1;

// The size a control needs for its text to be whole; empty for one without a text.
QSize TextNeed(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        if (button->autoDefault()) {
            option.features |= QStyleOptionButton::AutoDefaultButton;
        }
        // What the style puts around a text, measured on contents wider than its smallest
        // button, so that only the text decides.
        const QSize wide(1000, text.height());
        const QSize around =
            button->style()->sizeFromContents(QStyle::CT_PushButton, &option, wide, button) - wide;
        return text + around;
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        // A label filled later holds one line; a picture is scaled to its room.
        if (label->text().isEmpty()) {
            return label->pixmap().isNull() ? QSize(0, label->fontMetrics().height()) : QSize();
        }
        return label->sizeHint();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return {0, edit->sizeHint().height()};
    }
    return {};
}

int Depth(const QWidget* widget, const QWidget* top) {
    int depth = 0;
    for (; widget && widget != top; widget = widget->parentWidget()) {
        ++depth;
    }
    return depth;
}

bool RowsMeet(const QRect& a, const QRect& b) {
    return a.top() < b.top() + b.height() && b.top() < a.top() + a.height();
}

bool ColumnsMeet(const QRect& a, const QRect& b) {
    return a.left() < b.left() + b.width() && b.left() < a.left() + a.width();
}
} // namespace

TDialogLayout::TDialogLayout(QDialog* dialog, const QString& caption, int clientWidth,
                             int clientHeight)
    : Dialog(dialog), Client(0, 0, clientWidth, clientHeight) {
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags((dialog->windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                           ~Qt::WindowContextHelpButtonHint);
    const QFontMetricsF metrics(dialog->font());
    ScaleX = metrics.horizontalAdvance(QString::fromLatin1(Alphabet)) / AlphabetLength /
             DesignLetterWidth;
    ScaleY = metrics.height() / DesignLineHeight;
}

QRect TDialogLayout::Scale(const QRect& design) const {
    const int left = Across(design.left());
    const int top = Down(design.top());
    return {left, top, Across(design.left() + design.width()) - left,
            Down(design.top() + design.height()) - top};
}

int TDialogLayout::Across(int pixels) const {
    return static_cast<int>(std::lround(pixels * ScaleX));
}

int TDialogLayout::Down(int pixels) const {
    return static_cast<int>(std::lround(pixels * ScaleY));
}

void TDialogLayout::Place(QWidget* widget, int left, int top, int width, int height) {
    // Names and scores come from files and players: a label shows them as they are, never as
    // markup that could format text, follow links or load pictures.
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setTextFormat(Qt::PlainText);
    }
    const QRect design(left, top, width, height);
    Items.push_back({widget, design, Scale(design), false});
    widget->setGeometry(Items.back().Scaled);
}

void TDialogLayout::PlaceOver(QWidget* widget, int left, int top, int width, int height) {
    Place(widget, left, top, width, height);
    Items.back().Over = true;
}

void TDialogLayout::Finish() {
    // How much more room the controls of each parent take than their scaled places gave.
    std::map<const QWidget*, QSize> spill;
    std::vector<QWidget*> parents;
    for (const TItem& item : Items) {
        if (std::find(parents.begin(), parents.end(), item.Widget->parentWidget()) ==
            parents.end()) {
            parents.push_back(item.Widget->parentWidget());
        }
    }
    // The deepest first: a panel's growth is known before the controls around it move.
    std::stable_sort(parents.begin(), parents.end(), [this](const QWidget* a, const QWidget* b) {
        return Depth(a, Dialog) > Depth(b, Dialog);
    });
    for (const QWidget* parent : parents) {
        std::vector<const TItem*> group;
        std::vector<QSize> growth;
        for (const TItem& item : Items) {
            if (item.Widget->parentWidget() == parent) {
                const QSize need =
                    TextNeed(item.Widget).expandedTo(item.Scaled.size() + spill[item.Widget]);
                group.push_back(&item);
                growth.push_back((need - item.Scaled.size()).expandedTo(QSize(0, 0)));
            }
        }
        QSize reach(0, 0);
        for (std::size_t k = 0; k < group.size(); ++k) {
            const QRect& design = group[k]->Design;
            QPoint shift(0, 0);
            for (std::size_t i = 0; i < group.size(); ++i) {
                if (group[i]->Over) {
                    continue;
                }
                const QRect& other = group[i]->Design;
                if (RowsMeet(other, design) && other.left() + other.width() <= design.left()) {
                    shift.rx() += growth[i].width();
                }
                if (ColumnsMeet(other, design) && other.top() + other.height() <= design.top()) {
                    shift.ry() += growth[i].height();
                }
            }
            const QRect& scaled = group[k]->Scaled;
            const QRect placed(scaled.topLeft() + shift, scaled.size() + growth[k]);
            group[k]->Widget->setGeometry(placed);
            reach = reach.expandedTo(
                QSize(placed.x() + placed.width() - scaled.x() - scaled.width(),
                      placed.y() + placed.height() - scaled.y() - scaled.height()));
        }
        spill[parent] = reach;
    }
    const QRect client = Scale(Client);
    Dialog->setFixedSize(client.size() + spill[Dialog]);
}
