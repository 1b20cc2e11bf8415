#include "tools/imagegen/ScreenPictures.h"

#include "tools/imagegen/BoardArt.h"
#include "tools/imagegen/Drawing.h"
#include "tools/imagegen/FixedRandom.h"
#include "tools/imagegen/ScreenParts.h"
#include "tools/imagegen/TextArt.h"

#include <QLinearGradient>

#include <vector>

namespace {

constexpr qreal Size = ScreenPictureSize;

// The game's name, each letter in its own bright colour, bouncing a little.
void DrawTitleLettering(QPainter& painter, const TFontKit& fonts, QPointF centre) {
    const QColor colours[] = {QColor(240, 60, 70),  QColor(255, 180, 10), QColor(70, 215, 110),
                              QColor(40, 140, 245), QColor(255, 120, 30), QColor(170, 90, 240)};
    const qreal bounce[] = {-6, 10, -4, 8, -10, 4};
    const qreal tilt[] = {-5, 4, -3, 5, -4, 6};
    const std::vector<QPainterPath> letters =
        LetterPaths(fonts.Bold(235), QStringLiteral("Zorbix"), centre);
    for (size_t i = 0; i < letters.size(); ++i) {
        const QPointF middle = letters[i].boundingRect().center();
        QTransform pose;
        pose.translate(middle.x(), middle.y() + bounce[i]);
        pose.rotate(tilt[i]);
        pose.translate(-middle.x(), -middle.y());
        TTextLook look;
        look.Top = Shade(colours[i], 1.5);
        look.Bottom = Shade(colours[i], 0.82);
        look.Outline = QColor(14, 20, 70);
        look.OutlineWidth = 13;
        look.Rim = QColor(255, 255, 255, 150);
        look.RimWidth = 3;
        look.ShadowOffset = QPointF(9, 14);
        look.ShadowBlur = 12;
        look.Gloss = 0.5;
        DrawStyledText(painter, pose.map(letters[i]), look);
    }
}

enum class TArrow { Up, Down, Left, Right };

void DrawKeyCap(QPainter& painter, const QRectF& rect, TArrow arrow) {
    TPanelLook cap;
    cap.Top = QColor(255, 255, 255);
    cap.Bottom = QColor(196, 206, 232);
    cap.Border = QColor(40, 50, 110);
    cap.BorderWidth = 3;
    cap.Radius = rect.width() * 0.2;
    cap.ShadowOffset = 5;
    cap.ShadowBlur = 4;
    cap.Gloss = 0.4;
    DrawGlossyPanel(painter, rect, cap);
    const qreal r = rect.width() * 0.24;
    const qreal turn = arrow == TArrow::Up      ? 0
                       : arrow == TArrow::Right ? 90
                       : arrow == TArrow::Down  ? 180
                                                : 270;
    QPainterPath triangle;
    triangle.moveTo(0, -r);
    triangle.lineTo(r * 0.95, r * 0.6);
    triangle.lineTo(-r * 0.95, r * 0.6);
    triangle.closeSubpath();
    QTransform place;
    place.translate(rect.center().x(), rect.center().y());
    place.rotate(turn);
    painter.fillPath(place.map(triangle), QColor(30, 50, 130));
}

void DrawHowToPlay(QPainter& painter, const TFontKit& fonts, const QRectF& panel) {
    TPanelLook look;
    look.Top = QColor(255, 255, 255, 235);
    look.Bottom = QColor(214, 226, 255, 235);
    look.Border = QColor(30, 45, 120);
    look.BorderWidth = 5;
    look.Radius = 30;
    look.Gloss = 0.3;
    DrawGlossyPanel(painter, panel, look);

    const qreal key = panel.height() * 0.36;
    const qreal gap = key * 0.12;
    const QPointF keysCentre(panel.left() + 40 + 1.5 * key + gap, panel.center().y());
    const qreal row1 = keysCentre.y() - key - gap / 2;
    const qreal row2 = keysCentre.y() + gap / 2;
    DrawKeyCap(painter, QRectF(keysCentre.x() - key / 2, row1, key, key), TArrow::Up);
    DrawKeyCap(painter, QRectF(keysCentre.x() - 1.5 * key - gap, row2, key, key), TArrow::Left);
    DrawKeyCap(painter, QRectF(keysCentre.x() - key / 2, row2, key, key), TArrow::Down);
    DrawKeyCap(painter, QRectF(keysCentre.x() + key / 2 + gap, row2, key, key), TArrow::Right);

    const qreal textLeft = keysCentre.x() + 1.5 * key + gap + 30;
    const qreal textWidth = panel.right() - 30 - textLeft;
    const QPointF textCentre(textLeft + textWidth / 2, panel.center().y());
    const QColor ink(24, 36, 110);
    DrawPlainText(painter,
                  FittedTextPath(fonts.Bold(36),
                                 QStringLiteral("Turn your slot with the arrow keys"),
                                 textCentre - QPointF(0, 24), textWidth),
                  ink, Qt::transparent);
    DrawPlainText(painter,
                  FittedTextPath(fonts.Regular(31),
                                 QStringLiteral("and catch every ball that rolls in!"),
                                 textCentre + QPointF(0, 26), textWidth),
                  ink, Qt::transparent);
}

} // namespace

