#include "tools/imagegen/SphereArt.h"

#include "tools/imagegen/Drawing.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

struct TVec {
    double X, Y, Z;
};

double Dot(TVec a, TVec b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

TVec Normalised(TVec v) {
    const double length = std::sqrt(Dot(v, v));
    return {v.X / length, v.Y / length, v.Z / length};
}

// Bilinear texture lookup; u wraps around the ball, v stops at the poles.
void Sample(const QImage& texture, double u, double v, double rgb[3]) {
    const int w = texture.width();
    const int h = texture.height();
    const double x = (u - std::floor(u)) * w - 0.5;
    const double y = std::clamp(v * h - 0.5, 0.0, h - 1.0);
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(y);
    const double fx = x - x0;
    const double fy = y - y0;
    const auto texel = [&](int i, int j) {
        return texture.pixel(((i % w) + w) % w, std::min(j, h - 1));
    };
    const QRgb corners[4] = {texel(x0, y0), texel(x0 + 1, y0), texel(x0, y0 + 1),
                             texel(x0 + 1, y0 + 1)};
    const double weights[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
    rgb[0] = rgb[1] = rgb[2] = 0;
    for (int k = 0; k < 4; ++k) {
        rgb[0] += weights[k] * qRed(corners[k]);
        rgb[1] += weights[k] * qGreen(corners[k]);
        rgb[2] += weights[k] * qBlue(corners[k]);
    }
}

} // namespace

QImage RenderTexturedSphere(const QImage& texture, int diameter, double spin, double tilt) {
    QImage ball = NewCanvas(diameter, diameter);
    const double radius = diameter / 2.0;
    const TVec light = Normalised({-0.55, -0.65, 0.75}); // upper left, towards the viewer
    const TVec halfway = Normalised({light.X, light.Y, light.Z + 1});
    const double cosTilt = std::cos(tilt);
    const double sinTilt = std::sin(tilt);
    for (int py = 0; py < diameter; ++py) {
        auto* row = reinterpret_cast<QRgb*>(ball.scanLine(py));
        for (int px = 0; px < diameter; ++px) {
            const double x = (px + 0.5 - radius) / radius;
            const double y = (py + 0.5 - radius) / radius;
            const double distance = std::sqrt(x * x + y * y);
            const double coverage = std::clamp((1 - distance) * radius + 0.5, 0.0, 1.0);
            if (coverage <= 0) {
                continue;
            }
            const double d = std::min(distance, 1.0);
            const TVec normal{x, y, std::sqrt(std::max(0.0, 1 - d * d))};
            // Into the ball's own frame: undo the tilt about the screen's x axis.
            const double up = -normal.Y * cosTilt + normal.Z * sinTilt;
            const double toward = normal.Y * sinTilt + normal.Z * cosTilt;
            const double latitude = std::asin(std::clamp(up, -1.0, 1.0));
            const double longitude = std::atan2(normal.X, toward) + spin;
            double rgb[3];
            Sample(texture, longitude / (2 * Pi), 0.5 - latitude / Pi, rgb);

            const double diffuse = 0.32 + 0.85 * std::max(0.0, Dot(normal, light));
            const double rimDark = 0.75 + 0.25 * normal.Z;
            const double specular = 0.75 * std::pow(std::max(0.0, Dot(normal, halfway)), 42);
            const auto channel = [&](double c) {
                const double lit = std::min(255.0, c * diffuse * rimDark + 255 * specular);
                return static_cast<int>(std::lround(lit * coverage));
            };
            row[px] = qRgba(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]),
                            static_cast<int>(std::lround(255 * coverage)));
        }
    }
    return ball;
}

void DrawBallWithShadow(QPainter& painter, const QImage& ball, QPointF centre, qreal lift) {
    const qreal radius = ball.width() / 2.0;
    const qreal spread = 1 + lift / (radius * 6);
    const QPointF ground = centre + QPointF(radius * 0.15, radius * 0.85 + lift);
    QPainterPath shadow;
    shadow.addEllipse(ground, radius * 0.85 * spread, radius * 0.28 * spread);
    const int darkness = static_cast<int>(150 / (spread * spread));
    DrawSoftShadow(painter, shadow, QPointF(0, 0), static_cast<int>(radius * 0.25 * spread) + 2,
                   QColor(0, 0, 20, darkness));
    painter.drawImage(centre - QPointF(radius, radius), ball);
}
