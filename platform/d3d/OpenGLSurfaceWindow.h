#pragma once
// The native surface the hardware device draws into, embedded in a TDeviceWidget. It never
// takes the keyboard focus, and any key event that still reaches it goes on to the widget
// that hosts it, so keys always arrive where the rest of the game's keys do.

#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <cstdint>

class TOpenGLSurfaceWindow final : public QWindow {
    Q_OBJECT
public:
    TOpenGLSurfaceWindow(const QSurfaceFormat& format, QWidget* keyTarget);

    // How often the window system has shown the surface anew; each time, whatever it showed
    // before may be gone.
    std::uint64_t Exposures() const { return ExposureCount; }

protected:
    void exposeEvent(QExposeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void ForwardKey(QKeyEvent* event);

    QPointer<QWidget> KeyTarget;
    std::uint64_t ExposureCount = 0;
};
