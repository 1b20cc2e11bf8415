// How long after a tune's last event the end is reported: the gap a looping track has
// before the game's notification handler starts it again.

#include "BenchSounds.h"
#include "platform/mci/FluidSequencer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
constexpr double TicksPerSecond = 192; // 96 a quarter note at 120 beats a minute

void BM_MusicEndAfterLastEvent(benchmark::State& state) {
    TFluidOutput discard = DefaultFluidOutput();
    discard.Drivers = {"file"};
    discard.FileName = "/dev/null";
    auto song = std::make_shared<const TMidiSong>(*ReadMidiSong(ChordSong(1)));
    std::atomic<std::uint32_t> ended{0};
    auto music = FluidSequencerFactory(discard)(
        song, [&ended](std::uint32_t playNumber) { ended = playNumber; });
    if (!music) {
        state.SkipWithError("FluidSynth could not start");
        return;
    }
    const double length = song->EndTick / TicksPerSecond;
    std::uint32_t play = 0;
    double worst = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        music->Play(0, ++play);
        while (ended.load() != play) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const double played = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(played);
        // Within one synthesis block either way of the nominal length.
        worst = std::max(worst, std::abs(played - length));
        music->Stop();
    }
    state.counters["tune_s"] = length;
    state.counters["worst_end_off_last_event_ms"] = worst * 1000;
}
BENCHMARK(BM_MusicEndAfterLastEvent)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
} // namespace
