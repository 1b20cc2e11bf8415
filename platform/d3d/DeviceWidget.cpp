#include "platform/d3d/DeviceWidget.h"

#include "platform/d3d/OpenGLSurfaceWindow.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr std::uint32_t OpaqueAlpha = 0xFF000000u;
constexpr int PaintSliceRows = 48;

// The frame's alpha is whatever blending left; the window shows it opaque. Four pixels a step:
// the rows come from the drawing threads' caches, and wide reads keep more of them in flight.
void CopyOpaque(const std::uint32_t* from, std::uint32_t* to, int count) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(OpaqueAlpha));
    for (; x + 4 <= count; x += 4) {
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(to + x),
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x)), opaque));
    }
#endif
    for (; x < count; ++x) {
        to[x] = from[x] | OpaqueAlpha;
    }
}
} // namespace

TDeviceWidget::TDeviceWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    // Every paint covers the whole widget with the frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TDeviceWidget::~TDeviceWidget() {
    DetachOpenGLSurface();
}

void TDeviceWidget::ClientSize(UINT& width, UINT& height) const {
    const qreal ratio = devicePixelRatioF();
    width = static_cast<UINT>(std::lround(this->width() * ratio));
    height = static_cast<UINT>(std::lround(this->height() * ratio));
}

void TDeviceWidget::ShowPixels(const std::uint32_t* pixels, UINT width, UINT height,
                               const TFrameArea* changed, std::size_t changedCount) {
    if (pixels == nullptr || width == 0 || height == 0) {
        return;
    }
    const auto w = static_cast<int>(width);
    const auto h = static_cast<int>(height);
    const qreal ratio = devicePixelRatioF();
    // Only a frame shown pixel for pixel over the widget may be painted in parts: a stretched
    // one spreads each change over its neighbours.
    const bool inParts = changed != nullptr && Frame.width() == w && Frame.height() == h &&
                         ratio == 1.0 && size() == QSize(w, h);
    const TFrameArea whole{0, 0, w, h};
    if (!inParts) {
        if (Frame.width() != w || Frame.height() != h) {
            Frame = QImage(w, h, QImage::Format_RGB32);
        }
        Frame.setDevicePixelRatio(ratio);
        changed = &whole;
        changedCount = 1;
    }
    // Built by union: the areas overlap and differ in height, which a region given its
    // rectangles as they are must not.
    QRegion changedRegion;
    for (const TFrameArea& part : std::span(changed, changedCount)) {
        const QRect area =
            QRect(QPoint(part.Left, part.Top), QPoint(part.Right - 1, part.Bottom - 1))
                .intersected(QRect(0, 0, w, h));
        for (int y = area.top(); y <= area.bottom(); ++y) {
            CopyOpaque(pixels + static_cast<std::size_t>(y) * width + area.left(),
                       reinterpret_cast<std::uint32_t*>(Frame.scanLine(y)) + area.left(),
                       area.width());
        }
        changedRegion += area;
    }
    if (!inParts) {
        repaint();
    } else if (!changedRegion.isEmpty()) {
        repaint(changedRegion);
    }
}

QWindow* TDeviceWidget::AttachOpenGLSurface(const QSurfaceFormat& format) {
    if (Surface != nullptr) {
        return nullptr;
    }
    auto* window = new TOpenGLSurfaceWindow(format, this);
    // The container owns the window from here on.
    QWidget* container = QWidget::createWindowContainer(window, this);
    container->setFocusPolicy(Qt::NoFocus);
    container->setGeometry(rect());
    container->show();
    if (!window->handle()) {
        window->create();
    }
    SurfaceContainer = container;
    Surface = window;
    return window;
}

void TDeviceWidget::DetachOpenGLSurface() {
    delete SurfaceContainer.data();
    update();
}

void TDeviceWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (Frame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (Frame.size() != size() || Frame.devicePixelRatio() != 1.0) {
        painter.drawImage(rect(), Frame);
        return;
    }
    // Part by part: each is a plain copy, where one draw clipped to many parts is not. Qt hands
    // a draw of many rows to its thread pool, whose wake-ups cost more than the copy itself;
    // slices of a few rows stay on this thread.
    for (const QRect& part : event->region()) {
        for (int top = part.top(); top <= part.bottom(); top += PaintSliceRows) {
            const QRect slice(part.left(), top, part.width(),
                              std::min(PaintSliceRows, part.bottom() + 1 - top));
            painter.drawImage(slice, Frame, slice);
        }
    }
}

void TDeviceWidget::resizeEvent(QResizeEvent*) {
    if (SurfaceContainer != nullptr) {
        SurfaceContainer->setGeometry(rect());
    }
}
