// The FluidSynth sequencer, rendered by hand as the shared output's audio thread would: its
// end comes at the song's last event, counted in rendered samples, and it loops from there.

#include "platform/mci/FluidSequencer.h"
#include "platform/mci/SoundFontSearch.h"

#include "MidiBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {
constexpr std::uint32_t Rate = 44100;
constexpr std::uint32_t Period = 256;

struct TRendering {
    std::uint32_t EndedPlay = 0;
    std::uint64_t FramesToEnd = 0;
    double Peak = 0;
};

// Renders until playNumber has ended (or 5 s of sound have gone by).
TRendering RenderUntilEnd(TFluidSequencer& sequencer, const std::uint32_t& ended,
                          std::uint32_t playNumber) {
    TRendering result;
    std::vector<float> sums(2 * Period);
    for (std::uint64_t frames = 0; frames < 5 * Rate && ended != playNumber; frames += Period) {
        std::fill(sums.begin(), sums.end(), 0.0f);
        sequencer.AddTo(sums.data(), Period);
        for (const float sum : sums) {
            result.Peak = std::max(result.Peak, double(std::abs(sum)));
        }
        result.FramesToEnd = frames + Period;
    }
    result.EndedPlay = ended;
    return result;
}
} // namespace

TEST(FluidSequencer, ReportsTheEndOfEachPlayAtTheLastEventAndPlaysAgainFromTheStart) {
    SilenceFluidSynth();
    auto song = std::make_shared<const TMidiSong>(*ReadMidiSong(OneNoteSong(48))); // 250 ms
    std::uint32_t ended = 0;
    TFluidSequencer sequencer(song, [&ended](std::uint32_t playNumber) { ended = playNumber; });
    ASSERT_TRUE(sequencer.Open(FirstSoundFont(SoundFontPlaces()), Rate));

    sequencer.Play(0, 1);
    const TRendering first = RenderUntilEnd(sequencer, ended, 1);
    ASSERT_EQ(first.EndedPlay, 1u);
    // At the last event, within a few milliseconds, not at the synthesizer's later end.
    EXPECT_NEAR(double(first.FramesToEnd) / Rate, 0.25, 0.02);
    EXPECT_GE(sequencer.Stop(), song->EndTick);

    // Looping is a seek to the start and another play of the same player.
    sequencer.Play(0, 2);
    const TRendering second = RenderUntilEnd(sequencer, ended, 2);
    ASSERT_EQ(second.EndedPlay, 2u);
    EXPECT_NEAR(double(second.FramesToEnd) / Rate, 0.25, 0.02);
}

TEST(FluidSequencer, WithoutASoundFontASongIsSilentButStillEnds) {
    SilenceFluidSynth();
    auto song = std::make_shared<const TMidiSong>(*ReadMidiSong(OneNoteSong(48)));
    std::uint32_t ended = 0;
    TFluidSequencer sequencer(song, [&ended](std::uint32_t playNumber) { ended = playNumber; });
    ASSERT_TRUE(sequencer.Open("", Rate));
    sequencer.Play(0, 1);
    const TRendering played = RenderUntilEnd(sequencer, ended, 1);
    EXPECT_EQ(played.EndedPlay, 1u);
    EXPECT_LT(played.Peak, 0.5); // every sample rounds to 0
}

TEST(FluidSequencer, WithASoundFontTheNoteIsHeard) {
    const std::string soundFont = FirstSoundFont(SoundFontPlaces());
    if (soundFont.empty()) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    SilenceFluidSynth();
    auto song = std::make_shared<const TMidiSong>(*ReadMidiSong(OneNoteSong(48)));
    std::uint32_t ended = 0;
    TFluidSequencer sequencer(song, [&ended](std::uint32_t playNumber) { ended = playNumber; });
    ASSERT_TRUE(sequencer.Open(soundFont, Rate));
    sequencer.Play(0, 1);
    EXPECT_GT(RenderUntilEnd(sequencer, ended, 1).Peak, 100.0);
}

TEST(FluidSequencer, WithoutAnyAudioOutputNothingIsMade) {
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string kept = before != nullptr ? before : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    auto song = std::make_shared<const TMidiSong>(*ReadMidiSong(OneNoteSong(48)));
    EXPECT_EQ(FluidSequencerFactory("")(song, [](std::uint32_t) {}), nullptr);
    before != nullptr ? setenv("SDL_AUDIODRIVER", kept.c_str(), 1) : unsetenv("SDL_AUDIODRIVER");
}
