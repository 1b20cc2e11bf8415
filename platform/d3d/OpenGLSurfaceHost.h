#pragma once
// What a device window offers the hardware device beyond TDeviceWindow: a native surface to
// draw into with OpenGL. A window that does not offer it can only serve the reference device.

class QSurfaceFormat;
class QWindow;

class TOpenGLSurfaceHost {
public:
    // Makes the native OpenGL surface, created and shown over the whole client area, with the
    // given format; null when one is attached already or the window cannot make one.
    virtual QWindow* AttachOpenGLSurface(const QSurfaceFormat& format) = 0;
    // Removes the surface again, so that frames given to ShowPixels show once more. The
    // surface pointer is invalid afterwards.
    virtual void DetachOpenGLSurface() = 0;

protected:
    ~TOpenGLSurfaceHost() = default;
};
