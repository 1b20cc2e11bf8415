// The window shows software frames handed to it in parts: what the screen shows is the whole
// frame, however the parts overlap.

#include "platform/d3d/DeviceWidget.h"

#include <QCoreApplication>
#include <QImage>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int Width = 40;
constexpr int Height = 100; // taller than the rows painted at once

// What the screen shows of the widget, as 0xAARRGGBB pixels: what each repaint reached.
std::vector<std::uint32_t> Painted(TDeviceWidget& widget) {
    QCoreApplication::processEvents();
    const QImage image =
        widget.screen()->grabWindow(widget.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        pixels.insert(pixels.end(), row, row + image.width());
    }
    return pixels;
}

std::vector<std::uint32_t> WithRectangle(std::vector<std::uint32_t> pixels, const TFrameArea& area,
                                         std::uint32_t color) {
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            pixels[static_cast<std::size_t>(y) * Width + x] = color;
        }
    }
    return pixels;
}

} // namespace

TEST(DeviceWidget, AFrameGivenInPartsReachesTheScreenWhole) {
    TDeviceWidget widget;
    widget.resize(Width, Height);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    const std::vector<std::uint32_t> first(std::size_t{Width} * Height, 0xFF102030u);
    widget.ShowPixels(first.data(), Width, Height, nullptr, 0);
    EXPECT_EQ(Painted(widget), first);

    const TFrameArea changed[] = {{5, 3, 15, 90}, {30, 60, 40, 100}};
    std::vector<std::uint32_t> second = WithRectangle(first, changed[0], 0xFF00FF00u);
    second = WithRectangle(second, changed[1], 0xFFFF0000u);
    widget.ShowPixels(second.data(), Width, Height, changed, 2);
    EXPECT_EQ(Painted(widget), second);
}
