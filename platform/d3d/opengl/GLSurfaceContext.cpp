#include "platform/d3d/opengl/GLSurfaceContext.h"

#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/OpenGLSurfaceHost.h"
#include "platform/d3d/OpenGLSurfaceWindow.h"

#include <QGuiApplication>
#include <QOpenGLVersionFunctionsFactory>
#include <QThread>

#include <cmath>

namespace {

QSurfaceFormat RequestedFormat(bool vsync) {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    // The device draws into its own framebuffer object and copies it to the surface at
    // Present, so the surface needs colour only.
    format.setDepthBufferSize(0);
    format.setStencilBufferSize(0);
    format.setAlphaBufferSize(0);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setSwapInterval(vsync ? 1 : 0);
    return format;
}

bool IsUsable(const QSurfaceFormat& format) {
    return format.renderableType() == QSurfaceFormat::OpenGL && format.version() >= qMakePair(3, 3);
}

// X11 shows and paces a native child surface as part of its window; the window systems after
// it leave that to each compositor.
bool ChildSurfacesServe() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

TGLSurfaceContext::TGLSurfaceContext(HWND window, TOpenGLSurfaceHost& host)
    : Window(window), Host(host), WindowObject(dynamic_cast<QObject*>(window)) {}

std::unique_ptr<TGLSurfaceContext> TGLSurfaceContext::Create(HWND window, bool vsync) {
    auto* host = dynamic_cast<TOpenGLSurfaceHost*>(window);
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (host == nullptr || app == nullptr || QThread::currentThread() != app->thread()) {
        return nullptr;
    }
    std::unique_ptr<TGLSurfaceContext> made(new TGLSurfaceContext(window, *host));
    made->Context = std::make_unique<QOpenGLContext>();
    made->Context->setFormat(RequestedFormat(vsync));
    if (!made->Context->create() || !IsUsable(made->Context->format())) {
        return nullptr;
    }
    if (ChildSurfacesServe()) {
        made->WindowSurface = host->AttachOpenGLSurface(made->Context->format());
        if (made->WindowSurface == nullptr) {
            return nullptr;
        }
    } else {
        made->OffscreenSurface = std::make_unique<QOffscreenSurface>();
        made->OffscreenSurface->setFormat(made->Context->format());
        made->OffscreenSurface->create();
        if (!made->OffscreenSurface->isValid()) {
            return nullptr;
        }
    }
    if (!made->Context->makeCurrent(made->CurrentSurface())) {
        return nullptr;
    }
    made->Functions = QOpenGLVersionFunctionsFactory::get<TGLFunctions>(made->Context.get());
    if (made->Functions == nullptr || !made->Functions->initializeOpenGLFunctions()) {
        return nullptr;
    }
    return made;
}

TGLSurfaceContext::~TGLSurfaceContext() {
    if (Context != nullptr && QOpenGLContext::currentContext() == Context.get()) {
        Context->doneCurrent();
    }
    Context.reset();
    OffscreenSurface.reset();
    if (WindowSurface != nullptr) {
        Host.DetachOpenGLSurface();
    }
}

QSurface* TGLSurfaceContext::CurrentSurface() const {
    if (OffscreenSurface != nullptr) {
        return WindowObject != nullptr ? OffscreenSurface.get() : nullptr;
    }
    return WindowSurface.data();
}

bool TGLSurfaceContext::MakeCurrent() {
    QSurface* surface = CurrentSurface();
    if (surface == nullptr) {
        return false;
    }
    if (QOpenGLContext::currentContext() == Context.get() && Context->surface() == surface) {
        return true;
    }
    return Context->makeCurrent(surface);
}

bool TGLSurfaceContext::ClientSize(UINT& width, UINT& height) const {
    if (CurrentSurface() == nullptr) {
        return false;
    }
    Window->ClientSize(width, height);
    return true;
}

void TGLSurfaceContext::SurfaceSize(UINT& width, UINT& height) const {
    width = height = 0;
    if (WindowSurface != nullptr) {
        const qreal ratio = WindowSurface->devicePixelRatio();
        width = static_cast<UINT>(std::lround(WindowSurface->width() * ratio));
        height = static_cast<UINT>(std::lround(WindowSurface->height() * ratio));
    }
}

bool TGLSurfaceContext::SurfaceVisible() const {
    return WindowSurface != nullptr && WindowSurface->isExposed();
}

void TGLSurfaceContext::SwapBuffers() {
    if (WindowSurface != nullptr) {
        Context->swapBuffers(WindowSurface);
    }
}

bool TGLSurfaceContext::TakeExposure() {
    const auto* window = qobject_cast<const TOpenGLSurfaceWindow*>(WindowSurface.data());
    if (window == nullptr || window->Exposures() == ExposuresSeen) {
        return false;
    }
    ExposuresSeen = window->Exposures();
    return true;
}

void TGLSurfaceContext::ShowPixels(const std::uint32_t* pixels, UINT width, UINT height) {
    if (WindowObject != nullptr) {
        Window->ShowPixels(pixels, width, height, nullptr, 0);
    }
}
