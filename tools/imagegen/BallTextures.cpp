#include "tools/imagegen/BallTextures.h"

#include "tools/imagegen/Drawing.h"
#include "tools/imagegen/FixedRandom.h"
#include "tools/imagegen/TileableNoise.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// A point of the ball's surface: longitude in [0, 2pi), latitude in [-pi/2, pi/2].
struct TSurfacePoint {
    double Longitude;
    double Latitude;
    double U; // longitude / 2pi
    double V; // 0 at the north pole, 1 at the south pole
};

using TLook = std::function<QColor(const TSurfacePoint&)>;

// Angle between two surface points, in radians.
double Separation(const TSurfacePoint& p, double latitude, double longitude) {
    const double c = std::sin(p.Latitude) * std::sin(latitude) +
                     std::cos(p.Latitude) * std::cos(latitude) * std::cos(p.Longitude - longitude);
    return std::acos(std::clamp(c, -1.0, 1.0));
}

// Paints the look with 4 x 4 samples per texel, so edges come out smooth.
QImage PaintLook(const TLook& look) {
    constexpr int size = BallTextureSize;
    constexpr int samples = 4;
    QImage canvas = NewCanvas(size, size, Qt::black);
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < size; ++x) {
            double red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const double u = (x + (sx + 0.5) / samples) / size;
                    const double v = (y + (sy + 0.5) / samples) / size;
                    const QColor c = look({2 * Pi * u, (0.5 - v) * Pi, u, v});
                    red += c.redF(), green += c.greenF(), blue += c.blueF();
                }
            }
            const auto channel = [](double sum) {
                return std::clamp(static_cast<int>(std::lround(255 * sum / (samples * samples))), 0,
                                  255);
            };
            row[x] = qRgb(channel(red), channel(green), channel(blue));
        }
    }
    return canvas;
}

// Red with a white belt between two navy pinstripes.
QColor CherryBelt(const TSurfacePoint& p) {
    const double band = std::abs(p.Latitude);
    if (band < 0.27) {
        return QColor(252, 250, 240);
    }
    if (band < 0.36) {
        return QColor(30, 40, 120);
    }
    return Shade(QColor(240, 40, 52), 1.0 + 0.15 * std::cos(p.Latitude));
}

// Blue with round white dots in staggered rows and one on each pole.
QColor OceanDots(const TSurfacePoint& p) {
    struct TRow {
        double Latitude;
        int Count;
        double Phase;
    };
    constexpr TRow rows[] = {
        {0, 6, 0}, {0.72, 5, 0.5}, {-0.72, 5, 0.5}, {Pi / 2, 1, 0}, {-Pi / 2, 1, 0}};
    constexpr double dotRadius = 0.27;
    for (const TRow& row : rows) {
        for (int i = 0; i < row.Count; ++i) {
            const double longitude = 2 * Pi * (i + row.Phase) / row.Count;
            if (Separation(p, row.Latitude, longitude) < dotRadius) {
                return QColor(255, 255, 250);
            }
        }
    }
    return QColor(30, 120, 245);
}

// Lime green with three wavy stripes of yellow and white.
QColor LimeWaves(const TSurfacePoint& p) {
    constexpr double centres[] = {-0.75, 0.0, 0.75};
    for (int k = 0; k < 3; ++k) {
        const double wave = centres[k] + 0.2 * std::sin(3 * p.Longitude + k * 1.3);
        if (std::abs(p.Latitude - wave) < 0.11) {
            return k == 1 ? QColor(255, 250, 235) : QColor(255, 232, 40);
        }
    }
    return QColor(50, 205, 80);
}

// Racing checks of white and deep navy, eight around and six from pole to pole. (Orange
// checks were too close to the gold bonus ball.)
QColor RacingChecks(const TSurfacePoint& p) {
    const int column = static_cast<int>(p.U * 8);
    const int band = std::min(5, static_cast<int>(p.V * 6));
    return (column + band) % 2 == 0 ? QColor(44, 52, 120) : QColor(255, 255, 255);
}

// Violet and pink stripes spiralling from pole to pole, with violet caps.
QColor VioletSpiral(const TSurfacePoint& p) {
    if (std::abs(p.Latitude) > 1.25) {
        return QColor(150, 60, 225);
    }
    const double turns = 3 * p.U + 2 * p.V;
    return turns - std::floor(turns) < 0.5 ? QColor(150, 60, 225) : QColor(255, 150, 220);
}

