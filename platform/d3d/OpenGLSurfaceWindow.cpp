#include "platform/d3d/OpenGLSurfaceWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>

TOpenGLSurfaceWindow::TOpenGLSurfaceWindow(const QSurfaceFormat& format, QWidget* keyTarget)
    : KeyTarget(keyTarget) {
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(format);
    setFlag(Qt::WindowDoesNotAcceptFocus);
}

void TOpenGLSurfaceWindow::exposeEvent(QExposeEvent*) {
    if (isExposed()) {
        ++ExposureCount;
    }
}

void TOpenGLSurfaceWindow::keyPressEvent(QKeyEvent* event) {
    ForwardKey(event);
}

void TOpenGLSurfaceWindow::keyReleaseEvent(QKeyEvent* event) {
    ForwardKey(event);
}

void TOpenGLSurfaceWindow::ForwardKey(QKeyEvent* event) {
    if (KeyTarget == nullptr) {
        event->ignore();
        return;
    }
    // The widget does not want keys itself, so the application hands the event on to its
    // parents: the main window sees it as if it had the focus all along.
    event->ignore();
    QCoreApplication::sendEvent(KeyTarget, event);
}
