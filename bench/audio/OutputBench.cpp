// The effects device and the music on SDL's real audio thread, through the one shared output
// (the dummy driver unless SDL_AUDIODRIVER names another): how soon a Play is mixed while a
// dense tune plays, and what the audio thread costs while music and four effects play.

#include "BenchSounds.h"
#include "platform/dsound/SoundDevice.h"
#include "platform/mci/FluidSequencer.h"
#include "platform/mci/SoundFontSearch.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

TComRef<IDirectSound> OpenOutput(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    TComRef<IDirectSound> sound;
    if (DirectSoundCreate(nullptr, sound.Put(), nullptr) != DS_OK) {
        state.SkipWithError("no audio output");
    }
    return sound;
}

// A long dense tune on the shared output, as the game's music plays it.
std::unique_ptr<IMidiSequencer> PlayDenseTune(benchmark::State& state) {
    SilenceFluidSynth();
    auto song = std::make_shared<const TMidiSong>(*ReadMidiSong(ChordSong(64)));
    auto music =
        FluidSequencerFactory(FirstSoundFont(SoundFontPlaces()))(song, [](std::uint32_t) {});
    if (!music) {
        state.SkipWithError("FluidSynth could not start");
        return nullptr;
    }
    music->Play(0, 1);
    return music;
}

// From Play until the first mixing pass that includes the new voice has begun. The sound is
// heard once that period has been handed over and the one queued before it has played out.
void BM_PlayToFirstMix(benchmark::State& state) {
    const TComRef<IDirectSound> sound = OpenOutput(state);
    if (!sound) {
        return;
    }
    TMixer& mixer = dynamic_cast<TSoundDevice*>(sound.Get())->Mixer();
    const TComRef<IDirectSoundBuffer> effect = ToneBuffer(sound.Get(), 22050, 0.05);
    const std::unique_ptr<IMidiSequencer> music = PlayDenseTune(state);
    if (!music) {
        return;
    }
    const TMixFormat format = mixer.Format();
    const double period = double(format.FramesPerPass) / format.Rate;
    std::vector<double> latencies;
    latencies.reserve(static_cast<std::size_t>(state.max_iterations));
    int offset = 0;
    for (auto _ : state) {
        effect->Stop();
        effect->SetCurrentPosition(0);
        // Land at a different point of the period each time.
        offset = (offset + 7) % 13;
        std::this_thread::sleep_for(std::chrono::duration<double>(period * (1 + offset / 13.0)));
        const auto start = Clock::now();
        effect->Play(0, 0, 0);
        const std::uint64_t passes = mixer.PassesStarted();
        while (mixer.PassesStarted() <= passes) {
            std::this_thread::yield();
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        latencies.push_back(seconds);
    }
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&latencies](double part) {
        return latencies[static_cast<std::size_t>(part * double(latencies.size() - 1))] * 1000;
    };
    state.counters["period_ms"] = period * 1000;
    state.counters["p50_play_to_mix_ms"] = percentile(0.5);
    state.counters["p99_play_to_mix_ms"] = percentile(0.99);
    state.counters["max_play_to_mix_ms"] = percentile(1.0);
    state.counters["p99_play_to_heard_ms"] = percentile(0.99) + 2 * period * 1000;
}
BENCHMARK(BM_PlayToFirstMix)->UseManualTime()->Iterations(300)->Unit(benchmark::kMillisecond);

// Four looping effects and a dense tune mixed on the one audio thread, for three seconds of
// wall time.
void BM_AudioThreadsWithMusicAndFourEffects(benchmark::State& state) {
    const TComRef<IDirectSound> sound = OpenOutput(state);
    if (!sound) {
        return;
    }
    std::vector<TComRef<IDirectSoundBuffer>> effects;
    for (const DWORD rate : {8000u, 11025u, 22050u, 44100u}) {
        effects.push_back(ToneBuffer(sound.Get(), rate, 0.5));
        effects.back()->Play(0, 0, DSBPLAY_LOOPING);
    }
    const std::unique_ptr<IMidiSequencer> music = PlayDenseTune(state);
    if (!music) {
        return;
    }
    double sdlShare = 0;
    double allShare = 0;
    for (auto _ : state) {
        const double sdlBefore = ThreadCpuSeconds("SDLAudio");
        const double allBefore = ProcessCpuSeconds();
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(wall);
        sdlShare = (ThreadCpuSeconds("SDLAudio") - sdlBefore) / wall;
        allShare = (ProcessCpuSeconds() - allBefore) / wall;
    }
    music->Stop();
    state.counters["audio_thread_cpu_percent_of_core"] = sdlShare * 100;
    state.counters["all_threads_cpu_percent"] = allShare * 100;
}
BENCHMARK(BM_AudioThreadsWithMusicAndFourEffects)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
} // namespace
