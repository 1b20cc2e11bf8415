#include "tools/imagegen/Drawing.h"

#include "tools/imagegen/FixedRandom.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

int Fetch(int index, int length, TEdges edges) {
    if (edges == TEdges::Wrap) {
        return ((index % length) + length) % length;
    }
    return std::clamp(index, 0, length - 1);
}

// One box pass over a line of `length` pixels spaced `stride` apart, through `scratch`.
void BoxLine(QRgb* line, int stride, int length, int radius, TEdges edges,
             std::vector<QRgb>& scratch) {
    for (int i = 0; i < length; ++i) {
        scratch[static_cast<size_t>(i)] = line[static_cast<ptrdiff_t>(i) * stride];
    }
    const auto pixel = [&](int i) { return scratch[static_cast<size_t>(Fetch(i, length, edges))]; };
    int a = 0, r = 0, g = 0, b = 0;
    for (int i = -radius; i <= radius; ++i) {
        const QRgb p = pixel(i);
        a += qAlpha(p), r += qRed(p), g += qGreen(p), b += qBlue(p);
    }
    const int window = 2 * radius + 1;
    const int half = window / 2;
    for (int i = 0; i < length; ++i) {
        line[static_cast<ptrdiff_t>(i) * stride] = qRgba((r + half) / window, (g + half) / window,
                                                         (b + half) / window, (a + half) / window);
        const QRgb in = pixel(i + radius + 1);
        const QRgb out = pixel(i - radius);
        a += qAlpha(in) - qAlpha(out);
        r += qRed(in) - qRed(out);
        g += qGreen(in) - qGreen(out);
        b += qBlue(in) - qBlue(out);
    }
}

} // namespace

QImage NewCanvas(int width, int height, QColor fill) {
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(fill);
    return canvas;
}

void PrepareSmoothPainter(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

void BlurImage(QImage& image, int radius, TEdges edges) {
    if (radius <= 0 || image.isNull()) {
        return;
    }
    const int width = image.width();
    const int height = image.height();
    const int stride = static_cast<int>(image.bytesPerLine() / sizeof(QRgb));
    auto* pixels = reinterpret_cast<QRgb*>(image.bits());
    std::vector<QRgb> scratch(static_cast<size_t>(std::max(width, height)));
    // Three box passes of half the radius each come close to a Gaussian of that reach.
    const int box = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y) {
            BoxLine(pixels + static_cast<ptrdiff_t>(y) * stride, 1, width, box, edges, scratch);
        }
        for (int x = 0; x < width; ++x) {
            BoxLine(pixels + x, stride, height, box, edges, scratch);
        }
    }
}

void DrawSoftShadow(QPainter& painter, const QPainterPath& shape, QPointF offset, int blurRadius,
                    QColor colour, qreal spread) {
    const QTransform toDevice = painter.combinedTransform();
    const QPainterPath onDevice = toDevice.map(shape);
    const qreal deviceSpread = spread * std::sqrt(std::abs(toDevice.determinant()));
    const int margin = 2 * blurRadius + 4 + static_cast<int>(std::ceil(deviceSpread));
    const QRect bounds =
        onDevice.boundingRect().toAlignedRect().adjusted(-margin, -margin, margin, margin);
    QImage layer = NewCanvas(bounds.width(), bounds.height());
    {
        QPainter layerPainter(&layer);
        PrepareSmoothPainter(layerPainter);
        layerPainter.translate(-bounds.topLeft());
        layerPainter.fillPath(onDevice, colour);
        if (deviceSpread > 0) {
            layerPainter.strokePath(onDevice, QPen(colour, 2 * deviceSpread, Qt::SolidLine,
                                                   Qt::RoundCap, Qt::RoundJoin));
        }
    }
    BlurImage(layer, blurRadius);
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(bounds.topLeft()) + offset, layer);
    painter.restore();
}

QColor Mix(QColor a, QColor b, double t) {
    const auto lerp = [t](double x, double y) { return x + (y - x) * t; };
    return QColor::fromRgbF(static_cast<float>(lerp(a.redF(), b.redF())),
                            static_cast<float>(lerp(a.greenF(), b.greenF())),
                            static_cast<float>(lerp(a.blueF(), b.blueF())),
                            static_cast<float>(lerp(a.alphaF(), b.alphaF())));
}

