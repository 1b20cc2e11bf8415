#include "render/SceneResources.h"
#include "core/GameError.h"
#include "game/Game.h"
#include "game/GameResources.h"
#include "render/Direct3D.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {
class SceneResources : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTestPictures(Directory.Images());
        UseReferenceDevice(8, 8);
    }
    void TearDown() override {
        ReleaseSceneResources();
        Direct3DDevice.Reset();
    }
    TTemporaryProgramDirectory Directory;
};
} // namespace

// Guards the loading bar and the program-relative look-up of every picture, the ball and
// digit pictures included, whatever the current directory.
TEST_F(SceneResources, LoadEverythingFromTheProgramDirectoryReportingTheBar) {
    const auto working = std::filesystem::current_path();
    std::filesystem::current_path("/");
    std::vector<int> bar;
    LoadSceneResources([&](int width) { bar.push_back(width); }, Directory.Path());
    std::filesystem::current_path(working);
    EXPECT_EQ(bar, (std::vector<int>{50, 90, 130, 130, 140, 145}));
    EXPECT_TRUE(TitleTexture && FrameTexture && BallTextures[7] && Numbers->Poses[9].Texture);
    EXPECT_TRUE(Game && BackPlane);
    EXPECT_EQ(Numbers->DigitCount, 0);
}

// Guards against a half-loaded scene: a missing picture fails the step with its text and
// leaves nothing of it behind.
TEST_F(SceneResources, AMissingPictureFailsTheStepAndKeepsNothing) {
    const std::string sphere = Directory.Images() + "sphere3.bmp";
    std::filesystem::remove(sphere);
    try {
        LoadSceneResources(nullptr, Directory.Path());
        FAIL() << "no error";
    } catch (const EGameError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + sphere);
    }
    EXPECT_FALSE(TitleTexture);
    EXPECT_FALSE(BallTextures[0]);
    EXPECT_FALSE(Game);
}

// Guards the split of the installed layout: the five converted pictures come from their own
// directory, every other picture from the data directory.
TEST_F(SceneResources, ConvertedPicturesLoadFromTheirOwnDirectory) {
    const std::string cache = Directory.Path() + "cache/";
    std::filesystem::create_directory(cache);
    for (const char* name : {"logo.bmp", "gameover.bmp", "nag.bmp", "fone.bmp", "field.bmp"}) {
        std::filesystem::rename(Directory.Images() + name, cache + name);
    }
    LoadSceneResources(nullptr, Directory.Path(), cache);
    EXPECT_TRUE(TitleTexture && FieldTexture && FrameTexture && PauseTexture && BackPlane);
}
