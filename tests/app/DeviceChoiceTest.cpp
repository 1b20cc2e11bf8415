// The device the game draws with, on a real display (the test runs under an X server with
// Mesa): an OpenGL that rasterises in software is no 3D hardware, so the game warns and takes
// its own software device, unless the player asked for OpenGL all the same.

#include "core/Globals.h"
#include "render/Direct3D.h"
#include "tests/app/EventLoop.h"
#include "tests/app/GameWindowFixture.h"

namespace {
D3DCAPS8 DeviceCaps() {
    D3DCAPS8 caps{};
    EXPECT_TRUE(Direct3DDevice && Succeeded(Direct3DDevice->GetDeviceCaps(&caps)));
    return caps;
}
} // namespace

TEST_F(GameWindowTest, SoftwareOpenGLFallsBackWithTheWarningAndHardwareIsKept) {
    StartProgram(EDevice::Chosen);
    ASSERT_TRUE(RunEventLoopUntil([] { return GameState == gsTitle; }));
    const D3DCAPS8 caps = DeviceCaps();
    if (caps.DeviceType == D3DDEVTYPE_HAL) {
        // A machine with 3D hardware keeps it, without a word.
        EXPECT_NE(caps.DevCaps & D3DDEVCAPS_HWRASTERIZATION, 0u);
        EXPECT_TRUE(Boxes.empty());
        return;
    }
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Warning.");
    EXPECT_EQ(Boxes[0].Text, "Error initializing 3D Hardware.\nNow software will be used...");
    EXPECT_EQ(Boxes[0].Type, MB_OK | MB_ICONWARNING);
    EXPECT_EQ(Boxes[0].Owner, nullptr);
}

TEST_F(GameWindowTest, OpenGLAskedForIsTakenEvenInSoftware) {
    StartProgram(EDevice::SoftwareOpenGLAccepted);
    ASSERT_TRUE(RunEventLoopUntil([] { return GameState == gsTitle; }));
    EXPECT_EQ(DeviceCaps().DeviceType, D3DDEVTYPE_HAL);
    EXPECT_TRUE(Boxes.empty());
}
