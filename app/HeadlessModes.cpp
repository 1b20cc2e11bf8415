#include "app/HeadlessModes.h"

#include "core/GameError.h"
#include "core/Random.h"
#include "game/Game.h"
#include "game/GameFlow.h"
#include "game/PlayFrame.h"
#include "platform/d3d/DeviceWidget.h"
#include "render/Direct3D.h"
#include "render/Direct3DErrors.h"
#include "render/FrameRenderer.h"
#include "render/HeadlessScene.h"
#include "render/SceneResources.h"
#include "settings/Options.h"

#include <QApplication>
#include <QImage>

#include <array>
#include <chrono>
#include <cmath>
#include <memory>
#include <ostream>
#include <vector>

namespace {
constexpr std::uint32_t FrameMs = 16;
constexpr std::uint32_t BenchSeed = 1230;
constexpr std::int32_t BenchScore = 1230;
constexpr std::int32_t BenchBalls = 4;
constexpr std::uint32_t BenchWarmUpLimitMs = 60000;

struct TStateName {
    std::string_view Name;
    std::uint8_t State;
};
constexpr std::array<TStateName, 5> StateNames{{{"title", gsTitle},
                                                {"playing", gsPlaying},
                                                {"gameover", gsGameOver},
                                                {"interlude", gsInterlude},
                                                {"paused", gsPaused}}};

// One frame of play at the bench's frame time, the player moving first. False once the game
// is over.
bool PlayBenchFrame(TPlayer player) {
    MakeMove(*Game, player);
    if (GameState != gsPlaying) {
        return false;
    }
    PlayFrame(*Game, FrameMs);
    return true;
}

// As a player starts one: a key at the title.
void StartGame(std::uint32_t seed) {
    RandSeed = seed;
    FrameDeltaMs = FrameMs; // the game's timers run on the main loop's frame time
    FlowToTitle();
    FlowKeyPress(*Game, 'a', {});
}

void CheckFrame(HRESULT code) {
    if (Failed(code)) {
        throw EGameError(Direct3DErrorText(code));
    }
}

void OpenDevice(HWND window, bool hardware, UINT pixels) {
    TDeviceRequest request;
    request.Window = window;
    request.Hardware = hardware;
    request.Width = window == nullptr ? pixels : 0;
    request.Height = window == nullptr ? pixels : 0;
    request.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (!InitDirect3D(request)) {
        ReleaseDirect3D();
        throw EGameError(Direct3DErrorText(D3DERR_NOTAVAILABLE));
    }
}

void WritePicture(const std::string& fileName) {
    std::vector<std::uint32_t> pixels;
    UINT width = 0;
    UINT height = 0;
    CheckFrame(Direct3DDevice->ReadBackBuffer(pixels, width, height));
    QImage picture(reinterpret_cast<const uchar*>(pixels.data()), static_cast<int>(width),
                   static_cast<int>(height), static_cast<qsizetype>(width) * 4,
                   QImage::Format_RGB32);
    if (!picture.save(QString::fromStdString(fileName), "PNG")) {
        throw EGameError(FormatMessage("Cannot create file %s", fileName));
    }
}

TBenchResult RenderBenchFrames(const TBenchRequest& request, bool pumpWindowEvents) {
    THeadlessScene scene(request.ProgramDirectory, request.ConvertedPicturesDirectory);
    StartBenchPlay();

    TBenchResult result;
    const auto start = std::chrono::steady_clock::now();
    for (std::uint32_t frame = 0; frame < request.Frames; ++frame) {
        CheckFrame(DrawBenchFrame());
        const TFrameCounters counters = Direct3DDevice->FrameCounters();
        result.DrawCalls += counters.DrawCalls;
        result.Triangles += counters.Triangles;
        result.Fragments += static_cast<double>(counters.Fragments);
        result.PixelsShaded += static_cast<double>(counters.PixelsShaded);
        if (pumpWindowEvents) {
            QCoreApplication::processEvents();
        }
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    result.FramesPerSecond = seconds.count() > 0 ? request.Frames / seconds.count() : 0;
    if (request.Frames > 0) {
        for (double* average :
             {&result.DrawCalls, &result.Triangles, &result.Fragments, &result.PixelsShaded}) {
            *average /= request.Frames;
        }
    }
    return result;
}
} // namespace

void StartBenchPlay() {
    Options->View = 0;
    Options->Difficulty = 1;
    StartGame(BenchSeed);
    for (std::uint32_t ms = 0; Game->BallCount < BenchBalls && ms < BenchWarmUpLimitMs;
         ms += FrameMs) {
        PlayBenchFrame(TPlayer::Perfect);
    }
    Options->Score = BenchScore;
    Options->Lives = 3;
    Numbers->ShowScore(BenchScore);
    FrameDeltaMs = FrameMs;
}

HRESULT DrawBenchFrame() {
    const HRESULT code = RenderFrame();
    PlayBenchFrame(TPlayer::Perfect);
    return code;
}

bool ParseGameState(std::string_view name, std::uint8_t& state) {
    for (const TStateName& entry : StateNames) {
        if (entry.Name == name) {
            state = entry.State;
            return true;
        }
    }
    return false;
}

bool ParsePlayer(std::string_view name, TPlayer& player) {
    if (name == "perfect" || name == "losing") {
        player = name == "perfect" ? TPlayer::Perfect : TPlayer::Losing;
        return true;
    }
    return false;
}

void TakeScreenshot(const TScreenshotRequest& request) {
    OpenDevice(nullptr, false, request.Pixels);
    THeadlessScene scene(request.ProgramDirectory, request.ConvertedPicturesDirectory);
    Options->View = request.View;
    StartGame(request.Seed);
    for (std::uint32_t ms = 0; ms + FrameMs <= request.PlayMs; ms += FrameMs) {
        if (!PlayBenchFrame(request.Player)) {
            break;
        }
        BackPlane->Spin(static_cast<float>(FrameMs));
    }
    // The picture of the state asked for, whatever the game has come to meanwhile.
    if (request.State == gsPaused) {
        SavedState = gsPlaying;
    }
    GameState = request.State;
    FrameDeltaMs = request.State == gsPaused ? 0 : FrameMs;
    CheckFrame(RenderFrame());
    WritePicture(request.OutputFile);
}

TBenchResult MeasureFrameRate(const TBenchRequest& request) {
    if (!request.Hardware) {
        OpenDevice(nullptr, false, request.Pixels);
        return RenderBenchFrames(request, false);
    }
    // The hardware device draws into a window; make the application the window needs when
    // the program has none yet.
    std::unique_ptr<QApplication> application;
    int argc = 1;
    std::array<char, 8> name{"zorbix"};
    std::array<char*, 2> argv{name.data(), nullptr};
    if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QApplication>(argc, argv.data());
    }
    TDeviceWidget window;
    window.resize(static_cast<int>(request.Pixels), static_cast<int>(request.Pixels));
    window.show();
    QCoreApplication::processEvents();
    OpenDevice(&window, true, request.Pixels);
    return RenderBenchFrames(request, true);
}

int RunScreenshotMode(const TScreenshotRequest& request, std::ostream& errors) {
    try {
        TakeScreenshot(request);
        return 0;
    } catch (const EGameError& error) {
        errors << error.what() << '\n';
        return 1;
    }
}

int RunBenchMode(const TBenchRequest& request, std::ostream& out, std::ostream& errors) {
    try {
        const TBenchResult result = MeasureFrameRate(request);
        out << "fps=" << result.FramesPerSecond
            << " device=" << (request.Hardware ? "hardware" : "reference")
            << " size=" << request.Pixels << " draws=" << result.DrawCalls
            << " triangles=" << result.Triangles;
        if (!request.Hardware) {
            out << " fragments=" << std::llround(result.Fragments)
                << " shaded=" << std::llround(result.PixelsShaded);
        }
        out << '\n';
        return 0;
    } catch (const EGameError& error) {
        errors << error.what() << '\n';
        return 1;
    }
}
