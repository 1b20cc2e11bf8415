#include "app/HeadlessModes.h"
#include "core/Globals.h"
#include "settings/Options.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {
// A program directory holding a copy of the pictures the build generated, not yet converted.
class HeadlessModes : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(ZORBIX_GENERATED_IMAGES, Directory.Images(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(Directory.Images() + "logo.bmp");
    }
    void TearDown() override { GameState = gsLoading; }

    TScreenshotRequest Screenshot(const std::string& name) const {
        TScreenshotRequest request;
        request.ProgramDirectory = Directory.Path();
        request.OutputFile = Directory.Path() + name;
        request.Pixels = 96;
        return request;
    }

    TTemporaryProgramDirectory Directory;
};
} // namespace

// Guards the screenshot switch: the same request gives the same picture, of the size asked.
TEST_F(HeadlessModes, ScreenshotIsAPngOfTheRequestedSizeAndTheSameOnEveryRun) {
    TScreenshotRequest request = Screenshot("first.png");
    request.View = 1;
    request.Seed = 7;
    request.PlayMs = 4000;
    ASSERT_NO_THROW(TakeScreenshot(request));
    request.OutputFile = Directory.Path() + "second.png";
    ASSERT_NO_THROW(TakeScreenshot(request));
    const QImage first(QString::fromStdString(Directory.Path() + "first.png"), "PNG");
    const QImage second(QString::fromStdString(Directory.Path() + "second.png"), "PNG");
    EXPECT_EQ(first.size(), QSize(96, 96));
    EXPECT_EQ(first, second);
    EXPECT_TRUE(std::filesystem::exists(Directory.Images() + "logo.bmp"));
}

// Guards the two simulated players: the perfect one never misses, the losing one always.
TEST_F(HeadlessModes, PerfectPlayerCatchesEveryBallAndTheLosingOneLosesSlots) {
    TScreenshotRequest request = Screenshot("play.png");
    request.PlayMs = 20000;
    request.Player = TPlayer::Perfect;
    ASSERT_NO_THROW(TakeScreenshot(request));
    EXPECT_GT(Options->Score, 0);
    EXPECT_EQ(Options->Lives, 3);

    request.Player = TPlayer::Losing;
    ASSERT_NO_THROW(TakeScreenshot(request));
    EXPECT_EQ(Options->Score, 0);
    EXPECT_LT(Options->Lives, 3);
}

TEST_F(HeadlessModes, ReportAMissingPictureAndPrintTheBenchLine) {
    std::filesystem::remove(Directory.Images() + "nag.jpg");
    std::ostringstream errors;
    EXPECT_EQ(RunScreenshotMode(Screenshot("none.png"), errors), 1);
    EXPECT_EQ(errors.str(), "Cannot open file " + Directory.Images() + "nag.jpg\n");

    std::filesystem::copy(ZORBIX_GENERATED_IMAGES "/nag.jpg", Directory.Images() + "nag.jpg");
    TBenchRequest bench;
    bench.Frames = 3;
    bench.Pixels = 64;
    bench.ProgramDirectory = Directory.Path();
    std::ostringstream out;
    ASSERT_EQ(RunBenchMode(bench, out, errors), 0) << errors.str();
    EXPECT_EQ(out.str().rfind("fps=", 0), 0u) << out.str();
    EXPECT_NE(out.str().find(" device=reference size=64 draws="), std::string::npos) << out.str();

    // The first frame: the drum covers every pixel and the field lies over it; only the
    // digits are shaded over what is already there.
    bench.Frames = 1;
    const TBenchResult first = MeasureFrameRate(bench);
    EXPECT_GE(first.PixelsShaded, 64.0 * 64.0);
    EXPECT_LT(first.PixelsShaded, 64.0 * 64.0 * 1.25);
    EXPECT_GT(first.Fragments, first.PixelsShaded * 1.5);
    // Later frames shade again only what moved or changed.
    bench.Frames = 3;
    EXPECT_LT(MeasureFrameRate(bench).PixelsShaded, first.PixelsShaded * 0.9);
}

TEST_F(HeadlessModes, BenchRunsOnTheHardwareDeviceWhereThereIsADisplay) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no display";
    }
    TBenchRequest bench;
    bench.Frames = 3;
    bench.Pixels = 64;
    bench.Hardware = true;
    bench.ProgramDirectory = Directory.Path();
    EXPECT_GT(MeasureFrameRate(bench).FramesPerSecond, 0);
}
