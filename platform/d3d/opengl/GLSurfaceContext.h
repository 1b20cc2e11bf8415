#pragma once
// An OpenGL 3.3 core context bound to the native surface a device window lends the hardware
// device. Owns both: destroying it releases the context and hands the surface back, so the
// window can serve the reference device afterwards. User-interface thread only.

#include "platform/d3d/D3D8Types.h"
#include "platform/d3d/opengl/GLFunctions.h"

#include <QOpenGLContext>
#include <QPointer>
#include <QWindow>

#include <memory>

class TOpenGLSurfaceHost;

class TGLSurfaceContext {
public:
    // Null, with nothing left attached, when the window lends no surface or no 3.3 context
    // can be had (no application object, no OpenGL on this platform, an older driver).
    static std::unique_ptr<TGLSurfaceContext> Create(HWND window, bool vsync);
    ~TGLSurfaceContext();
    TGLSurfaceContext(const TGLSurfaceContext&) = delete;
    TGLSurfaceContext& operator=(const TGLSurfaceContext&) = delete;

    // False once the window and its surface are gone; then nothing may draw.
    bool MakeCurrent();
    TGLFunctions& Gl() { return *Functions; }
    // The device window's client area in device pixels; false once the window is gone.
    bool ClientSize(UINT& width, UINT& height) const;
    // The framebuffer of the window surface and its size in device pixels.
    GLuint SurfaceFramebuffer() const { return Context->defaultFramebufferObject(); }
    void SurfaceSize(UINT& width, UINT& height) const;
    // Whether a swap would show anywhere (the surface is mapped and not minimised).
    bool SurfaceVisible() const;
    void SwapBuffers();

private:
    TGLSurfaceContext(HWND window, TOpenGLSurfaceHost& host);

    HWND Window;
    TOpenGLSurfaceHost& Host;
    std::unique_ptr<QOpenGLContext> Context;
    // The surface belongs to the window, so while it lives the window lives too.
    QPointer<QWindow> Surface;
    TGLFunctions* Functions = nullptr;
};