// Teal marble: soft aqua veins swirling through deep teal.
class TTealMarble {
public:
    QColor operator()(const TSurfacePoint& p) const {
        const double swirl = Noise.At(p.U, p.V * 0.5);
        const double vein = 0.5 + 0.5 * std::sin(2 * Pi * (3 * p.U + 5 * swirl));
        return Mix(QColor(0, 165, 170), QColor(175, 250, 240), std::pow(vein, 3));
    }

private:
    TTileableNoise Noise{0x7EA1u, 3, 4, 0.55};
};

// The first bonus look: gold caps and a deep navy belt between orange rims, the belt
// carrying gold stars (added on top). Gold alone melts into the yellow lane; the dark belt
// stands out there, and the gold on the blue, red and green ones.
constexpr double StarBeltHalfWidth = 0.62;
constexpr double StarRimWidth = 0.09;

QColor GoldStarBelt(const TSurfacePoint& p) {
    const double band = std::abs(p.Latitude);
    if (band < StarBeltHalfWidth) {
        // A faint shimmer, so the belt reads as enamel rather than a hole.
        const double shimmer = 0.5 + 0.5 * std::sin(6 * p.Longitude + 9 * p.Latitude);
        return Mix(QColor(14, 22, 92), QColor(36, 52, 150), 0.6 * shimmer);
    }
    if (band < StarBeltHalfWidth + StarRimWidth) {
        return QColor(235, 110, 0);
    }
    const double ripple = 0.5 + 0.5 * std::sin(8 * p.Longitude + 3 * p.Latitude);
    return Mix(QColor(255, 175, 20), QColor(255, 238, 120),
               0.3 + 0.5 * std::cos(band) + 0.2 * ripple);
}

// The second bonus look: rainbow segments running from pole to pole, with a thin dark line
// between neighbours so the hues stay apart on a lane of any one of them. The segments meet
// at the poles, where any cap of one colour looks like a flat disc.
QColor RainbowSegments(const TSurfacePoint& p) {
    const QColor hues[] = {QColor(240, 40, 50),  QColor(255, 140, 0), QColor(255, 225, 0),
                           QColor(60, 210, 70),  QColor(0, 190, 230), QColor(30, 90, 240),
                           QColor(140, 60, 230), QColor(235, 70, 190)};
    // Half a segment's shift puts the wrap in the middle of the red segment, not on an edge.
    const double position = p.U * 8 + 0.5;
    const double within = position - std::floor(position);
    // A share of each segment, so the lines narrow towards the poles as the segments do.
    constexpr double line = 0.05;
    if (within < line || within > 1 - line) {
        return QColor(40, 20, 70);
    }
    return hues[static_cast<int>(position) % 8];
}

void AddGoldStars(QImage& canvas) {
    QPainter painter(&canvas);
    PrepareSmoothPainter(painter);
    constexpr qreal size = BallTextureSize;
    TFixedRandom random(0x60D5u);
    // Stars sit on the belt, across the equator, where the picture is least squeezed.
    for (int i = 0; i < 7; ++i) {
        const auto at = random.PointIn<QPointF>((i + 0.3) * size / 7, 0.46 * size,
                                                (i + 0.7) * size / 7, 0.54 * size);
        const qreal outer = random.Between(9, 10.5);
        const qreal turn = random.Between(-0.3, 0.3);
        const QPainterPath star = StarPath(at, outer, outer * 0.45, 5, turn);
        DrawWrapped(painter, size, size, [&] {
            painter.setPen(QPen(QColor(255, 250, 210), 1));
            painter.setBrush(QColor(255, 200, 30));
            painter.drawPath(star);
        });
    }
}

} // namespace

QImage MakeBallTexture(int look) {
    switch (look) {
    case 0:
        return PaintLook(CherryBelt);
    case 1:
        return PaintLook(OceanDots);
    case 2:
        return PaintLook(LimeWaves);
    case 3:
        return PaintLook(RacingChecks);
    case 4:
        return PaintLook(VioletSpiral);
    case 5:
        return PaintLook(TTealMarble());
    case 6: {
        QImage gold = PaintLook(GoldStarBelt);
        AddGoldStars(gold);
        return gold;
    }
    case 7:
        return PaintLook(RainbowSegments);
    default:
        return {};
    }
}
