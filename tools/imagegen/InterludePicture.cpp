#include "tools/imagegen/InterludePicture.h"

#include "tools/imagegen/Drawing.h"
#include "tools/imagegen/FixedRandom.h"
#include "tools/imagegen/ScreenParts.h"
#include "tools/imagegen/ScreenPictures.h"
#include "tools/imagegen/TextArt.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace {

constexpr qreal Size = ScreenPictureSize;

const QColor GemColours[] = {QColor(240, 60, 80), QColor(255, 190, 20), QColor(60, 200, 90),
                             QColor(40, 140, 250), QColor(180, 90, 240)};

void DrawGem(QPainter& painter, QPointF centre, qreal radius, QColor colour) {
    QRadialGradient shine(centre - QPointF(radius * 0.35, radius * 0.4), radius * 1.3);
    shine.setColorAt(0, Shade(colour, 1.7));
    shine.setColorAt(0.45, colour);
    shine.setColorAt(1, Shade(colour, 0.45));
    painter.setPen(QPen(Shade(colour, 0.35), qMax<qreal>(1.5, radius * 0.08)));
    painter.setBrush(shine);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawEllipse(centre - QPointF(radius * 0.35, radius * 0.4), radius * 0.22,
                        radius * 0.14);
}

// Game one: a grid of gems to match.
void DrawGemGrid(QPainter& painter, const QRectF& scene, TFixedRandom& random) {
    constexpr int cells = 4;
    const qreal cell = std::min(scene.width(), scene.height()) / cells;
    const QPointF origin(scene.center().x() - cell * cells / 2,
                         scene.center().y() - cell * cells / 2);
    for (int row = 0; row < cells; ++row) {
        for (int column = 0; column < cells; ++column) {
            const QPointF centre = origin + QPointF((column + 0.5) * cell, (row + 0.5) * cell);
            DrawGem(painter, centre, cell * 0.4, GemColours[random.Below(5)]);
        }
    }
}

// Game two: a winding chain of marbles heading for a golden hole.
void DrawMarbleChain(QPainter& painter, const QRectF& scene, TFixedRandom& random) {
    const auto along = [&](double t) {
        return QPointF(scene.left() + scene.width() * (0.08 + 0.84 * t),
                       scene.center().y() +
                           scene.height() * 0.3 * std::sin(t * 2.2 * std::numbers::pi));
    };
    QPainterPath track(along(0));
    for (int i = 1; i <= 60; ++i) {
        track.lineTo(along(i / 60.0));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(120, 80, 40, 120), scene.width() * 0.13, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.drawPath(track);
    const QPointF hole = along(1);
    QRadialGradient gold(hole, scene.width() * 0.09);
    gold.setColorAt(0, QColor(60, 30, 0));
    gold.setColorAt(0.6, QColor(200, 140, 20));
    gold.setColorAt(1, QColor(255, 220, 90));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gold);
    painter.drawEllipse(hole, scene.width() * 0.09, scene.width() * 0.09);
    // Marbles touch along the track: step by one diameter of arc length.
    const qreal radius = scene.width() * 0.055;
    const qreal step = 2 * radius / track.length();
    for (int i = 0; i < 11; ++i) {
        DrawGem(painter, track.pointAtPercent(0.02 + i * step), radius,
                GemColours[random.Below(5)]);
    }
}

// Game three: bubbles packed at the top and a launcher aiming at them.
void DrawBubbleField(QPainter& painter, const QRectF& scene, TFixedRandom& random) {
    const qreal r = scene.width() / 12;
    for (int row = 0; row < 3; ++row) {
        const int count = row % 2 == 0 ? 6 : 5;
        const qreal shift = row % 2 == 0 ? r : 2 * r;
        for (int i = 0; i < count; ++i) {
            DrawGem(painter,
                    QPointF(scene.left() + shift + i * 2 * r, scene.top() + r + row * 1.75 * r),
                    r * 0.95, GemColours[random.Below(5)]);
        }
    }
    const QPointF base(scene.center().x(), scene.bottom() - r);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 4, Qt::DashLine, Qt::RoundCap));
    painter.drawLine(base, base + QPointF(-r * 2.2, -scene.height() * 0.42));
    DrawGem(painter, base, r, GemColours[random.Below(5)]);
}

