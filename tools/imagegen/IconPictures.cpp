#include "tools/imagegen/IconPictures.h"

#include "tools/imagegen/Drawing.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace {

// The lanes as seen from the Top camera: +y (yellow) up, -y (red) down, +x (blue) on the
// left, -x (green) on the right.
struct TLaneBar {
    QColor Colour;
    qreal Turn; // degrees, clockwise from pointing up
};
constexpr TLaneBar Lanes[] = {{QColor(255, 178, 8), 0},
                              {QColor(72, 219, 120), 90},
                              {QColor(235, 62, 66), 180},
                              {QColor(0, 112, 208), 270}};

void DrawTile(QPainter& painter, qreal s, bool detailed) {
    const QRectF tile(s * 0.03, s * 0.03, s * 0.94, s * 0.94);
    QPainterPath shape;
    shape.addRoundedRect(tile, s * 0.2, s * 0.2);
    if (detailed) {
        DrawSoftShadow(painter, shape, QPointF(0, s * 0.015), static_cast<int>(s * 0.02) + 1,
                       QColor(0, 0, 30, 140));
    }
    QLinearGradient deep(tile.topLeft(), tile.bottomLeft());
    deep.setColorAt(0, QColor(60, 100, 220));
    deep.setColorAt(1, QColor(14, 22, 90));
    painter.fillPath(shape, deep);
    painter.setPen(QPen(QColor(255, 210, 80), qMax<qreal>(1, s * 0.035)));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = qMax<qreal>(0.5, s * 0.0175);
    painter.drawRoundedRect(tile.adjusted(inset, inset, -inset, -inset), s * 0.19, s * 0.19);
}

void DrawLane(QPainter& painter, qreal s, const TLaneBar& lane, bool detailed) {
    const qreal half = s / 2;
    painter.save();
    painter.translate(half, half);
    painter.rotate(lane.Turn);
    const qreal width = s * 0.17;
    const QRectF bar(-width / 2, -half + s * 0.1, width, half - s * 0.2);
    QPainterPath shape;
    shape.addRoundedRect(bar, width * 0.3, width * 0.3);
    QLinearGradient slope(bar.topLeft(), bar.bottomLeft());
    slope.setColorAt(0, Shade(lane.Colour, 1.3));
    slope.setColorAt(1, Shade(lane.Colour, 0.8));
    painter.fillPath(shape, slope);
    if (detailed) {
        painter.setPen(QPen(Shade(lane.Colour, 0.45), s * 0.012));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape);
        painter.fillRect(QRectF(-width * 0.08, bar.top() + width * 0.3, width * 0.16,
                                bar.height() - width * 0.6),
                         QColor(0, 0, 40, 70));
    }
    painter.restore();
}

void DrawBall(QPainter& painter, qreal s, bool detailed) {
    const QPointF centre(s / 2, s / 2);
    const qreal radius = s * 0.16;
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    if (detailed) {
        DrawSoftShadow(painter, disc, QPointF(s * 0.02, s * 0.03), static_cast<int>(s * 0.03) + 1,
                       QColor(0, 0, 0, 150));
    }
    QRadialGradient gold(centre - QPointF(radius * 0.35, radius * 0.4), radius * 1.4);
    gold.setColorAt(0, QColor(255, 255, 220));
    gold.setColorAt(0.35, QColor(255, 215, 50));
    gold.setColorAt(1, QColor(190, 100, 0));
    painter.fillPath(disc, gold);
    if (detailed) {
        painter.setPen(QPen(QColor(110, 50, 0), s * 0.012));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(disc);
        DrawSparkle(painter, centre - QPointF(radius * 0.4, radius * 0.45), radius * 0.55,
                    QColor(255, 255, 255, 230));
    }
}

} // namespace

QImage MakeIcon(int size) {
    QImage canvas = NewCanvas(size, size);
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    const qreal s = size;
    const bool detailed = size >= 48;
    DrawTile(painter, s, detailed);
    for (const TLaneBar& lane : Lanes) {
        DrawLane(painter, s, lane, detailed);
    }
    DrawBall(painter, s, detailed);
    return canvas;
}
