// End to end: the shipped "newgame" effect, played through PlaySoundEffect on SDL's disk
// driver, must come out in the written audio file sample for sample, with nothing else.

#include "audio/SoundEffects.h"
#include "settings/Options.h"
#include "tests/audio/PlaybackSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

TEST(EffectOnDisk, NewgameIsWrittenSampleForSampleThroughPlaySoundEffect) {
    const TScratchDirectory scratch;
    const std::string written = scratch.Path() + "output.raw";
    UseAudioDriver("disk");
    setenv("SDL_DISKAUDIOFILE", written.c_str(), 1);
    TTestWindow window;
    Options = std::make_unique<TOptions>();
    Options->SoundOn = true;
    CreateSoundComponents(&window);
    LoadSoundEffects(ZORBIX_PROGRAM_DIR "/");
    ASSERT_TRUE(SoundComponents->DXSound.Initialized());
    TWaveCollectionItem& newgame = SoundComponents->DXWaveList.Items().FindByName("newgame");
    // At half the output's rate every second written frame is one of the effect's samples.
    ASSERT_EQ(SoundComponents->DXSound.Primary()->Format().nSamplesPerSec, 44100u);
    ASSERT_EQ(ReadWaveFormat(newgame.Wave.Format)->SamplesPerSec, 22050u);
    std::vector<std::int16_t> wave(newgame.Wave.Samples.size() / 2);
    std::memcpy(wave.data(), newgame.Wave.Samples.data(), wave.size() * 2);

    PlaySoundEffect("newgame");
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (SoundComponents->DXWaveList.Playback().Duplicate(newgame, 0).Playing() &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    DestroySoundComponents();
    Options.reset();

    std::ifstream file(written, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    std::vector<std::int16_t> left(bytes.size() / 4);
    for (std::size_t i = 0; i < left.size(); ++i) {
        std::memcpy(&left[i], &bytes[4 * i], 2);
    }
    const auto silent = [](auto from, auto to) {
        return std::all_of(from, to, [](std::int16_t value) { return value == 0; });
    };
    for (std::size_t start = 0; start + 2 * wave.size() <= left.size(); ++start) {
        std::size_t k = 0;
        while (k < wave.size() && left[start + 2 * k] == wave[k]) {
            ++k;
        }
        if (k == wave.size()) {
            EXPECT_TRUE(silent(left.begin(), left.begin() + start));
            EXPECT_TRUE(silent(left.begin() + start + 2 * wave.size(), left.end()));
            return;
        }
    }
    ADD_FAILURE() << "the effect's samples are not in the " << left.size() << " written frames";
}
