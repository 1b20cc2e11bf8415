#pragma once
// Two ways to run the renderer without the game's window, for the program's command-line
// switches: a screenshot of any state after some simulated play, and a frame-rate bench of a
// fixed playing scene. Each makes its own device and scene and releases them again; neither
// may run while the game's own device exists. The program's main only parses its arguments
// into the requests below and calls Run...Mode.

#include "core/Globals.h"
#include "game/ScriptedPlayer.h"
#include "platform/interfaces/D3D8Types.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

struct TScreenshotRequest {
    std::uint8_t State = gsPlaying; // title, playing, game over, interlude or paused
    std::uint8_t View = 0;
    std::uint32_t Seed = 1;
    std::uint32_t PlayMs = 0; // simulated in 16 ms frames before the picture is taken
    TPlayer Player = TPlayer::Perfect;
    UINT Pixels = 640;
    std::string OutputFile;                 // a PNG
    std::string ProgramDirectory;           // where "Images" lies, with its trailing separator
    std::string ConvertedPicturesDirectory; // the first run's bitmaps; empty: under "Images"
};

struct TBenchRequest {
    std::uint32_t Frames = 300;
    bool Hardware = false; // the OpenGL device in a window (needs a display), vsync off
    UINT Pixels = 640;
    std::string ProgramDirectory;
    std::string ConvertedPicturesDirectory;
};

// "title", "playing", "gameover", "interlude", "paused"; false for any other name.
bool ParseGameState(std::string_view name, std::uint8_t& state);
// "perfect" or "losing".
bool ParsePlayer(std::string_view name, TPlayer& player);

// Renders the requested picture with the reference device, without a window, and writes it.
// Throws EGameError when the device, a picture, a frame or the file fails.
void TakeScreenshot(const TScreenshotRequest& request);
// What the bench measured: frames per second and the device's counters averaged per frame
// (fill counts stay 0 on a device that does not count them).
struct TBenchResult {
    double FramesPerSecond = 0;
    double DrawCalls = 0;
    double Triangles = 0;
    double Fragments = 0;
    double PixelsShaded = 0;
};

// Renders request.Frames frames of the fixed bench scene (4 balls in flight, 3 lives, score
// 1230, the game advanced 16 ms a frame, the same on every run) and reports the rate and the
// counts. Throws EGameError as TakeScreenshot does.
TBenchResult MeasureFrameRate(const TBenchRequest& request);

// The bench scene on a scene already loaded (THeadlessScene) on any device: the game put into
// the fixed state above, then one frame drawn and played at a time. The device benchmark
// draws the same scene.
void StartBenchPlay();
HRESULT DrawBenchFrame();

// Wrappers for the program: report a failure on `errors` and return the exit code (0 or 1).
int RunScreenshotMode(const TScreenshotRequest& request, std::ostream& errors);
// Prints "fps=<frames per second> device=<reference|hardware> size=<pixels>", then the
// counts per frame ("draws=", "triangles=", and on the reference device "fragments=" and
// "shaded="), on one line of `out`.
int RunBenchMode(const TBenchRequest& request, std::ostream& out, std::ostream& errors);
