#include "MidiReader.h"
#include "tools/soundgen/Arranger.h"
#include "tools/soundgen/Notation.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
constexpr std::uint32_t Bar = TicksPerQuarter * 4;

std::vector<int> KeysOf(const TPart& part) {
    std::vector<int> keys;
    for (const TNote& note : part.Notes) {
        keys.push_back(note.Key);
    }
    return keys;
}
} // namespace

TEST(MelodyNotation, ReadsPitchesLengthsRestsAndTies) {
    const auto notes = ParseMelody("c4q f#5e. bb3s rh | a4w~ | a4q rq c8q. d0e", Bar);
    ASSERT_EQ(notes.size(), 6u);
    EXPECT_EQ(notes[0].Key, 60);
    EXPECT_EQ(notes[1].Key, 78);
    EXPECT_EQ(notes[1].Length, 360u);
    EXPECT_EQ(notes[2].Key, 58);
    EXPECT_EQ(notes[3].Start, Bar);
    EXPECT_EQ(notes[3].Length, Bar + TicksPerQuarter);
    EXPECT_EQ(notes[4].Key, 108);
    EXPECT_EQ(notes[5].Key, 14);
    EXPECT_EQ(notes[5].Start, 2 * Bar + 2 * TicksPerQuarter + 720);
}

// A bar that does not add up would shift every later note off the beat; the generator must
// refuse it rather than write a tune that drifts.
TEST(MelodyNotation, RefusesBarsThatDoNotFillAndMalformedNotes) {
    EXPECT_THROW(ParseMelody("c4q d4q e4q | c4w", Bar), std::invalid_argument);
    EXPECT_THROW(ParseMelody("c4w | c4h", Bar), std::invalid_argument);
    EXPECT_THROW(ParseMelody("h4q c4h.", Bar), std::invalid_argument);
    EXPECT_THROW(ParseMelody("c4x c4h.", Bar), std::invalid_argument);
    EXPECT_THROW(ParseMelody("c4h~ d4h", Bar), std::invalid_argument);
    EXPECT_THROW(ParseMelody("c4h c4h~", Bar), std::invalid_argument);
}

TEST(Arranger, AccompanimentFollowsTheChordsAndLeadsIntoTheNextBar) {
    TSongBuilder song("test", 120, 4, 4);
    const int bass = song.AddPart({"Bass", 0, 33, 100, 64, 0, 1.0});
    const int keys = song.AddPart({"Keys", 1, 4, 100, 64, 0, 1.0});
    const TProgression chords = ParseProgression("C | Am7 G | F");
    song.Accompany(bass, chords, "R-T-F-A-", 36, 90);
    song.Accompany(keys, chords, "X-------", 60, 90);
    song.Advance(3);
    const TSong built = std::move(song).Finish();

    EXPECT_EQ(KeysOf(built.Parts[bass]),
              (std::vector<int>{36, 40, 43, 44, 45, 48, 50, 40, 41, 45, 48, 35}));
    // The second bar's two chords split it; F's approach wraps round to C's root.
    EXPECT_EQ(built.Parts[bass].Notes[6].Start, Bar + Bar / 2);
    const auto voiced = KeysOf(built.Parts[keys]);
    ASSERT_EQ(voiced.size(), 3u + 4u + 3u);
    for (std::size_t i = 1; i < voiced.size(); ++i) {
        EXPECT_LT(std::abs(voiced[i] - voiced[i - 1]), 12) << "voicing jumps at " << i;
    }
    EXPECT_EQ(built.Length, 3 * Bar);
    EXPECT_THROW(ParseProgression("C | H7"), std::invalid_argument);
    EXPECT_THROW(ParseProgression("C || F"), std::invalid_argument);
}

// Guards delta-time encoding beyond one byte and the release-before-restrike order at one
// tick, both invisible in short test tunes.
TEST(MidiWriter, EncodesLongDeltasAndReleasesBeforeRestriking) {
    TSong song;
    song.Length = 300000;
    song.Parts.push_back({"Lead", 0, 80, 100, 64, 0, {{0, 480, 60, 90}, {480, 480, 60, 90}}});
    song.Parts.back().Notes.push_back({299000, 1000, 72, 90});
    const TMidiFileRecord file = ParseMidiFile(SongMidiImage(song));
    ASSERT_EQ(file.Tracks.size(), 2u);
    std::vector<std::pair<std::uint32_t, int>> notes;
    for (const TMidiRecord& e : file.Tracks[1].Events) {
        if ((e.Status & 0xE0) == 0x80) {
            notes.push_back({e.Tick, e.Status & 0xF0});
        }
    }
    const std::vector<std::pair<std::uint32_t, int>> expected{
        {0, 0x90}, {480, 0x80}, {480, 0x90}, {960, 0x80}, {299000, 0x90}, {300000, 0x80}};
    EXPECT_EQ(notes, expected);
    EXPECT_EQ(file.Tracks[1].Events.back().Tick, 300000u);
}
