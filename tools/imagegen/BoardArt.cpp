#include "tools/imagegen/BoardArt.h"

#include "tools/imagegen/BallTextures.h"
#include "tools/imagegen/Drawing.h"
#include "tools/imagegen/SphereArt.h"
#include "tools/imagegen/SurfaceTextures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace {

constexpr int TopViewSize = 1200;
constexpr double FieldHalf = 1.5;
constexpr double PixelsPerUnit = TopViewSize / (2 * FieldHalf);
constexpr double BackEdgeShare = 0.70;  // back edge width as a share of the front edge
constexpr double FrontFaceShare = 0.07; // board thickness as a share of the area height

// The lane colours of the game, by lane: +y yellow, -x green, -y red, +x blue.
const QColor LaneColours[4] = {QColor(255, 178, 8), QColor(72, 219, 120), QColor(235, 62, 66),
                               QColor(0, 112, 208)};

// World (x, y) to the top view's pixels: +x is to the left, +y up.
QPointF TopViewPoint(double x, double y) {
    return {(FieldHalf - x) * PixelsPerUnit, (FieldHalf - y) * PixelsPerUnit};
}

QBrush TiledBrush(const QImage& texture, double repeatUnits) {
    QBrush brush(texture);
    const double scale = repeatUnits * PixelsPerUnit / texture.width();
    brush.setTransform(QTransform::fromScale(scale, scale));
    return brush;
}

QPainterPath SquareRing(double outer, double inner) {
    QPainterPath ring;
    const double o = outer * PixelsPerUnit, i = inner * PixelsPerUnit;
    const QPointF c = TopViewPoint(0, 0);
    ring.addRect(QRectF(c.x() - o, c.y() - o, 2 * o, 2 * o));
    ring.addRect(QRectF(c.x() - i, c.y() - i, 2 * i, 2 * i));
    ring.setFillRule(Qt::OddEvenFill);
    return ring;
}

