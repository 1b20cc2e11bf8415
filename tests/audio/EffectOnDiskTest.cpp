// End to end: the shipped "newgame" effect from the program directory's "Sounds.dxw", played
// through PlaySoundEffect on SDL's disk driver, must come out in the written audio file sample
// for sample, and nothing else with it.

#include "audio/SoundEffects.h"
#include "settings/Options.h"
#include "tests/audio/PlaybackSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

namespace {
constexpr DWORD OutputRate = 44100;

std::vector<std::int16_t> Samples16(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// The left channel of the interleaved 16-bit stereo file.
std::vector<std::int16_t> LeftChannel(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    const std::vector<std::int16_t> stereo = Samples16(bytes);
    std::vector<std::int16_t> left;
    for (std::size_t i = 0; i + 1 < stereo.size(); i += 2) {
        left.push_back(stereo[i]);
    }
    return left;
}

// Where the wave, played at half the output's rate, starts in output: every second frame from
// there is one of its samples. None when it is not there whole.
std::optional<std::size_t> FindHalfRateWave(const std::vector<std::int16_t>& output,
                                            const std::vector<std::int16_t>& wave) {
    for (std::size_t start = 0; start + 2 * wave.size() <= output.size(); ++start) {
        bool matches = true;
        for (std::size_t k = 0; k < wave.size() && matches; ++k) {
            matches = output[start + 2 * k] == wave[k];
        }
        if (matches) {
            return start;
        }
    }
    return std::nullopt;
}

double Energy(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return sum;
}
} // namespace

TEST(EffectOnDisk, NewgameIsWrittenSampleForSampleThroughPlaySoundEffect) {
    TScratchDirectory scratch;
    const std::string written = scratch.Path() + "output.raw";
    // SDL reads both when the output opens.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", written.c_str(), 1);
    TTestWindow window;
    Options = std::make_unique<TOptions>();
    Options->SoundOn = true;
    CreateSoundComponents(&window);
    LoadSoundEffects(std::string(ZORBIX_PROGRAM_DIR) + "/");
    ASSERT_TRUE(SoundComponents->DXSound.Initialized());
    ASSERT_EQ(SoundComponents->DXSound.Primary()->Format().nSamplesPerSec, OutputRate);
    TWaveCollectionItem& newgame = SoundComponents->DXWaveList.Items().FindByName("newgame");
    const auto format = ReadWaveFormat(newgame.Wave.Format);
    ASSERT_TRUE(format);
    ASSERT_EQ(format->SamplesPerSec * 2, OutputRate);
    ASSERT_EQ(format->Channels, 1);
    ASSERT_EQ(format->BitsPerSample, 16);
    const std::vector<std::int16_t> wave = Samples16(newgame.Wave.Samples);

    PlaySoundEffect("newgame");
    ASSERT_EQ(newgame.DuplicateCount(), 1);
    // Generous: the disk driver writes in real time, and the effect lasts a few seconds.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (newgame.Duplicate(0).Playing() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_FALSE(newgame.Duplicate(0).Playing());
    DestroySoundComponents();
    Options.reset();

    const std::vector<std::int16_t> output = LeftChannel(written);
    const std::optional<std::size_t> start = FindHalfRateWave(output, wave);
    ASSERT_TRUE(start) << "the effect's samples are not in the " << output.size()
                       << " written frames";
    const std::size_t end = *start + 2 * wave.size();
    EXPECT_EQ(Energy(output, 0, *start), 0.0);
    EXPECT_EQ(Energy(output, end, output.size()), 0.0);
    EXPECT_GT(Energy(output, *start, end), 0.0);
}
