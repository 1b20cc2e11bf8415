#pragma once
// Drawing helpers shared by every picture family: canvases, blur, soft shadows and glows,
// glossy panels, sparkles, rays and colour mixing. All of them work on QPainter/QImage and
// take any randomness from the caller's TFixedRandom, so results are repeatable.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class TFixedRandom;

// How blurring treats pixels beyond the edge: repeat the edge pixel, or wrap around (for
// textures that tile).
enum class TEdges { Clamp, Wrap };

// A premultiplied ARGB canvas filled with `fill`.
QImage NewCanvas(int width, int height, QColor fill = Qt::transparent);

// A painter on `canvas` with antialiasing and smooth picture scaling switched on.
void PrepareSmoothPainter(QPainter& painter);

// Approximates a Gaussian blur of the given radius (in pixels) with three box passes.
// `image` must be Format_ARGB32_Premultiplied.
void BlurImage(QImage& image, int radius, TEdges edges = TEdges::Clamp);

// Paints a blurred copy of `shape` (in the painter's current coordinates) moved by `offset`
// device pixels: a soft shadow below, or a glow around when the offset is zero. A positive
// `spread` grows the shape by that much on every side first (as an outline would).
void DrawSoftShadow(QPainter& painter, const QPainterPath& shape, QPointF offset, int blurRadius,
                    QColor colour, qreal spread = 0);

// `a` moved towards `b` by t (0 gives a, 1 gives b), alpha included.
QColor Mix(QColor a, QColor b, double t);

// `colour` with its lightness scaled: factors above 1 lighten towards white, below 1 darken.
QColor Shade(QColor colour, double factor);

// A star with `points` tips; the first tip points up when `turn` is 0 (radians).
QPainterPath StarPath(QPointF centre, qreal outerRadius, qreal innerRadius, int points,
                      qreal turn = 0);

// A four-pointed twinkle with a soft round glow, as seen on shiny things.
void DrawSparkle(QPainter& painter, QPointF centre, qreal size, QColor colour);

// Fills `area` with alternating translucent wedges radiating from `centre`.
void DrawRays(QPainter& painter, QPointF centre, qreal reach, int wedges, QColor colour,
              qreal turn = 0);

// A rounded panel with a vertical gradient, a soft drop shadow, a glossy upper half and a
// border line.
struct TPanelLook {
    QColor Top;
    QColor Bottom;
    QColor Border;
    qreal BorderWidth = 4;
    qreal Radius = 24;
    qreal ShadowOffset = 8;
    int ShadowBlur = 10;
    double Gloss = 0.35;
};
void DrawGlossyPanel(QPainter& painter, const QRectF& rect, const TPanelLook& look);

// Scatters `count` sparkles of random size between minSize and maxSize over `area`.
void ScatterSparkles(QPainter& painter, const QRectF& area, int count, qreal minSize, qreal maxSize,
                     QColor colour, TFixedRandom& random);

// Calls `draw` nine times, shifted by whole tiles in every direction, so anything drawn near a
// border of a `tileWidth` x `tileHeight` texture reappears on the opposite border.
template <typename TDraw>
void DrawWrapped(QPainter& painter, qreal tileWidth, qreal tileHeight, TDraw draw) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            painter.save();
            painter.translate(dx * tileWidth, dy * tileHeight);
            draw();
            painter.restore();
        }
    }
}
