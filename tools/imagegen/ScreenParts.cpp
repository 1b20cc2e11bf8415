#include "tools/imagegen/ScreenParts.h"

#include "tools/imagegen/Drawing.h"
#include "tools/imagegen/FixedRandom.h"
#include "tools/imagegen/TextArt.h"

#include <QRadialGradient>

#include <cmath>

void PaintBackdrop(QPainter& painter, const QRectF& area, const TBackdropLook& look,
                   TFixedRandom& random) {
    const qreal reach = std::hypot(area.width(), area.height());
    QRadialGradient glow(look.Focus, reach * 0.62);
    glow.setColorAt(0, look.Centre);
    glow.setColorAt(0.45, look.Middle);
    glow.setColorAt(1, look.Edge);
    painter.fillRect(area, glow);
    if (look.Rays.alpha() > 0) {
        painter.save();
        painter.setClipRect(area);
        DrawRays(painter, look.Focus, reach, 20, look.Rays, 0.05);
        painter.restore();
    }
    ScatterSparkles(painter, area, look.Sparkles, 4, 13, QColor(255, 255, 255, 200), random);
}

void DrawPromptButton(QPainter& painter, const TFontKit& fonts, const QRectF& rect,
                      const QString& text, QColor top, QColor bottom) {
    TPanelLook pill;
    pill.Top = top;
    pill.Bottom = bottom;
    pill.Border = QColor(255, 255, 255, 230);
    pill.BorderWidth = 4;
    pill.Radius = rect.height() / 2;
    pill.ShadowOffset = rect.height() * 0.12;
    pill.ShadowBlur = static_cast<int>(rect.height() * 0.15);
    pill.Gloss = 0.45;
    DrawGlossyPanel(painter, rect, pill);

    TTextLook look;
    look.Top = Qt::white;
    look.Bottom = QColor(255, 240, 200);
    look.Outline = Shade(bottom, 0.45);
    look.OutlineWidth = rect.height() * 0.06;
    look.ShadowOffset = QPointF(2, 3);
    look.ShadowBlur = 3;
    look.Gloss = 0;
    const QPainterPath lettering = FittedTextPath(fonts.Bold(rect.height() * 0.5), text,
                                                  rect.center(), rect.width() - rect.height());
    DrawStyledText(painter, lettering, look);
}
