// The switches of the program: every mode with its options, and clear refusals.

#include "app/CommandLine.h"
#include "core/Globals.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(CommandLineTest, ScreenshotTakesEveryOption) {
    const TCommandLine line = ParseCommandLine({"--screenshot", "shot.png", "--state", "gameover",
                                                "--view", "3", "--seed", "42", "--play-ms", "5000",
                                                "--player", "losing", "--size", "256"});
    EXPECT_EQ(line.Mode, TRunMode::Screenshot);
    EXPECT_EQ(line.ScreenshotFile, "shot.png");
    EXPECT_EQ(line.State, gsGameOver);
    EXPECT_EQ(line.View, 3);
    EXPECT_EQ(line.Seed, 42u);
    EXPECT_EQ(line.PlayMs, 5000u);
    EXPECT_EQ(line.Player, TPlayer::Losing);
    EXPECT_EQ(line.Size, 256u);
}

TEST(CommandLineTest, BenchTakesItsDeviceAndHelpWins) {
    const TCommandLine line = ParseCommandLine({"--bench-frames", "300", "--device", "hardware"});
    EXPECT_EQ(line.Mode, TRunMode::Bench);
    EXPECT_EQ(line.BenchFrames, 300u);
    EXPECT_TRUE(line.HardwareDevice);
    EXPECT_EQ(ParseCommandLine({"--reference", "--help"}).Mode, TRunMode::Help);
}

TEST(CommandLineTest, GameTakesEitherDeviceByName) {
    const TCommandLine hardware = ParseCommandLine({"--device", "hardware"});
    EXPECT_EQ(hardware.Mode, TRunMode::Game);
    EXPECT_TRUE(hardware.HardwareDevice);
    EXPECT_FALSE(hardware.ReferenceDevice);
    EXPECT_TRUE(ParseCommandLine({"--device", "reference"}).ReferenceDevice);
}

TEST(CommandLineTest, RefusesWhatItCannotDo) {
    const std::vector<std::vector<std::string>> refused{
        {"--frobnicate"},
        {"--screenshot"},
        {"--screenshot", "a.png", "--state", "sleeping"},
        {"--screenshot", "a.png", "--view", "4"},
        {"--screenshot", "a.png", "--view", "-1"},
        {"--screenshot", "a.png", "--seed", "12x"},
        {"--screenshot", "a.png", "--player", "lucky"},
        {"--screenshot", "a.png", "--size", "0"},
        {"--state", "title"},
        {"--bench-frames", "0"},
        {"--bench-frames", "10", "--device", "magic"},
        {"--screenshot", "a.png", "--device", "hardware"},
        {"--screenshot", "a.png", "--bench-frames", "10"},
    };
    for (const auto& arguments : refused) {
        EXPECT_THROW(ParseCommandLine(arguments), std::invalid_argument) << arguments.front();
    }
}
