#pragma once
// Lettering: the fonts the pictures use (loaded from the system's DejaVu files, never found by
// name alone, so every build letters with the same outlines) and text drawn as outlined,
// gradient-filled, glossy shapes with a soft shadow.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QString>

#include <vector>

// Where the DejaVu fonts of the system live.
inline constexpr const char* FontDirectory = "/usr/share/fonts/truetype/dejavu";

class TFontKit {
public:
    // Registers the font files with the application's font database. Needs a running
    // QGuiApplication. Returns false and names the file in `failedFile` if one cannot be
    // loaded.
    bool Load(QString& failedFile);

    QFont Bold(qreal pixelSize) const { return Make(SansBoldFamily, pixelSize, QFont::Bold); }
    QFont Regular(qreal pixelSize) const { return Make(SansFamily, pixelSize, QFont::Normal); }
    QFont SerifBold(qreal pixelSize) const { return Make(SerifBoldFamily, pixelSize, QFont::Bold); }

private:
    static QFont Make(const QString& family, qreal pixelSize, QFont::Weight weight);

    QString SansFamily;
    QString SansBoldFamily;
    QString SerifBoldFamily;
};

// The outline of `text` centred horizontally on centre.x() with its capital letters centred
// vertically on centre.y().
QPainterPath CenteredTextPath(const QFont& font, const QString& text, QPointF centre);

// As CenteredTextPath, but the font shrinks (never grows) until the text is at most
// `maxWidth` wide.
QPainterPath FittedTextPath(const QFont& font, const QString& text, QPointF centre, qreal maxWidth);

// One outline per character of `text`, laid out as CenteredTextPath would, so each letter can
// get a look of its own.
std::vector<QPainterPath> LetterPaths(const QFont& font, const QString& text, QPointF centre);

// How styled text is drawn: a vertical gradient from Top to Bottom inside a thick Outline,
// an optional thin inner rim, a soft shadow and a glossy sheen over the upper half.
struct TTextLook {
    QColor Top = Qt::white;
    QColor Bottom = Qt::lightGray;
    QColor Outline = QColor(20, 30, 80);
    qreal OutlineWidth = 6;
    QColor Rim = Qt::transparent;
    qreal RimWidth = 0;
    QColor Shadow = QColor(0, 0, 30, 150);
    QPointF ShadowOffset = QPointF(4, 6);
    int ShadowBlur = 6;
    double Gloss = 0.45;
};

void DrawStyledText(QPainter& painter, const QPainterPath& text, const TTextLook& look);

// The look of a full-window picture's headline: a heavy outline, a white rim of the given
// opacity, a deep soft shadow and a strong sheen.
TTextLook HeadlineLook(QColor top, QColor bottom, QColor outline, int rimAlpha);

// Plain filled text with a small soft shadow (none if `shadow` is transparent), for lines of
// explanation.
void DrawPlainText(QPainter& painter, const QPainterPath& text, QColor fill, QColor shadow);