QImage MakeTitlePicture(const TFontKit& fonts) {
    QImage canvas = NewCanvas(ScreenPictureSize, ScreenPictureSize, Qt::black);
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    TFixedRandom random(0x7171Eu);
    PaintBackdrop(painter, QRectF(0, 0, Size, Size),
                  {QColor(120, 200, 255), QColor(36, 90, 200), QColor(12, 20, 80),
                   QPointF(Size / 2, 260), QColor(255, 255, 255, 22), 45},
                  random);

    TBoardScene scene;
    scene.SlotFacing = 2;
    scene.Balls = {{0, 0, 1.2, 0, 0.4, false, false},
                   {1, -0.95, 0, 0, 1.2, false, false},
                   {3, 0, -1.05, 0, 2.1, false, false},
                   {2, 1.3, 0, 0.18, 0.7, true, false},
                   {6, 0.0, -0.25, 0.35, 0.2, false, true}};
    DrawBoard(painter, QRectF(130, 330, Size - 260, 380), scene);

    DrawTitleLettering(painter, fonts, QPointF(Size / 2, 170));
    DrawHowToPlay(painter, fonts, QRectF(90, 745, Size - 180, 140));
    DrawPromptButton(painter, fonts, QRectF(Size / 2 - 260, 918, 520, 76),
                     QStringLiteral("Press any key to start"), QColor(255, 170, 40),
                     QColor(230, 80, 20));
    return canvas;
}

QImage MakeGameOverPicture(const TFontKit& fonts) {
    QImage canvas = NewCanvas(ScreenPictureSize, ScreenPictureSize, Qt::black);
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    TFixedRandom random(0x6A3E0u);
    PaintBackdrop(painter, QRectF(0, 0, Size, Size),
                  {QColor(200, 90, 190), QColor(90, 30, 120), QColor(20, 6, 40),
                   QPointF(Size / 2, 300), QColor(255, 200, 255, 14), 30},
                  random);

    TBoardScene scene;
    scene.SlotShown = false;
    scene.Brightness = 0.7;
    scene.Balls = {{4, 0.35, 1.0, 0, 0.3, false, false},
                   {0, -1.0, 0.0, 0, 2.0, false, false},
                   {5, 0.0, -1.2, 0, 1.0, false, false},
                   {1, 1.0, 0.05, 0, 2.6, false, false},
                   {2, -0.05, 0.75, 0, 4.0, false, false}};
    DrawBoard(painter, QRectF(170, 470, Size - 340, 330), scene);

    const TTextLook look =
        HeadlineLook(QColor(255, 240, 140), QColor(245, 80, 40), QColor(50, 10, 50), 140);
    DrawStyledText(painter,
                   FittedTextPath(fonts.Bold(190), QStringLiteral("Game over"),
                                  QPointF(Size / 2, 250), Size - 120),
                   look);
    DrawPlainText(painter,
                  CenteredTextPath(fonts.Bold(40), QStringLiteral("Thanks for playing!"),
                                   QPointF(Size / 2, 385)),
                  QColor(255, 236, 250), QColor(30, 0, 40, 200));

    DrawPromptButton(painter, fonts, QRectF(Size / 2 - 200, 880, 400, 80),
                     QStringLiteral("Press any key"), QColor(190, 110, 255), QColor(110, 40, 190));
    return canvas;
}

QImage MakePauseBanner(const TFontKit& fonts) {
    constexpr qreal w = PauseBannerWidth;
    constexpr qreal h = PauseBannerHeight;
    QImage canvas = NewCanvas(PauseBannerWidth, PauseBannerHeight, Qt::black);
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    // The banner is drawn opaque over the scene, so it fills its whole rectangle.
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0, QColor(70, 150, 255));
    body.setColorAt(0.5, QColor(30, 90, 220));
    body.setColorAt(1, QColor(16, 36, 130));
    painter.fillRect(QRectF(0, 0, w, h), body);
    QLinearGradient gloss(0, 0, 0, h / 2);
    gloss.setColorAt(0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1, QColor(255, 255, 255, 20));
    painter.fillRect(QRectF(3, 3, w - 6, h / 2 - 3), gloss);
    painter.setPen(QPen(QColor(255, 205, 60), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1.5, 1.5, w - 3, h - 3));
    painter.setPen(QPen(QColor(14, 24, 80), 1));
    painter.drawRect(QRectF(3.5, 3.5, w - 7, h - 7));

    // Pause symbols, two bars each, at both ends.
    for (const qreal x : {24.0, w - 24.0}) {
        for (const qreal offset : {-5.5, 5.5}) {
            QPainterPath bar;
            bar.addRoundedRect(QRectF(x + offset - 3.5, h / 2 - 12, 7, 24), 2.5, 2.5);
            DrawSoftShadow(painter, bar, QPointF(1, 2), 2, QColor(0, 0, 40, 160));
            painter.fillPath(bar, QColor(255, 255, 255));
        }
    }

    TTextLook title;
    title.Top = QColor(255, 255, 255);
    title.Bottom = QColor(255, 214, 90);
    title.Outline = QColor(12, 22, 80);
    title.OutlineWidth = 2.5;
    title.ShadowOffset = QPointF(1, 2);
    title.ShadowBlur = 2;
    title.Gloss = 0;
    DrawStyledText(painter,
                   CenteredTextPath(fonts.Bold(30), QStringLiteral("Paused"), QPointF(w / 2, 24)),
                   title);
    DrawPlainText(
        painter,
        CenteredTextPath(fonts.Bold(13), QStringLiteral("Press any key"), QPointF(w / 2, 50)),
        QColor(255, 255, 255), QColor(0, 0, 40, 200));
    return canvas;
}
