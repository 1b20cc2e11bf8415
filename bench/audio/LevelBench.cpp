// The balance of the game's own sounds as heard: the level of each effect of "Sounds.dxw" and
// the average level of the three themes rendered with the SoundFont the game finds, in dB
// below full scale. The loudest effect should stand 6 to 10 dB above the music.

#include "BenchSounds.h"
#include "audio/wavefile/Wave.h"
#include "audio/wavefile/WaveCollection.h"
#include "platform/mci/FluidSequencer.h"
#include "platform/mci/SoundFontSearch.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {
constexpr double FullScale = 32767;

struct TEnergy {
    double Squares = 0;
    double Samples = 0;
    double Peak = 0;
    void Add(double value) {
        Squares += value * value;
        Samples += 1;
        Peak = std::max(Peak, std::abs(value));
    }
    double RmsDb() const { return 10 * std::log10(Squares / Samples / (FullScale * FullScale)); }
    double PeakDb() const { return 20 * std::log10(Peak / FullScale); }
};

TEnergy EffectEnergy(const TWave& wave) {
    const std::optional<TWaveFormat> format = ReadWaveFormat(wave.Format);
    TEnergy energy;
    if (!format) {
        return energy;
    }
    if (format->BitsPerSample == 8) {
        for (const std::uint8_t sample : wave.Samples) {
            energy.Add((sample - 128) * 256.0);
        }
    } else {
        for (std::size_t i = 0; i + 1 < wave.Samples.size(); i += 2) {
            std::int16_t sample;
            std::memcpy(&sample, &wave.Samples[i], 2);
            energy.Add(sample);
        }
    }
    return energy;
}

// One whole play of the tune, as the mixer receives it.
void AddTuneEnergy(const std::string& path, const std::string& soundFont, TEnergy& energy) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    std::optional<TMidiSong> song = ReadMidiSong(std::move(bytes));
    if (!song) {
        return;
    }
    std::uint32_t ended = 0;
    TFluidSequencer music(std::make_shared<const TMidiSong>(std::move(*song)),
                          [&ended](std::uint32_t playNumber) { ended = playNumber; });
    if (!music.Open(soundFont, MusicRate)) {
        return;
    }
    music.Play(0, 1);
    std::vector<float> sums(2 * MusicPeriod);
    while (ended != 1) {
        std::fill(sums.begin(), sums.end(), 0.0f);
        music.AddTo(sums.data(), MusicPeriod);
        for (const float sum : sums) {
            energy.Add(sum);
        }
    }
}

void BM_EffectsAgainstMusicLevel(benchmark::State& state) {
    SilenceFluidSynth();
    const std::string soundFont = FirstSoundFont(SoundFontPlaces());
    if (soundFont.empty()) {
        state.SkipWithError("no SoundFont: the music is silent");
        return;
    }
    const std::string directory = ZORBIX_PROGRAM_DIR "/";
    TWaveCollection effects;
    effects.LoadCollectionFile(directory + "Sounds.dxw");
    TEnergy music;
    double loudestRms = -200;
    double loudestPeak = -200;
    for (auto _ : state) {
        for (int i = 0; i < effects.Count(); ++i) {
            const TEnergy effect = EffectEnergy(effects.Items(i).Wave);
            loudestRms = std::max(loudestRms, effect.RmsDb());
            loudestPeak = std::max(loudestPeak, effect.PeakDb());
        }
        music = {};
        for (const char* tune : {"theme1.mid", "theme2.mid", "theme3.mid"}) {
            AddTuneEnergy(directory + tune, soundFont, music);
        }
    }
    state.counters["music_rms_dbfs"] = music.RmsDb();
    state.counters["music_peak_dbfs"] = music.PeakDb();
    state.counters["loudest_effect_rms_dbfs"] = loudestRms;
    state.counters["loudest_effect_peak_dbfs"] = loudestPeak;
    state.counters["loudest_effect_over_music_db"] = loudestRms - music.RmsDb();
}
BENCHMARK(BM_EffectsAgainstMusicLevel)->Iterations(1)->Unit(benchmark::kSecond);
} // namespace
