#include "tools/imagegen/SurfaceTextures.h"

#include "tools/imagegen/Drawing.h"
#include "tools/imagegen/FixedRandom.h"
#include "tools/imagegen/TileableNoise.h"

#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double SmoothStep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Colour along the nebula's ramp: t from 0 (empty space) to 1 (the brightest cloud).
QColor NebulaRamp(double t) {
    const QColor stops[] = {QColor(8, 14, 52), QColor(24, 44, 128), QColor(82, 56, 168),
                            QColor(150, 110, 220), QColor(190, 220, 255)};
    const double scaled = std::clamp(t, 0.0, 1.0) * 4;
    const int low = std::min(3, static_cast<int>(scaled));
    return Mix(stops[low], stops[low + 1], scaled - low);
}

void PaintNebula(QImage& canvas) {
    const TTileableNoise clouds(0x0F0E1u, 4, 6, 0.55);
    const TTileableNoise tint(0x7E57u, 2, 4, 0.5);
    const int size = canvas.width();
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / size;
            const double v = (y + 0.5) / size;
            const double density = SmoothStep(0.32, 0.78, clouds.At(u, v));
            const QColor base = NebulaRamp(density * 0.72 + 0.04);
            // A second, broader layer pulls some clouds towards teal, others towards magenta.
            const double hue = tint.At(u + 0.37, v + 0.11);
            const QColor tinted = hue > 0.5 ? Mix(base, QColor(40, 170, 200), (hue - 0.5) * 0.8)
                                            : Mix(base, QColor(200, 60, 170), (0.5 - hue) * 0.6);
            row[x] = tinted.rgb();
        }
    }
}

void PaintStars(QPainter& painter, int size) {
    TFixedRandom random(0x57A25u);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        const auto at = random.PointIn<QPointF>(0, 0, size, size);
        const qreal radius = random.Between(0.5, 1.3);
        const int alpha = 120 + random.Below(130);
        DrawWrapped(painter, size, size, [&] {
            painter.setBrush(QColor(230, 240, 255, alpha));
            painter.drawEllipse(at, radius, radius);
        });
    }
    const QColor twinkles[] = {QColor(255, 255, 255), QColor(255, 230, 150), QColor(170, 220, 255)};
    for (int i = 0; i < 22; ++i) {
        const auto at = random.PointIn<QPointF>(0, 0, size, size);
        const qreal reach = random.Between(4, 11);
        const QColor colour = twinkles[random.Below(3)];
        DrawWrapped(painter, size, size, [&] { DrawSparkle(painter, at, reach, colour); });
    }
}

// Large out-of-focus lights in the lane colours give the drum some cheer.
void PaintSoftLights(QPainter& painter, int size) {
    TFixedRandom random(0xB0CE7u);
    const QColor lights[] = {QColor(0, 112, 208), QColor(72, 219, 120), QColor(255, 178, 8),
                             QColor(235, 62, 66)};
    painter.setPen(Qt::NoPen);
    // Added light, not paint: the discs brighten the clouds instead of staining them.
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    for (int i = 0; i < 10; ++i) {
        const auto at = random.PointIn<QPointF>(0, 0, size, size);
        const qreal radius = random.Between(9, 22);
        const QColor light = Shade(lights[i % 4], 1.35);
        const auto glowing = [&](int alpha) {
            return QColor(light.red(), light.green(), light.blue(), alpha);
        };
        DrawWrapped(painter, size, size, [&] {
            // An out-of-focus light: an even disc with a slightly brighter rim.
            QRadialGradient disc(at, radius);
            disc.setColorAt(0, glowing(60));
            disc.setColorAt(0.8, glowing(70));
            disc.setColorAt(0.92, glowing(105));
            disc.setColorAt(1, glowing(0));
            painter.setBrush(disc);
            painter.drawEllipse(at, radius, radius);
        });
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

constexpr int TilesPerRepeat = 4;

void PaintTiles(QImage& canvas) {
    const TTileableNoise marble(0x3A4B1Eu, 3, 5, 0.6);
    const int size = canvas.width();
    const int tile = size / TilesPerRepeat;
    const QColor light(222, 228, 246);
    const QColor dark(186, 196, 232);
    const QColor grout(98, 106, 160);
    constexpr int bevel = 5;
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const int tx = x % tile;
            const int ty = y % tile;
            const bool odd = ((x / tile) + (y / tile)) % 2 != 0;
            QColor colour = odd ? dark : light;
            // Light from the upper left: a gentle slope across the face of every tile.
            colour = Shade(colour, 1.06 - 0.12 * (tx + ty) / (2.0 * tile));
            const double veins = marble.At((x + 0.5) / size, (y + 0.5) / size);
            colour = Shade(colour, 0.93 + 0.16 * veins);
            const int fromLeft = tx, fromTop = ty;
            const int fromRight = tile - 1 - tx, fromBottom = tile - 1 - ty;
            const int edge = std::min({fromLeft, fromTop, fromRight, fromBottom});
            if (edge < 1) {
                colour = grout;
            } else if (edge <= bevel) {
                const bool lit = std::min(fromLeft, fromTop) <= std::min(fromRight, fromBottom);
                const double depth = 1.0 - (edge - 1.0) / bevel;
                colour = lit ? Shade(colour, 1 + 0.55 * depth) : Shade(colour, 1 - 0.28 * depth);
            }
            row[x] = colour.rgb();
        }
    }
}