QColor Shade(QColor colour, double factor) {
    if (factor >= 1) {
        return Mix(colour, QColor(255, 255, 255, colour.alpha()), std::min(1.0, factor - 1));
    }
    return Mix(QColor(0, 0, 0, colour.alpha()), colour, std::max(0.0, factor));
}

QPainterPath StarPath(QPointF centre, qreal outerRadius, qreal innerRadius, int points,
                      qreal turn) {
    QPainterPath star;
    for (int i = 0; i < 2 * points; ++i) {
        const qreal radius = (i % 2 == 0) ? outerRadius : innerRadius;
        const qreal angle = turn - std::numbers::pi / 2 + i * std::numbers::pi / points;
        const QPointF tip = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        if (i == 0) {
            star.moveTo(tip);
        } else {
            star.lineTo(tip);
        }
    }
    star.closeSubpath();
    return star;
}

void DrawSparkle(QPainter& painter, QPointF centre, qreal size, QColor colour) {
    QColor haze = colour;
    haze.setAlphaF(colour.alphaF() * 0.45f);
    QColor clear = colour;
    clear.setAlpha(0);
    QRadialGradient glow(centre, size * 0.6);
    glow.setColorAt(0, haze);
    glow.setColorAt(1, clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, size * 0.6, size * 0.6);
    painter.setBrush(colour);
    painter.drawPath(StarPath(centre, size, size * 0.16, 4));
    painter.setBrush(QColor(255, 255, 255, colour.alpha()));
    painter.drawEllipse(centre, size * 0.12, size * 0.12);
}

void DrawRays(QPainter& painter, QPointF centre, qreal reach, int wedges, QColor colour,
              qreal turn) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const qreal step = 2 * std::numbers::pi / wedges;
    for (int i = 0; i < wedges; ++i) {
        const qreal from = turn + i * step;
        const qreal to = from + step * 0.5;
        QPainterPath wedge(centre);
        wedge.lineTo(centre + QPointF(std::cos(from), std::sin(from)) * reach);
        wedge.lineTo(centre + QPointF(std::cos(to), std::sin(to)) * reach);
        wedge.closeSubpath();
        painter.drawPath(wedge);
    }
}

void DrawGlossyPanel(QPainter& painter, const QRectF& rect, const TPanelLook& look) {
    QPainterPath shape;
    shape.addRoundedRect(rect, look.Radius, look.Radius);
    if (look.ShadowBlur > 0) {
        DrawSoftShadow(painter, shape, QPointF(0, look.ShadowOffset), look.ShadowBlur,
                       QColor(0, 0, 20, 130));
    }
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, look.Top);
    fill.setColorAt(1, look.Bottom);
    painter.fillPath(shape, fill);

    painter.save();
    painter.setClipPath(shape);
    QLinearGradient gloss(rect.topLeft(), QPointF(rect.left(), rect.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, static_cast<int>(255 * look.Gloss)));
    gloss.setColorAt(1, QColor(255, 255, 255, static_cast<int>(40 * look.Gloss)));
    QPainterPath upper;
    upper.addRoundedRect(
        rect.adjusted(look.BorderWidth, look.BorderWidth, -look.BorderWidth, -rect.height() / 2),
        look.Radius * 0.8, look.Radius * 0.8);
    painter.fillPath(upper, gloss);
    painter.restore();

    if (look.BorderWidth > 0) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(look.Border, look.BorderWidth));
        const qreal inset = look.BorderWidth / 2;
        painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), look.Radius - inset,
                                look.Radius - inset);
    }
}

void ScatterSparkles(QPainter& painter, const QRectF& area, int count, qreal minSize, qreal maxSize,
                     QColor colour, TFixedRandom& random) {
    for (int i = 0; i < count; ++i) {
        const auto at =
            random.PointIn<QPointF>(area.left(), area.top(), area.right(), area.bottom());
        QColor tint = colour;
        tint.setAlphaF(static_cast<float>(colour.alphaF() * random.Between(0.5, 1.0)));
        const qreal size = random.Between(minSize, maxSize);
        DrawSparkle(painter, at, size, tint);
    }
}
