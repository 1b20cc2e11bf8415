#include "platform/system/WindowGeometry.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <array>
#include <cstdint>

namespace {
xcb_connection_t* X11Connection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}
} // namespace

void RequestClientSize(QWidget* window, QSize size) {
    xcb_connection_t* connection = X11Connection();
    const QWindow* handle = window->windowHandle();
    if (connection == nullptr || handle == nullptr || !window->isVisible()) {
        window->resize(size);
        return;
    }
    // The window system counts in device pixels.
    const qreal ratio = handle->devicePixelRatio();
    const std::array<std::uint32_t, 2> values{
        static_cast<std::uint32_t>(qRound(size.width() * ratio)),
        static_cast<std::uint32_t>(qRound(size.height() * ratio))};
    xcb_configure_window(connection, static_cast<xcb_window_t>(handle->winId()),
                         XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values.data());
    xcb_flush(connection);
}

void SetWindowFillColour(QWidget* window, QColor colour) {
    xcb_connection_t* connection = X11Connection();
    const QWindow* handle = window->windowHandle();
    if (connection == nullptr || handle == nullptr) {
        return;
    }
    // A true-colour visual, as every current X server offers: the pixel is the colour.
    const std::array<std::uint32_t, 1> values{colour.rgb() & 0xFFFFFFu};
    xcb_change_window_attributes(connection, static_cast<xcb_window_t>(handle->winId()),
                                 XCB_CW_BACK_PIXEL, values.data());
    xcb_flush(connection);
}
