// End to end on SDL's disk driver: the music and the effects come out of the one audio output,
// which opens only when one of them needs it. The effect is a constant level, so where it
// sounds the recording's mean tells the effect and its spread tells the music beneath it.

#include "audio/Music.h"
#include "audio/SoundEffects.h"
#include "platform/mci/SoundFontSearch.h"
#include "settings/Options.h"
#include "tests/audio/PlaybackSupport.h"
#include "tests/mci/MidiBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {
constexpr std::int16_t EffectLevel = 12000;
constexpr std::size_t BlockFrames = 441; // 10 ms at the output's 44.1 kHz
constexpr double HeardSpread = 30;       // a sounding note moves the samples far more

struct TBlock {
    double Mean = 0;
    double Spread = 0;
    std::int16_t Lowest = 0;
    std::int16_t Highest = 0;
};

class MusicOnDiskTest : public ::testing::Test {
protected:
    MusicOnDiskTest() {
        UseAudioDriver("disk");
        setenv("SDL_DISKAUDIOFILE", Written().c_str(), 1);
        TWaveCollection collection;
        AddWave(collection, "newgame", Constant(13230, EffectLevel)); // 0.3 s
        Scratch.WriteSoundsFile(collection);
        // One note of a second, then a second of rest before its end.
        WriteFileAtomically(Tune(), OneNoteSong(384));
        Options = std::make_unique<TOptions>();
    }
    ~MusicOnDiskTest() override {
        StopMusic();
        DestroySoundComponents();
        Options.reset();
    }

    std::string Written() const { return Scratch.Path() + "output.raw"; }
    std::string Tune() const { return Scratch.Path() + "tune.mid"; }
    static bool HaveSoundFont() { return !FirstSoundFont(SoundFontPlaces()).empty(); }

    // Starts up as the loading does, with the tune in place of the game's tracks.
    void LoadAndPlayMusic(bool soundOn, bool musicOn) {
        Options->SoundOn = soundOn;
        Options->MusicOn = musicOn;
        CreateSoundComponents(&Window);
        LoadSoundEffects(Scratch.Path());
        PlayMusic(Tune(), nullptr, 0);
    }
    // Ends the run, so the output closes and the file is complete, and reads its left channel
    // in blocks.
    std::vector<TBlock> Recording() {
        StopMusic();
        DestroySoundComponents();
        std::ifstream file(Written(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
        std::vector<TBlock> blocks;
        for (std::size_t start = 0; (start + BlockFrames) * 4 <= bytes.size();
             start += BlockFrames) {
            TBlock block{0, 0, 32767, -32768};
            double squares = 0;
            for (std::size_t i = start; i < start + BlockFrames; ++i) {
                std::int16_t left;
                std::memcpy(&left, &bytes[4 * i], 2);
                block.Mean += left;
                squares += double(left) * left;
                block.Lowest = std::min(block.Lowest, left);
                block.Highest = std::max(block.Highest, left);
            }
            block.Mean /= BlockFrames;
            block.Spread =
                std::sqrt(std::max(0.0, squares / BlockFrames - block.Mean * block.Mean));
            blocks.push_back(block);
        }
        return blocks;
    }

    const TScratchDirectory Scratch;
    TTestWindow Window;
};

void Wait(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool MusicAlone(const TBlock& block) {
    return block.Spread > HeardSpread && std::abs(block.Mean) < EffectLevel / 4.0;
}
// Wholly inside the effect: no block edge where it starts or ends.
bool WithinEffect(const TBlock& block) {
    return block.Lowest > EffectLevel / 2.0 &&
           std::abs(block.Mean - EffectLevel) < EffectLevel / 4.0;
}
} // namespace

TEST_F(MusicOnDiskTest, WithSoundsOffAndMusicOnTheMusicIsRecorded) {
    if (!HaveSoundFont()) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    LoadAndPlayMusic(false, true);
    Wait(400);
    const std::vector<TBlock> blocks = Recording();
    EXPECT_TRUE(std::any_of(blocks.begin(), blocks.end(), MusicAlone)) << blocks.size();
}

TEST_F(MusicOnDiskTest, WithSoundsAndMusicOffTheOutputIsNeverOpened) {
    LoadAndPlayMusic(false, false);
    PlaySoundEffect("newgame");
    Wait(100);
    Recording();
    EXPECT_FALSE(std::filesystem::exists(Written()));
}

TEST_F(MusicOnDiskTest, WithBothOnTheEffectIsMixedWithTheMusic) {
    if (!HaveSoundFont()) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    LoadAndPlayMusic(true, true);
    Wait(250);
    PlaySoundEffect("newgame");
    Wait(500);
    const std::vector<TBlock> blocks = Recording();
    const auto effect = std::find_if(blocks.begin(), blocks.end(), WithinEffect);
    ASSERT_NE(effect, blocks.end()) << "the effect is not in the " << blocks.size() << " blocks";
    EXPECT_TRUE(std::any_of(blocks.begin(), effect, MusicAlone));
    const auto mixed = [](const TBlock& block) {
        return WithinEffect(block) && block.Spread > HeardSpread;
    };
    EXPECT_TRUE(std::any_of(effect, blocks.end(), mixed));
}
