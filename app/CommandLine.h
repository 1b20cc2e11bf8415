#pragma once
// The switches of the `zorbix` program. Without any it runs the game in its window.

#include "app/HeadlessModes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class TRunMode { Game, Help, Version, Screenshot, Bench };

struct TCommandLine {
    TRunMode Mode = TRunMode::Game;
    // The reference device only (--reference, --device reference or ZORBIX_DEVICE=reference).
    bool ReferenceDevice = false;

    // --screenshot FILE.png --state NAME [--view 0-3] [--seed N] [--play-ms MS]
    // [--player perfect|losing] [--size PIXELS]
    std::string ScreenshotFile;
    std::uint8_t State = 1;
    std::uint8_t View = 0;
    std::optional<std::uint32_t> Seed;
    std::uint32_t PlayMs = 0;
    TPlayer Player = TPlayer::Perfect;
    // --bench-frames N [--device reference|hardware] [--size PIXELS]
    std::uint32_t BenchFrames = 0;
    // --device hardware (or ZORBIX_DEVICE=hardware for the game): the OpenGL device, even on
    // a driver that rasterises in software.
    bool HardwareDevice = false;

    std::uint32_t Size = 600;
    // --replay FILE: the game watches this kept game once loaded.
    std::string ReplayFile;
};

// Reads the arguments after the program name; the window toolkit's own switches are accepted
// and left for the application object. Needs no application object. Throws
// std::invalid_argument with a message for the user for an unknown switch or a bad value.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// What `zorbix --help` prints.
std::string CommandLineHelp();
// What `zorbix --version` prints.
std::string CommandLineVersion();