void PaintStuds(QPainter& painter, int size) {
    const int tile = size / TilesPerRepeat;
    for (int j = 0; j < TilesPerRepeat; ++j) {
        for (int i = 0; i < TilesPerRepeat; ++i) {
            const QPointF at(i * tile, j * tile);
            DrawWrapped(painter, size, size, [&] {
                QRadialGradient shine(at + QPointF(-2, -2), 8);
                shine.setColorAt(0, QColor(255, 250, 210));
                shine.setColorAt(0.5, QColor(245, 190, 60));
                shine.setColorAt(1, QColor(170, 110, 20));
                painter.setPen(QPen(QColor(90, 60, 20), 1));
                painter.setBrush(shine);
                painter.drawEllipse(at, 5.5, 5.5);
                painter.setPen(Qt::NoPen);
                painter.setBrush(QColor(255, 255, 240, 200));
                painter.drawEllipse(at + QPointF(-1.6, -1.6), 1.6, 1.6);
            });
        }
    }
}

} // namespace

QImage MakeDrumTexture() {
    QImage canvas = NewCanvas(DrumTextureSize, DrumTextureSize, Qt::black);
    PaintNebula(canvas);
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    PaintSoftLights(painter, DrumTextureSize);
    PaintStars(painter, DrumTextureSize);
    return canvas;
}

QImage MakeFieldTexture() {
    QImage canvas = NewCanvas(FieldTextureSize, FieldTextureSize, Qt::black);
    PaintTiles(canvas);
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    PaintStuds(painter, FieldTextureSize);
    return canvas;
}

QImage MakeFrameTexture() {
    constexpr int period = FrameTextureSize / 4;
    constexpr int samples = 4;
    const TTileableNoise brushed(0xF2A3Eu, 8, 4, 0.5);
    const QColor gold(255, 196, 50);
    const QColor navy(34, 52, 140);
    QImage canvas = NewCanvas(FrameTextureSize, FrameTextureSize, Qt::black);
    for (int y = 0; y < FrameTextureSize; ++y) {
        auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < FrameTextureSize; ++x) {
            double red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const double px = x + (sx + 0.5) / samples;
                    const double py = y + (sy + 0.5) / samples;
                    // Position across the stripes, 0..1 per stripe pair; x + y keeps them at
                    // 45 degrees and, with a period dividing the size, seamless both ways.
                    const double across = std::fmod(px + py, period) / period;
                    const bool isGold = across < 0.5;
                    const double within = isGold ? across * 2 : (across - 0.5) * 2;
                    const double roundness = 0.72 + 0.42 * std::sin(std::numbers::pi * within);
                    const QColor c = Shade(isGold ? gold : navy, roundness);
                    red += c.redF(), green += c.greenF(), blue += c.blueF();
                }
            }
            const double n = samples * samples;
            const double grain = 0.94 + 0.12 * brushed.At((x + 0.5) / FrameTextureSize,
                                                          (y + 0.5) / FrameTextureSize);
            const auto channel = [&](double sum) {
                return std::clamp(static_cast<int>(std::lround(255 * sum / n * grain)), 0, 255);
            };
            row[x] = qRgb(channel(red), channel(green), channel(blue));
        }
    }
    return canvas;
}
