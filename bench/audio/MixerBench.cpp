// One mixing pass, as SDL's audio thread asks for it every period: 256 frames at 44.1 kHz,
// 5.8 ms of sound. percent_of_period is the part of that period the pass takes.

#include "platform/dsound/Mixer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

namespace {
constexpr TMixFormat Output{44100, 256};

void BM_MixPass(benchmark::State& state) {
    TMixer mixer(Output);
    // Game-like recordings: 16-bit mono at 22.05 kHz and 8-bit stereo at 11.025 kHz, looped.
    std::vector<std::uint8_t> mono(22050 * 2);
    std::vector<std::uint8_t> stereo(11025 * 2);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        mono[i] = static_cast<std::uint8_t>(i * 37);
    }
    for (std::size_t i = 0; i < stereo.size(); ++i) {
        stereo[i] = static_cast<std::uint8_t>(128 + 60 * std::sin(static_cast<double>(i) * 0.05));
    }
    for (int voice = 0; voice < state.range(0); ++voice) {
        if (voice % 2 == 0) {
            mixer.Start({mono.data(), 22050, 1, 16}, 0, {22050, 0.8f, 0.6f, true});
        } else {
            mixer.Start({stereo.data(), 11025, 2, 8}, 0, {11025, 0.5f, 0.9f, true});
        }
    }
    std::vector<std::int16_t> period(std::size_t{2} * Output.FramesPerPass);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        mixer.Mix(period.data(), Output.FramesPerPass);
        benchmark::DoNotOptimize(period.data());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double periodSeconds = double(Output.FramesPerPass) / Output.Rate;
    state.counters["percent_of_period"] =
        100 * seconds / (double(state.iterations()) * periodSeconds);
}
BENCHMARK(BM_MixPass)->Arg(1)->Arg(5)->Arg(16)->Arg(64);
} // namespace
