// Every text of the high-score dialog and the about box is whole in whatever face the system
// gives them: each label's and button's text lies inside the rectangle it is drawn in, no
// control sticks out of its dialog or covers a neighbour, and the about box's panel shows its
// bevel. A failure says what part of the text a player can read.

#include "core/Globals.h"
#include "platform/files/ProgramDirectory.h"
#include "settings/ScoreTable.h"
#include "settings/dialogs/AboutBox.h"
#include "settings/dialogs/FormHighScores.h"
#include "tests/app/EventLoop.h"
#include "tests/profile/TempDirectory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The rectangle the text is drawn in and the alignment within it.
struct TTextPlace {
    QRect Area;
    Qt::Alignment Alignment;
    QString Text; // as drawn: mnemonic marks removed
};

TTextPlace PlaceOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return {label->contentsRect(), label->alignment(), label->text()};
    }
    const auto* button = qobject_cast<const QPushButton*>(widget);
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect area =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    QString text = button->text();
    text.remove(text.indexOf(QLatin1Char('&')), 1);
    return {area, Qt::AlignCenter, text};
}

// What a player can read: of each line, the characters lying wholly inside the area, and only
// the lines lying wholly inside it.
QString ReadableText(const QWidget* widget) {
    const TTextPlace place = PlaceOf(widget);
    const QFontMetrics metrics(widget->font());
    const QStringList lines = place.Text.split(QLatin1Char('\n'));
    const int blockHeight = static_cast<int>(lines.size()) * metrics.lineSpacing();
    int top = place.Area.top();
    if (place.Alignment & Qt::AlignVCenter) {
        top += (place.Area.height() - blockHeight) / 2;
    } else if (place.Alignment & Qt::AlignBottom) {
        top += place.Area.height() - blockHeight;
    }
    QStringList readable;
    for (const QString& line : lines) {
        const int bottom = top + metrics.height();
        if (top >= place.Area.top() && bottom <= place.Area.bottom() + 1) {
            const int width = metrics.horizontalAdvance(line);
            int left = place.Area.left();
            if (place.Alignment & Qt::AlignHCenter) {
                left += (place.Area.width() - width) / 2;
            } else if (place.Alignment & Qt::AlignRight) {
                left += place.Area.width() - width;
            }
            QString part;
            for (qsizetype i = 0; i < line.size(); ++i) {
                const int start = left + metrics.horizontalAdvance(line.left(i));
                const int end = left + metrics.horizontalAdvance(line.left(i + 1));
                if (start >= place.Area.left() && end <= place.Area.right() + 1) {
                    part += line[i];
                }
            }
            readable << part;
        }
        top += metrics.lineSpacing();
    }
    return readable.join(QLatin1Char('\n'));
}

// The labels with a text and the buttons of a dialog.
std::vector<QWidget*> TextControls(const QWidget* dialog) {
    std::vector<QWidget*> controls;
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            controls.push_back(label);
        }
    }
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        controls.push_back(button);
    }
    return controls;
}

QRect InDialog(const QWidget* widget, const QWidget* dialog) {
    return QRect(widget->mapTo(dialog, QPoint(0, 0)), widget->size());
}

void ExpectEveryTextWhole(const QWidget* dialog) {
    const std::vector<QWidget*> controls = TextControls(dialog);
    ASSERT_FALSE(controls.empty());
    for (const QWidget* control : controls) {
        const TTextPlace place = PlaceOf(control);
        EXPECT_EQ(ReadableText(control).toStdString(), place.Text.toStdString())
            << dialog->windowTitle().toStdString() << ": " << control->metaObject()->className()
            << " at " << control->x() << "," << control->y() << " " << control->width() << "x"
            << control->height();
        EXPECT_TRUE(dialog->rect().contains(InDialog(control, dialog)))
            << place.Text.toStdString() << " sticks out of " << dialog->windowTitle().toStdString();
    }
    // Neighbours stay apart; the name box alone lies over a row, as it is meant to.
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(InDialog(controls[i], dialog).intersects(InDialog(controls[j], dialog)))
                << PlaceOf(controls[i]).Text.toStdString() << " covers "
                << PlaceOf(controls[j]).Text.toStdString();
        }
    }
}

