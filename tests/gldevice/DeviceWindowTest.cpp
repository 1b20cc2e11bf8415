// The device widget with both devices presenting into it under xcb: sizes in device pixels,
// frames reaching the screen, one window serving either device, and keys reaching the parent.
#include "platform/d3d/OpenGLSurfaceWindow.h"
#include "tests/gldevice/GLTestKit.h"

#include <QApplication>

#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The scale the run was started with (the window tests also run with QT_SCALE_FACTOR=2).
double ScaleFactor() {
    bool ok = false;
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? scale : 1.0;
}

UINT DevicePixels(int logical) {
    return static_cast<UINT>(std::lround(logical * ScaleFactor()));
}

void PresentClearedFrame(IDirect3DDevice8& device, D3DCOLOR color) {
    EXPECT_EQ(device.Clear(0, nullptr, D3DCLEAR_TARGET, color, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device.BeginScene(), D3D_OK);
    EXPECT_EQ(device.EndScene(), D3D_OK);
    EXPECT_EQ(device.Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// The surface a hardware device draws into, once the window system shows it.
QWindow* ExposedSurface() {
    for (QWindow* window : QGuiApplication::allWindows()) {
        if (qobject_cast<TOpenGLSurfaceWindow*>(window) != nullptr) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
            return window;
        }
    }
    return nullptr;
}

// The middle of the widget as the screen shows it.
QRgb ShownCentre(TDeviceWidget& widget) {
    QCoreApplication::processEvents();
    const QImage shown = widget.screen()->grabWindow(widget.winId()).toImage();
    return shown.pixel(shown.width() / 2, shown.height() / 2) & 0xFFFFFF;
}

class TKeyRecorder final : public QWidget {
public:
    QList<int> Keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { Keys.append(event->key()); }
};

class DeviceWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HasOpenGLDisplay()) {
            GTEST_SKIP() << NoDisplayReason;
        }
        Window = ShowDeviceWidget(64, 48);
    }
    std::unique_ptr<TDeviceWidget> Window;
};

} // namespace

// Guards the back buffer size: the client area in device pixels, followed at the next frame
// after a resize.
TEST_F(DeviceWindowTest, HardwareBackBufferFollowsTheClientSizeInDevicePixels) {
    TComRef<IDirect3DDevice8> device;
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_HAL, GameParameters(Window.get()), device.Put()), D3D_OK);
    PresentClearedFrame(*device.Get(), 0xFF000000);
    TTestFrame frame = ReadFrame(*device.Get());
    EXPECT_EQ(frame.Width, DevicePixels(64));
    EXPECT_EQ(frame.Height, DevicePixels(48));

    Window->resize(80, 30);
    QCoreApplication::processEvents();
    PresentClearedFrame(*device.Get(), 0xFF000000);
    frame = ReadFrame(*device.Get());
    EXPECT_EQ(frame.Width, DevicePixels(80));
    EXPECT_EQ(frame.Height, DevicePixels(30));
}

// Guards the game's start-up path: the hardware device shows its frames on the screen, and
// once it is released the same window shows the reference device's frames instead.
TEST_F(DeviceWindowTest, OneWindowServesTheHardwareThenTheReferenceDevice) {
    TComRef<IDirect3DDevice8> device;
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_HAL, GameParameters(Window.get()), device.Put()), D3D_OK);
    ASSERT_NE(ExposedSurface(), nullptr);
    PresentClearedFrame(*device.Get(), 0xFFFF0000);
    EXPECT_EQ(ShownCentre(*Window), 0xFF0000u);

    device.Reset();
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_REF, GameParameters(Window.get()), device.Put()), D3D_OK);
    PresentClearedFrame(*device.Get(), 0xFF00FF00);
    EXPECT_EQ(ShownCentre(*Window), 0x00FF00u);
}

// Guards the arrow keys: the widget never takes the focus from the main window, and keys that
// reach it or the hardware device's surface go on to the parent.
TEST_F(DeviceWindowTest, KeysReachTheParentAndFocusStaysPut) {
    TKeyRecorder parent;
    auto* layout = new QVBoxLayout(&parent);
    auto* field = new QLineEdit(&parent);
    auto* view = new TDeviceWidget(&parent);
    layout->addWidget(field);
    layout->addWidget(view);
    parent.resize(100, 120);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    field->setFocus();
    TComRef<IDirect3DDevice8> device;
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_HAL, GameParameters(view), device.Put()), D3D_OK);
    QWindow* surface = ExposedSurface();
    ASSERT_NE(surface, nullptr);

    QTest::mouseClick(view, Qt::LeftButton);
    QTest::mouseClick(surface, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), field);
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(surface, Qt::Key_Up);
    EXPECT_EQ(parent.Keys, (QList<int>{Qt::Key_Left, Qt::Key_Up}));
}
