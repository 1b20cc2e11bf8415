#include "tools/imagegen/DigitPictures.h"

#include "tools/imagegen/Drawing.h"
#include "tools/imagegen/TextArt.h"

#include <QLinearGradient>

#include <algorithm>

namespace {

constexpr qreal Outline = 1.6;
constexpr qreal Margin = Outline + 6.5;   // above and below the tallest figure
constexpr qreal SideMargin = Outline + 4; // digits stay apart from their neighbours
const QColor OutlineColour(16, 22, 72);

// The outline of `digit` in its cell. All ten share one scale (set by the widest and the
// tallest figure), so a "1" stays narrow and every figure stands on the same baseline.
QPainterPath DigitShape(const TFontKit& fonts, int digit) {
    const QFont font = fonts.Bold(100);
    QRectF all;
    for (int d = 0; d <= 9; ++d) {
        QPainterPath figure;
        figure.addText(0, 0, font, QString::number(d));
        all = all.united(figure.boundingRect());
    }
    qreal widest = 0;
    for (int d = 0; d <= 9; ++d) {
        QPainterPath figure;
        figure.addText(0, 0, font, QString::number(d));
        widest = std::max(widest, figure.boundingRect().width());
    }
    const qreal scaleY = (DigitHeight - 2 * Margin) / all.height();
    const qreal scaleX = std::min(scaleY, (DigitWidth - 2 * SideMargin) / widest);

    QPainterPath figure;
    figure.addText(0, 0, font, QString::number(digit));
    const qreal middleX = figure.boundingRect().center().x();
    QTransform place;
    place.translate(DigitWidth / 2.0, Margin - 0.5);
    place.scale(scaleX, scaleY);
    place.translate(-middleX, -all.top());
    return place.map(figure);
}

} // namespace

QImage MakeDigitPicture(const TFontKit& fonts, int digit) {
    QImage canvas = NewCanvas(DigitWidth, DigitHeight, OutlineColour);
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    const QPainterPath shape = DigitShape(fonts, digit);
    painter.strokePath(
        shape, QPen(OutlineColour, 2 * Outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QRectF box = shape.boundingRect();
    QLinearGradient gold(box.topLeft(), box.bottomLeft());
    gold.setColorAt(0, QColor(255, 252, 190));
    gold.setColorAt(0.45, QColor(255, 214, 40));
    gold.setColorAt(1, QColor(255, 120, 10));
    painter.fillPath(shape, gold);
    painter.setClipPath(shape);
    painter.strokePath(shape, QPen(QColor(255, 255, 255, 120), 1.2));
    return canvas;
}

QImage MakeDigitMask(const TFontKit& fonts, int digit) {
    QImage canvas = NewCanvas(DigitWidth, DigitHeight, Qt::black);
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    const QPainterPath shape = DigitShape(fonts, digit);
    painter.strokePath(shape,
                       QPen(Qt::white, 2 * Outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(shape, Qt::white);
    return canvas;
}
