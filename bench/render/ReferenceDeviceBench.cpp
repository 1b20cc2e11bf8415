// Frames per second of the reference device on a stand-in for the game's scene at 640 by
// 640 pixels, on one thread and on two, and the heap allocations a frame makes (none once
// the first frames have sized the device's queues).

#include "bench/render/StandInScene.h"
#include "platform/d3d/reference/ReferenceDevice.h"

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

TComRef<IDirect3DDevice8> MakeDevice(unsigned threads) {
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferWidth = FrameSize;
    params.BackBufferHeight = FrameSize;
    params.Windowed = 1;
    params.EnableAutoDepthStencil = 1;
    params.AutoDepthStencilFormat = D3DFMT_D16;
    TComRef<IDirect3DDevice8> device;
    CreateReferenceDevice(params, nullptr, threads, device.Put());
    return device;
}

void StandInSceneFrame(benchmark::State& state) {
    auto device = MakeDevice(static_cast<unsigned>(state.range(0)));
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
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
