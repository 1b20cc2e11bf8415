// Runs the device tests inside a QApplication: on the xcb platform when a display exists (the
// OpenGL device needs one), otherwise offscreen, where the OpenGL tests skip.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
