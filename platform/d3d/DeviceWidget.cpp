#include "platform/d3d/DeviceWidget.h"

#include "platform/d3d/OpenGLSurfaceWindow.h"

#include <QPainter>

#include <cmath>

namespace {
constexpr std::uint32_t OpaqueAlpha = 0xFF000000u;
}

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
    // The frame's alpha is whatever blending left; the window shows it opaque.
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* from = pixels + static_cast<std::size_t>(y) * width;
        auto* to = reinterpret_cast<std::uint32_t*>(Frame.scanLine(y));
        for (int x = 0; x < w; ++x) {
            to[x] = from[x] | OpaqueAlpha;
        }
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
