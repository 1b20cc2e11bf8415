// Frames per second of the reference device on a stand-in for the game's scene at 640 by
// 640 pixels, on one thread and on two, offscreen and presenting into a window that sizes the
// back buffer, and the heap allocations a frame makes (none once the first frames have sized
// the device's queues).

#include "bench/render/StandInScene.h"
#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/reference/ReferenceDevice.h"
#include "tests/refdevice/DeviceTestKit.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::uint64_t> AllocationCount{0};
} // namespace

void* operator new(std::size_t size) {
    AllocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

constexpr UINT FrameSize = 640;

// A window of the game's size that takes each frame and throws it away.
class TDiscardingWindow final : public TDeviceWindow {
public:
    void ClientSize(UINT& width, UINT& height) const override { width = height = FrameSize; }
    void ShowPixels(const std::uint32_t*, UINT, UINT) override {}
};

// Offscreen, or, with a window, sized by it as the game's device is: the window's size is
// asked every frame, which must neither slow a frame nor allocate while it stays the same.
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

void StandInSceneFrame(benchmark::State& state) {
    TDiscardingWindow window;
    auto device =
        MakeDevice(static_cast<unsigned>(state.range(0)), state.range(1) != 0 ? &window : nullptr);
    TStandInScene scene(*device.Get());
    constexpr int WarmUpFrames = 3;
    for (int i = 0; i < WarmUpFrames; ++i) {
        scene.DrawFrame();
    }
    const std::uint64_t allocationsBefore = AllocationCount.load();
    for (auto _ : state) {
        if (Failed(scene.DrawFrame())) {
            state.SkipWithError("frame failed");
            break;
        }
    }
    const std::uint64_t allocations = AllocationCount.load() - allocationsBefore;
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["allocs/frame"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(StandInSceneFrame)
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->ArgNames({"threads", "window"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A still scene in a window: every frame after the first repeats its picture, which the
// device keeps instead of drawing it again (the title picture, a paused game).
void RepeatedFrame(benchmark::State& state) {
    TDiscardingWindow window;
    auto device = MakeDevice(2, &window);
    TStandInScene scene(*device.Get(), false);
    scene.DrawFrame();
    for (auto _ : state) {
        if (Failed(scene.DrawFrame())) {
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