// One lane panel, drawn pointing up (+y) and turned into place by the caller.
void PaintLane(QPainter& painter, QColor colour) {
    const double halfWidth = 0.13 * PixelsPerUnit;
    const QPointF c = TopViewPoint(0, 0);
    const QRectF panel(c.x() - halfWidth, c.y() - 1.5 * PixelsPerUnit, 2 * halfWidth,
                       1.0 * PixelsPerUnit);
    QPainterPath shape;
    shape.addRoundedRect(panel, halfWidth * 0.35, halfWidth * 0.35);
    DrawSoftShadow(painter, shape, QPointF(8, 10), 10, QColor(10, 20, 60, 120));

    // Higher (brighter) at the field's edge, lower (darker) towards the pit.
    QLinearGradient slope(panel.topLeft(), panel.bottomLeft());
    slope.setColorAt(0, Shade(colour, 1.25));
    slope.setColorAt(1, Shade(colour, 0.72));
    painter.fillPath(shape, slope);

    QLinearGradient groove(QPointF(panel.left(), 0), QPointF(panel.right(), 0));
    groove.setColorAt(0.0, QColor(255, 255, 255, 110));
    groove.setColorAt(0.18, QColor(255, 255, 255, 0));
    groove.setColorAt(0.38, QColor(0, 0, 0, 0));
    groove.setColorAt(0.5, QColor(0, 0, 30, 95));
    groove.setColorAt(0.62, QColor(255, 255, 255, 0));
    groove.setColorAt(0.8, QColor(255, 255, 255, 40));
    groove.setColorAt(1.0, QColor(0, 0, 30, 70));
    painter.fillPath(shape, groove);
    painter.setPen(QPen(Shade(colour, 0.5), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
}

// The catcher: a plate that widens towards the lane it faces, with a rod behind it; drawn
// facing -y and turned by the caller.
void PaintSlot(QPainter& painter) {
    const double u = PixelsPerUnit * 0.6;
    const QPointF c = TopViewPoint(0, 0);
    QPainterPath rod;
    rod.addRoundedRect(QRectF(c.x() - 0.053 * u, c.y() - 0.5 * u, 0.106 * u, 0.5 * u), 0.05 * u,
                       0.05 * u);
    QPainterPath plate;
    plate.moveTo(c + QPointF(-0.263 * u, 0.5 * u));
    plate.lineTo(c + QPointF(0.263 * u, 0.5 * u));
    plate.lineTo(c + QPointF(0.21 * u, -0.026 * u));
    plate.lineTo(c + QPointF(-0.21 * u, -0.026 * u));
    plate.closeSubpath();
    QPainterPath slot = rod.united(plate);
    DrawSoftShadow(painter, slot, QPointF(10, 12), 10, QColor(0, 0, 0, 150));
    QLinearGradient metal(c + QPointF(-0.26 * u, 0), c + QPointF(0.26 * u, 0));
    metal.setColorAt(0, QColor(230, 120, 40));
    metal.setColorAt(0.45, QColor(200, 85, 15));
    metal.setColorAt(1, QColor(120, 40, 0));
    painter.fillPath(slot, metal);
    painter.setPen(QPen(QColor(255, 200, 140, 200), 4));
    painter.drawLine(c + QPointF(-0.24 * u, 0.46 * u), c + QPointF(0.24 * u, 0.46 * u));
    painter.setPen(QPen(QColor(70, 20, 0), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(slot);
}

QImage PaintTopView(const TBoardScene& scene) {
    QImage view = NewCanvas(TopViewSize, TopViewSize);
    QPainter painter(&view);
    PrepareSmoothPainter(painter);
    const QImage field = MakeFieldTexture();
    const QImage frame = MakeFrameTexture();
    painter.fillRect(QRectF(0, 0, TopViewSize, TopViewSize), TiledBrush(field, 1));

    const QPointF centre = TopViewPoint(0, 0);
    // Lanes in the order +y, -x, -y, +x: turning the upward panel by 0, 90, 180, 270 degrees
    // on screen, where -x lies to the right.
    for (int lane = 0; lane < 4; ++lane) {
        painter.save();
        painter.translate(centre);
        painter.rotate(90.0 * lane);
        painter.translate(-centre);
        PaintLane(painter, LaneColours[lane]);
        painter.restore();
    }

    const QPainterPath rim = SquareRing(1.5, 1.35);
    DrawSoftShadow(painter, SquareRing(1.5, 1.33), QPointF(0, 0), 12, QColor(10, 20, 60, 150));
    painter.fillPath(rim, TiledBrush(frame, 1));
    const QPainterPath pitRim = SquareRing(0.495, 0.45);
    painter.fillPath(pitRim, TiledBrush(frame, 1.0 / 3));

    const double pit = 0.45 * PixelsPerUnit;
    const QRectF hole(centre.x() - pit, centre.y() - pit, 2 * pit, 2 * pit);
    QRadialGradient depth(centre, pit * 1.4);
    depth.setColorAt(0, QColor(40, 30, 90));
    depth.setColorAt(1, QColor(6, 6, 24));
    painter.fillRect(hole, depth);
    for (const QPainterPath& ring : {rim, pitRim}) {
        painter.setPen(QPen(QColor(20, 30, 80), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(ring);
    }
    if (scene.SlotShown) {
        painter.save();
        painter.translate(centre);
        painter.rotate(90.0 * scene.SlotFacing + 180);
        painter.translate(-centre);
        PaintSlot(painter);
        painter.restore();
    }
    return view;
}

void DrawStreaks(QPainter& painter, QPointF centre, qreal radius) {
    for (int i = -1; i <= 1; ++i) {
        const qreal x = centre.x() + i * radius * 0.55;
        const qreal length = radius * (i == 0 ? 3.2 : 2.2);
        QLinearGradient fade(QPointF(x, centre.y() - radius - length),
                             QPointF(x, centre.y() - radius));
        fade.setColorAt(0, QColor(255, 255, 255, 0));
        fade.setColorAt(1, QColor(255, 255, 255, 170));
        painter.setPen(QPen(QBrush(fade), radius * 0.22, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(x, centre.y() - radius - length),
                         QPointF(x, centre.y() - radius * 1.2));
    }
}

// Little stars around a ball that has just been caught and kicked away.
void DrawKickBurst(QPainter& painter, QPointF centre, qreal reach) {
    for (int i = 0; i < 8; ++i) {
        const qreal angle = i * std::numbers::pi / 4 + 0.2;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * reach;
        DrawSparkle(painter, at, reach * (i % 2 == 0 ? 0.3 : 0.18), QColor(255, 240, 150, 230));
    }
}

} // namespace

void DrawBoard(QPainter& painter, const QRectF& area, const TBoardScene& scene) {
    const qreal frontDepth = area.height() * FrontFaceShare;
    const qreal inset = area.width() * (1 - BackEdgeShare) / 2;
    const QPolygonF top{QPointF(area.left() + inset, area.top()),
                        QPointF(area.right() - inset, area.top()),
                        QPointF(area.right(), area.bottom() - frontDepth),
                        QPointF(area.left(), area.bottom() - frontDepth)};
    const QPolygonF square{QPointF(0, 0), QPointF(TopViewSize, 0),
                           QPointF(TopViewSize, TopViewSize), QPointF(0, TopViewSize)};
    QTransform perspective;
    QTransform::quadToQuad(square, top, perspective);

    const QRectF front(area.left(), area.bottom() - frontDepth, area.width(), frontDepth);
    QPainterPath slab;
    slab.addPolygon(top);
    slab.addRect(front);
    slab.setFillRule(Qt::WindingFill);
    DrawSoftShadow(painter, slab.simplified(), QPointF(0, frontDepth * 0.9),
                   static_cast<int>(frontDepth * 0.7), QColor(0, 0, 20, 160));

    QLinearGradient face(front.topLeft(), front.bottomLeft());
    face.setColorAt(0, QColor(60, 80, 170));
    face.setColorAt(1, QColor(20, 28, 80));
    painter.fillRect(front, face);
    painter.fillRect(QRectF(front.left(), front.top(), front.width(), frontDepth * 0.18),
                     QColor(255, 210, 90));

    painter.save();
    painter.setTransform(perspective, true);
    painter.drawImage(QPointF(0, 0), PaintTopView(scene));
    painter.restore();
    if (scene.Brightness < 1) {
        painter.fillPath(slab.simplified(),
                         QColor(0, 0, 20, static_cast<int>(255 * (1 - scene.Brightness))));
    }

    // Balls: placed through the same perspective, lifted by their height above the lanes.
    for (const TBoardBall& ball : scene.Balls) {
        const QPointF ground = perspective.map(TopViewPoint(ball.X, ball.Y));
        const QPointF aside = perspective.map(TopViewPoint(ball.X - 1, ball.Y));
        const qreal unit = std::hypot(aside.x() - ground.x(), aside.y() - ground.y());
        const qreal radius = 0.1 * unit * 1.5; // drawn a little larger than life, to read well
        const qreal lift = ball.Height * unit * 0.7;
        const QPointF centre = ground - QPointF(0, radius * 0.85 + lift);
        const QImage picture = RenderTexturedSphere(MakeBallTexture(ball.Look),
                                                    static_cast<int>(2 * radius), ball.Spin, 0.35);
        if (ball.Falling) {
            DrawStreaks(painter, centre, radius);
        }
        DrawBallWithShadow(painter, picture, centre, lift);
        if (ball.Kicked) {
            DrawKickBurst(painter, centre, radius * 1.9);
        }
    }
}