void DrawGameCard(QPainter& painter, const TFontKit& fonts, const QRectF& card, int number,
                  TFixedRandom& random) {
    TPanelLook look;
    look.Top = QColor(255, 252, 240);
    look.Bottom = QColor(226, 236, 250);
    look.Border = QColor(255, 205, 70);
    look.BorderWidth = 6;
    look.Radius = 26;
    look.Gloss = 0.2;
    DrawGlossyPanel(painter, card, look);
    const QRectF scene = card.adjusted(30, 44, -30, -30);
    if (number == 1) {
        DrawGemGrid(painter, scene, random);
    } else if (number == 2) {
        DrawMarbleChain(painter, scene, random);
    } else {
        DrawBubbleField(painter, scene, random);
    }
    const QPointF badge = card.topLeft() + QPointF(18, 18);
    QPainterPath disc;
    disc.addEllipse(badge, 30, 30);
    DrawSoftShadow(painter, disc, QPointF(3, 4), 4, QColor(0, 0, 0, 120));
    QRadialGradient red(badge - QPointF(8, 10), 40);
    red.setColorAt(0, QColor(255, 130, 110));
    red.setColorAt(1, QColor(200, 20, 50));
    painter.fillPath(disc, red);
    painter.setPen(QPen(Qt::white, 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(disc);
    DrawPlainText(painter, CenteredTextPath(fonts.Bold(36), QString::number(number), badge),
                  Qt::white, QColor(60, 0, 0, 160));
}

// A ribbon with folded ends carrying the headline.
void DrawRibbon(QPainter& painter, const TFontKit& fonts, const QRectF& band, const QString& text) {
    const qreal fold = band.height() * 0.6;
    for (const int side : {-1, 1}) {
        const qreal edge = side < 0 ? band.left() : band.right();
        QPainterPath tail;
        tail.moveTo(edge - side * fold * 0.2, band.top() + fold * 0.4);
        tail.lineTo(edge + side * fold * 1.3, band.top() + fold * 0.4);
        tail.lineTo(edge + side * fold * 0.9, band.center().y() + fold * 0.4);
        tail.lineTo(edge + side * fold * 1.3, band.bottom() + fold * 0.4);
        tail.lineTo(edge - side * fold * 0.2, band.bottom() + fold * 0.4);
        tail.closeSubpath();
        painter.fillPath(tail, QColor(150, 20, 40));
    }
    QPainterPath body;
    body.addRect(band);
    DrawSoftShadow(painter, body, QPointF(0, 6), 6, QColor(0, 0, 0, 110));
    QLinearGradient red(band.topLeft(), band.bottomLeft());
    red.setColorAt(0, QColor(255, 90, 90));
    red.setColorAt(1, QColor(200, 25, 50));
    painter.fillPath(body, red);
    painter.fillRect(QRectF(band.left(), band.top() + 5, band.width(), 3), QColor(255, 210, 80));
    painter.fillRect(QRectF(band.left(), band.bottom() - 8, band.width(), 3), QColor(255, 210, 80));
    TTextLook look;
    look.Top = Qt::white;
    look.Bottom = QColor(255, 235, 200);
    look.Outline = QColor(110, 0, 20);
    look.OutlineWidth = 4;
    look.ShadowOffset = QPointF(2, 3);
    look.ShadowBlur = 3;
    look.Gloss = 0;
    DrawStyledText(
        painter,
        FittedTextPath(fonts.Bold(band.height() * 0.58), text, band.center(), band.width() - 40),
        look);
}

// A gold starburst seal: "150" large, "game levels" under it.
void DrawLevelsSeal(QPainter& painter, const TFontKit& fonts, QPointF centre, qreal radius) {
    painter.save();
    painter.translate(centre);
    painter.rotate(-12);
    const QPainterPath burst = StarPath(QPointF(0, 0), radius, radius * 0.84, 24);
    DrawSoftShadow(painter, burst, QPointF(6, 9), 9, QColor(0, 0, 0, 130));
    QRadialGradient gold(QPointF(-radius * 0.3, -radius * 0.35), radius * 1.4);
    gold.setColorAt(0, QColor(255, 250, 190));
    gold.setColorAt(0.5, QColor(255, 200, 40));
    gold.setColorAt(1, QColor(220, 120, 10));
    painter.fillPath(burst, gold);
    painter.setPen(QPen(QColor(140, 60, 0), 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(burst);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::DotLine));
    painter.drawEllipse(QPointF(0, 0), radius * 0.72, radius * 0.72);

    TTextLook look;
    look.Top = QColor(255, 90, 70);
    look.Bottom = QColor(180, 10, 40);
    look.Outline = Qt::white;
    look.OutlineWidth = 5;
    look.ShadowOffset = QPointF(2, 3);
    look.ShadowBlur = 3;
    look.Gloss = 0.35;
    DrawStyledText(painter,
                   CenteredTextPath(fonts.Bold(radius * 0.62), QStringLiteral("150"),
                                    QPointF(0, -radius * 0.1)),
                   look);
    DrawPlainText(painter,
                  FittedTextPath(fonts.Bold(radius * 0.2), QStringLiteral("game levels"),
                                 QPointF(0, radius * 0.38), radius * 1.2),
                  QColor(120, 20, 20), Qt::transparent);
    painter.restore();
}

} // namespace

QImage MakeInterludePicture(const TFontKit& fonts) {
    QImage canvas = NewCanvas(ScreenPictureSize, ScreenPictureSize, Qt::black);
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    TFixedRandom random(0x9111Cu);
    PaintBackdrop(painter, QRectF(0, 0, Size, Size),
                  {QColor(120, 240, 220), QColor(20, 140, 160), QColor(6, 36, 70),
                   QPointF(Size * 0.45, 230), QColor(255, 255, 200, 20), 40},
                  random);

    DrawPlainText(painter,
                  FittedTextPath(fonts.Bold(34),
                                 QStringLiteral("If you like this game, check our new game"),
                                 QPointF(Size / 2, 64), Size - 120),
                  Qt::white, QColor(0, 30, 50, 200));

    const TTextLook title =
        HeadlineLook(QColor(255, 252, 210), QColor(240, 150, 20), QColor(60, 20, 80), 160);
    DrawStyledText(painter,
                   FittedTextPath(fonts.SerifBold(200), QStringLiteral("Quillon"),
                                  QPointF(Size * 0.4, 205), 640),
                   title);
    DrawLevelsSeal(painter, fonts, QPointF(Size - 140, 215), 115);

    DrawRibbon(painter, fonts, QRectF(190, 345, Size - 380, 74),
               QStringLiteral("Three games in one!"));

    const qreal cardWidth = 270;
    const qreal gap = (Size - 3 * cardWidth) / 4;
    for (int i = 0; i < 3; ++i) {
        DrawGameCard(painter, fonts, QRectF(gap + i * (cardWidth + gap), 470, cardWidth, 290),
                     i + 1, random);
    }

    TPanelLook footer;
    footer.Top = QColor(10, 40, 70, 200);
    footer.Bottom = QColor(4, 20, 40, 220);
    footer.Border = QColor(255, 205, 70);
    footer.BorderWidth = 4;
    footer.Radius = 28;
    footer.Gloss = 0.12;
    const QRectF panel(60, 810, Size - 120, 150);
    DrawGlossyPanel(painter, panel, footer);
    DrawPlainText(painter,
                  FittedTextPath(fonts.Bold(40),
                                 QStringLiteral("Press Space to visit the Quillon home page,"),
                                 QPointF(Size / 2, panel.top() + 50), panel.width() - 60),
                  QColor(255, 230, 120), QColor(0, 0, 0, 200));
    DrawPlainText(painter,
                  FittedTextPath(fonts.Bold(40), QStringLiteral("any other key to continue"),
                                 QPointF(Size / 2, panel.top() + 104), panel.width() - 60),
                  Qt::white, QColor(0, 0, 0, 200));
    return canvas;
}
