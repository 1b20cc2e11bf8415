#pragma once
// An OpenGL 3.3 core context for the hardware device, and the surface it is current on. On X11
// that is a native surface the device window lends, covering its client area, and frames are
// swapped onto it. Elsewhere (Wayland) a child surface of the window is not reliably shown or
// paced by every compositor, so the context works on an offscreen surface and finished frames
// are read back and handed to the device window like the software device's. Owns both:
// destroying it releases the context and hands a lent surface back, so the window can serve
// the reference device afterwards. User-interface thread only.

#include "platform/d3d/opengl/GLFunctions.h"
#include "platform/interfaces/D3D8Types.h"

#include <QOffscreenSurface>
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
    // Whether frames are swapped onto a window surface (else they are read back and shown
    // through the device window).
    bool SwapsOntoWindow() const { return WindowSurface != nullptr; }
    // The framebuffer of the window surface and its size in device pixels.
    GLuint SurfaceFramebuffer() const { return Context->defaultFramebufferObject(); }
    void SurfaceSize(UINT& width, UINT& height) const;
    // Whether a swap would show anywhere (the surface is mapped and not minimised).
    bool SurfaceVisible() const;
    void SwapBuffers();
    // Whether the window surface was shown anew since the last call, so that what was swapped
    // onto it before may be gone.
    bool TakeExposure();
    // Hands a frame read back from the device to the device window, which shows it.
    void ShowPixels(const std::uint32_t* pixels, UINT width, UINT height);

private:
    TGLSurfaceContext(HWND window, TOpenGLSurfaceHost& host);
    QSurface* CurrentSurface() const;

    HWND Window;
    TOpenGLSurfaceHost& Host;
    // The device window as an object, so that its end is noticed.
    QPointer<QObject> WindowObject;
    std::unique_ptr<QOpenGLContext> Context;
    // The surface lent by the window: it belongs to the window, so while it lives the window
    // lives too. Null where the context works offscreen.
    QPointer<QWindow> WindowSurface;
    std::unique_ptr<QOffscreenSurface> OffscreenSurface;
    TGLFunctions* Functions = nullptr;
    std::uint64_t ExposuresSeen = 0;
};
