// The two devices agree on a whole frame of the game in play: the same seeded game, loaded
// from the generated pictures, drawn once by the hardware device in a window and once by the
// reference device offscreen, compared pixel by pixel.
#include "core/Globals.h"
#include "core/Random.h"
#include "game/Game.h"
#include "game/PlayFrame.h"
#include "platform/d3d/DeviceWidget.h"
#include "render/Direct3D.h"
#include "render/FrameRenderer.h"
#include "render/HeadlessScene.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "tests/gldevice/GLTestKit.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {
constexpr UINT FrameSize = 320;
constexpr std::uint32_t FrameMs = 16;
constexpr std::uint32_t PlayMs = 6000;

// The generated pictures in a directory of the test's own, so converting them on the first
// run touches nothing of the build.
class TProgramFiles {
public:
    TProgramFiles()
        : Root(std::filesystem::temp_directory_path() /
               ("zorbix-frame-agreement-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(Root);
        std::filesystem::copy(ZORBIX_GENERATED_IMAGES, Root / "Images",
                              std::filesystem::copy_options::recursive);
    }
    ~TProgramFiles() { std::filesystem::remove_all(Root); }
    std::string Path() const { return Root.string() + "/"; }

private:
    std::filesystem::path Root;
};

// Loads the scene on the device already in Direct3DDevice, plays the same game and returns
// the drawn frame.
std::vector<std::uint32_t> DrawGameFrame(const std::string& programDirectory) {
    THeadlessScene scene(programDirectory);
    Options->View = 3;
    Options->Difficulty = 1;
    RandSeed = 77;
    GameState = gsPlaying;
    Game->NewGame();
    for (std::uint32_t ms = 0; ms < PlayMs; ms += FrameMs) {
        PlayFrame(*Game, FrameMs);
    }
    EXPECT_GE(RenderFrame(), 0);
    std::vector<std::uint32_t> pixels;
    UINT width = 0;
    UINT height = 0;
    EXPECT_EQ(Direct3DDevice->ReadBackBuffer(pixels, width, height), D3D_OK);
    EXPECT_EQ(width, FrameSize);
    EXPECT_EQ(height, FrameSize);
    return pixels;
}

} // namespace

TEST(GameFrameAgreement, BothDevicesDrawTheSameFrameOfPlay) {
    if (!HasOpenGLDisplay()) {
        GTEST_SKIP() << "no display with OpenGL 3.3";
    }
    const TProgramFiles files;

    TDeviceRequest reference;
    reference.Hardware = false;
    reference.Width = FrameSize;
    reference.Height = FrameSize;
    ASSERT_TRUE(InitDirect3D(reference));
    const std::vector<std::uint32_t> drawnBySoftware = DrawGameFrame(files.Path());

    TDeviceWidget window;
    window.resize(static_cast<int>(FrameSize), static_cast<int>(FrameSize));
    window.show();
    QCoreApplication::processEvents();
    TDeviceRequest hardware;
    hardware.Window = &window;
    hardware.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ASSERT_TRUE(InitDirect3D(hardware));
    const std::vector<std::uint32_t> drawnByOpenGL = DrawGameFrame(files.Path());

    EXPECT_TRUE(PicturesAgree(drawnByOpenGL, drawnBySoftware));
}
