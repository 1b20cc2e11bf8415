// The window tests run on Qt's offscreen platform unless a display is asked for, and play
// their sounds into SDL's silent driver unless another is asked for. Tests that ask for an X
// display where there is none report themselves skipped (77, as CTest is told).

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

namespace {
constexpr int SkippedStatus = 77;
}

int main(int argc, char* argv[]) {
    if (qgetenv("QT_QPA_PLATFORM") == "xcb" && qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("skipped: these tests need an X display and DISPLAY is not set");
        return SkippedStatus;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) {
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
    // Starting audio makes SDL probe the desktop's message bus; under a virtual display the bus
    // library launches one and keeps buffers it never frees. No test needs it.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    QApplication application(argc, argv);
    // Closing a test's main window must not end the others.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
