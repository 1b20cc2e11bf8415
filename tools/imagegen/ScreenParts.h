#pragma once
// Pieces shared by the full-window pictures: the glowing backdrop with rays and the glossy
// prompt button ("Press any key ...").

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

class TFontKit;
class TFixedRandom;

struct TBackdropLook {
    QColor Centre;
    QColor Middle;
    QColor Edge;
    QPointF Focus; // where the light and the rays come from
    QColor Rays;   // translucent; alpha 0 for none
    int Sparkles = 40;
};

// Fills `area` with a radial glow around the focus, rays and scattered sparkles.
void PaintBackdrop(QPainter& painter, const QRectF& area, const TBackdropLook& look,
                   TFixedRandom& random);

// A glossy pill button with `text` in white, outlined lettering fitted inside it.
void DrawPromptButton(QPainter& painter, const TFontKit& fonts, const QRectF& rect,
                      const QString& text, QColor top, QColor bottom);
