// Frames per second of the reference device on a stand-in for the game's scene at 640 by
// 640 pixels, on one thread and on two.

#include "bench/render/StandInScene.h"
#include "platform/d3d/reference/ReferenceDevice.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

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
    for (auto _ : state) {
        if (Failed(scene.DrawFrame())) {
            state.SkipWithError("frame failed");
            break;
        }
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(StandInSceneFrame)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
