#pragma once
// The window a 3D device presents into, as a widget the main window places below its menu.
// It serves either device on the same window: the reference device hands it finished frames
// (ShowPixels paints them at once), the hardware device asks it for a native OpenGL surface
// that covers the client area while that device lives. It never takes the keyboard focus;
// key events go to its parent, so the main window keeps receiving the arrow keys.
// Use on the user-interface thread only.

#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/OpenGLSurfaceHost.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class TDeviceWidget final : public QWidget, public TDeviceWindow, public TOpenGLSurfaceHost {
    Q_OBJECT
public:
    explicit TDeviceWidget(QWidget* parent = nullptr);
    ~TDeviceWidget() override;

    // The widget's size in device pixels (its logical size times the device-pixel ratio).
    void ClientSize(UINT& width, UINT& height) const override;
    // Copies the frame and paints it before returning, only the changed areas where the frame
    // fills the client area pixel for pixel; a frame of another size is stretched over it.
    void ShowPixels(const std::uint32_t* pixels, UINT width, UINT height, const TFrameArea* changed,
                    std::size_t changedCount) override;

    QWindow* AttachOpenGLSurface(const QSurfaceFormat& format) override;
    void DetachOpenGLSurface() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage Frame;
    QPointer<QWidget> SurfaceContainer;
    QPointer<QWindow> Surface;
};
