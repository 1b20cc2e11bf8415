// How far from a tune's last event its end is reported, counted in rendered samples: the gap
// a looping track has before the game's notification handler starts it again.

#include "BenchSounds.h"
#include "platform/mci/FluidSequencer.h"
#include "platform/mci/SoundFontSearch.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {
constexpr double TicksPerSecond = 192; // 96 a quarter note at 120 beats a minute

void BM_MusicEndAfterLastEvent(benchmark::State& state) {
    SilenceFluidSynth();
    auto song = std::make_shared<const TMidiSong>(*ReadMidiSong(ChordSong(1)));
    std::uint32_t ended = 0;
    TFluidSequencer music(song, [&ended](std::uint32_t playNumber) { ended = playNumber; });
    if (!music.Open(FirstSoundFont(SoundFontPlaces()), MusicRate)) {
        state.SkipWithError("FluidSynth could not start");
        return;
    }
    const double length = song->EndTick / TicksPerSecond;
    std::vector<float> sums(2 * MusicPeriod);
    std::uint32_t play = 0;
    double worst = 0;
    for (auto _ : state) {
        music.Play(0, ++play);
        std::uint64_t frames = 0;
        while (ended != play) {
            music.AddTo(sums.data(), MusicPeriod);
            frames += MusicPeriod;
        }
        worst = std::max(worst, std::abs(double(frames) / MusicRate - length));
        music.Stop();
    }
    state.counters["tune_s"] = length;
    state.counters["worst_end_off_last_event_ms"] = worst * 1000;
}
BENCHMARK(BM_MusicEndAfterLastEvent)->Iterations(3)->Unit(benchmark::kMillisecond);
} // namespace
