// Frames per second of the reference device on the game's own scene in play (the bench
// mode's) at 640 by 640 pixels, on one thread and on two, offscreen and presenting into a
// window that sizes the back buffer, and the heap allocations a frame makes (none once the
// first frames have sized the device's queues).

#include "app/HeadlessModes.h"
#include "core/Globals.h"
#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/reference/ReferenceDevice.h"
#include "render/Direct3D.h"
#include "render/FrameRenderer.h"
#include "render/HeadlessScene.h"
#include "tests/refdevice/DeviceTestKit.h"
#include "tests/support/CountingAllocator.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr UINT FrameSize = 640;

// A window of the game's size that takes each frame and throws it away.
class TDiscardingWindow final : public TDeviceWindow {
public:
    void ClientSize(UINT& width, UINT& height) const override { width = height = FrameSize; }
    void ShowPixels(const std::uint32_t*, UINT, UINT, const TFrameArea*, std::size_t) override {}
};

// Offscreen, or, with a window, sized by it as the game's device is: the window's size is
// asked every frame, which must neither slow a frame nor allocate while it stays the same.
// The scene is loaded on it from the build's program directory.
TComRef<IDirect3DDevice8> MakeDevice(unsigned threads, TDeviceWindow* window) {
    D3DPRESENT_PARAMETERS params =
        window != nullptr ? OffscreenParameters(0, 0) : OffscreenParameters(FrameSize, FrameSize);
    params.hDeviceWindow = window;
    // The device is measured, not the display.
    params.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    TComRef<IDirect3DDevice8> device;
    CreateReferenceDevice(params, window, threads, device.Put());
    return device;
}

// The device in the scene's place for as long as the scene lives.
THeadlessScene LoadScene(TComRef<IDirect3DDevice8> device) {
    Direct3DDevice = std::move(device);
    return THeadlessScene(ZORBIX_PROGRAM_DIR "/");
}

void GameSceneFrame(benchmark::State& state) {
    TDiscardingWindow window;
    const THeadlessScene scene = LoadScene(
        MakeDevice(static_cast<unsigned>(state.range(0)), state.range(1) != 0 ? &window : nullptr));
    StartBenchPlay();
    constexpr int WarmUpFrames = 3;
    for (int i = 0; i < WarmUpFrames; ++i) {
        DrawBenchFrame();
    }
    AllocationCount = 0;
    CountAllocations = true;
    for (auto _ : state) {
        if (Failed(DrawBenchFrame())) {
            state.SkipWithError("frame failed");
            break;
        }
    }
    CountAllocations = false;
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["allocs/frame"] = benchmark::Counter(static_cast<double>(AllocationCount),
                                                        benchmark::Counter::kAvgIterations);
}
BENCHMARK(GameSceneFrame)
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->ArgNames({"threads", "window"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The title picture in a window: every frame after the first repeats its picture, which the
// device keeps instead of drawing it again (a paused game likewise).
void RepeatedFrame(benchmark::State& state) {
    TDiscardingWindow window;
    const THeadlessScene scene = LoadScene(MakeDevice(2, &window));
    GameState = gsTitle;
    RenderFrame();
    for (auto _ : state) {
        if (Failed(RenderFrame())) {
            state.SkipWithError("frame failed");
            break;
        }
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(RepeatedFrame)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