int Brightness(QRgb pixel) {
    return qGray(pixel);
}

} // namespace

// Each case runs in the system's face and in faces wider, taller, narrower and fixed-pitch.
class DialogTextFitTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        SavedFont = QApplication::font();
        QFont face = SavedFont;
        switch (GetParam()) {
        case 1:
            face = QFont(QStringLiteral("DejaVu Sans"));
            face.setPixelSize(17);
            break;
        case 2:
            face = QFont(QStringLiteral("DejaVu Serif"));
            face.setPixelSize(9);
            break;
        case 3:
            face = QFont(QStringLiteral("DejaVu Sans Mono"));
            face.setPixelSize(13);
            break;
        case 4:
            face = QFont(QStringLiteral("DejaVu Sans"));
            face.setPixelSize(12);
            face.setBold(true);
            break;
        default:
            break;
        }
        QApplication::setFont(face);
        SetProgramDirectory(Files.Path.string() + "/");
        GameState = gsPlaying;
    }
    void TearDown() override {
        ScoreTable.reset();
        SetProgramDirectory({});
        QApplication::setFont(SavedFont);
    }

    TTempDirectory Files;
    QFont SavedFont;
};

TEST_P(DialogTextFitTest, HighScoreDialogShowsEveryTextWhole) {
    auto dialog = std::make_unique<TFormHighScores>();
    ExpectEveryTextWhole(dialog.get());
    // The name box, over the row of a new entry at any rank, covers that row's name, is tall
    // enough for its text and stays inside the dialog. Each score enters one rank higher.
    for (int rank = 5; rank >= 1; --rank) {
        WhenReady([&] { return dialog->isVisible(); },
                  [&] {
                      const QRect box = dialog->EditName->geometry();
                      const QRect row =
                          dialog->NameLabels[static_cast<std::size_t>(rank - 1)]->geometry();
                      EXPECT_TRUE(dialog->rect().contains(box)) << "rank " << rank;
                      EXPECT_LE(box.top(), row.top()) << "rank " << rank;
                      EXPECT_GE(box.bottom(), row.bottom()) << "rank " << rank;
                      EXPECT_GE(box.height(), dialog->EditName->sizeHint().height());
                      dialog->reject();
                  });
        ScoreTable->AddScore(7 - rank);
    }
    dialog.reset();
}

TEST_P(DialogTextFitTest, AboutBoxShowsEveryTextWhole) {
    TAboutBox about;
    ExpectEveryTextWhole(&about);
}

INSTANTIATE_TEST_SUITE_P(Faces, DialogTextFitTest, ::testing::Range(0, 5));

// The panel of the about box is lowered outside and raised inside: on its top and left edges
// a dark line, then a light one; on its bottom and right edges a dark line inside a light one.
TEST(AboutBoxPanelTest, ShowsLoweredOuterAndRaisedInnerBevel) {
    TAboutBox about;
    QWidget* panel = about.ProgramIcon->parentWidget();
    ASSERT_NE(panel, &about);
    const QImage picture = panel->grab().toImage();
    const int window = Brightness(about.palette().color(QPalette::Window).rgb());
    const int w = picture.width();
    const int h = picture.height();
    const int midX = w / 2;
    const int midY = h / 2;
    // Outer line, inner line, for the top, left, bottom and right edges.
    const std::pair<QPoint, QPoint> edges[] = {{{midX, 0}, {midX, 1}},
                                               {{0, midY}, {1, midY}},
                                               {{midX, h - 1}, {midX, h - 2}},
                                               {{w - 1, midY}, {w - 2, midY}}};
    for (int edge = 0; edge < 4; ++edge) {
        const int outer = Brightness(picture.pixel(edges[edge].first));
        const int inner = Brightness(picture.pixel(edges[edge].second));
        if (edge < 2) {
            EXPECT_LT(outer, window - 40) << "edge " << edge;
            EXPECT_GT(inner, outer + 40) << "edge " << edge;
        } else {
            EXPECT_LT(inner, window - 40) << "edge " << edge;
            EXPECT_GT(outer, inner + 40) << "edge " << edge;
        }
    }
}
