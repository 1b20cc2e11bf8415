#include "platform/d3d/DeviceWidget.h"

#include "platform/d3d/OpenGLSurfaceWindow.h"

#include <QPainter>

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr std::uint32_t OpaqueAlpha = 0xFF000000u;

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

void TDeviceWidget::ShowPixels(const std::uint32_t* pixels, UINT width, UINT height) {
    if (pixels == nullptr || width == 0 || height == 0) {
        return;
    }
    const auto w = static_cast<int>(width);
    const auto h = static_cast<int>(height);
    if (Frame.width() != w || Frame.height() != h) {
        Frame = QImage(w, h, QImage::Format_RGB32);
    }
    for (int y = 0; y < h; ++y) {
        CopyOpaque(pixels + static_cast<std::size_t>(y) * width,
                   reinterpret_cast<std::uint32_t*>(Frame.scanLine(y)), w);
    }
    Frame.setDevicePixelRatio(devicePixelRatioF());
    repaint();
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

void TDeviceWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Frame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.drawImage(rect(), Frame);
}

void TDeviceWidget::resizeEvent(QResizeEvent*) {
    if (SurfaceContainer != nullptr) {
        SurfaceContainer->setGeometry(rect());
    }
}
