#include "platform/d3d/opengl/GLSurfaceContext.h"

#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/OpenGLSurfaceHost.h"

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

} // namespace

TGLSurfaceContext::TGLSurfaceContext(HWND window, TOpenGLSurfaceHost& host)
    : Window(window), Host(host) {}

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
    made->Surface = host->AttachOpenGLSurface(made->Context->format());
    if (made->Surface == nullptr || !made->Context->makeCurrent(made->Surface)) {
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
    if (Surface != nullptr) {
        Host.DetachOpenGLSurface();
    }
}

bool TGLSurfaceContext::MakeCurrent() {
    if (Surface == nullptr) {
        return false;
    }
    if (QOpenGLContext::currentContext() == Context.get() && Context->surface() == Surface) {
        return true;
    }
    return Context->makeCurrent(Surface);
}

bool TGLSurfaceContext::ClientSize(UINT& width, UINT& height) const {
    if (Surface == nullptr) {
        return false;
    }
    Window->ClientSize(width, height);
    return true;
}

void TGLSurfaceContext::SurfaceSize(UINT& width, UINT& height) const {
    width = height = 0;
    if (Surface != nullptr) {
        const qreal ratio = Surface->devicePixelRatio();
        width = static_cast<UINT>(std::lround(Surface->width() * ratio));
        height = static_cast<UINT>(std::lround(Surface->height() * ratio));
    }
}

bool TGLSurfaceContext::SurfaceVisible() const {
    return Surface != nullptr && Surface->isExposed();
}

void TGLSurfaceContext::SwapBuffers() {
    if (Surface != nullptr) {
        Context->swapBuffers(Surface);
    }
}
