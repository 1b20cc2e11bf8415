#include "platform/mci/MidiSong.h"

#include "MidiBytes.h"

#include <gtest/gtest.h>

namespace {
TBytes Tempo(std::uint32_t microsecondsPerQuarter) {
    return {0xFF,
            0x51,
            0x03,
            static_cast<std::uint8_t>(microsecondsPerQuarter >> 16),
            static_cast<std::uint8_t>(microsecondsPerQuarter >> 8),
            static_cast<std::uint8_t>(microsecondsPerQuarter)};
}

TBytes Join(std::initializer_list<TBytes> parts) {
    TBytes all;
    for (const TBytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const TBytes EndOfTrack{0xFF, 0x2F, 0x00};

// Two tracks: tempo changes in the first, the notes, with running status, a program
// change and a system-exclusive message, in the second, which ends later.
TBytes TwoTrackSong() {
    const TBytes conductor =
        Join({{0x00}, Tempo(500000), VarLen(192), Tempo(250000), {0x00}, EndOfTrack});
    const TBytes notes = Join({{0x00, 0xC0, 5},
                               {0x00, 0x90, 60, 100},
                               {0x60, 62, 100},
                               {0x00, 0xF0, 0x02, 0x7E, 0xF7},
                               VarLen(300),
                               {0x80, 60, 0},
                               {0x10, 0x80, 62, 0},
                               VarLen(4),
                               EndOfTrack});
    return SmfFile(96, {conductor, notes});
}
} // namespace

TEST(MidiSong, LengthIsTheLatestLastEventOfAnyTrack) {
    const auto song = ReadMidiSong(TwoTrackSong());
    ASSERT_TRUE(song);
    EXPECT_EQ(song->Division, 96);
    EXPECT_EQ(song->EndTick, 96u + 300u + 16u + 4u);
    EXPECT_EQ(song->Bytes, TwoTrackSong());
    // Without an end-of-track event the last event counts.
    const auto open = ReadMidiSong(SmfFile(96, {{0x00, 0x90, 60, 100, 0x30, 0x80, 60, 0}}));
    ASSERT_TRUE(open);
    EXPECT_EQ(open->EndTick, 0x30u);
}

TEST(MidiSong, MillisecondsBecomeTicksThroughTheTempoMap) {
    const auto song = ReadMidiSong(TwoTrackSong());
    ASSERT_TRUE(song);
    // 120 beats a minute for the first 192 ticks (1 s), twice as fast afterwards.
    EXPECT_EQ(song->TickAtMilliseconds(0), 0u);
    EXPECT_EQ(song->TickAtMilliseconds(500), 96u);
    EXPECT_EQ(song->TickAtMilliseconds(1000), 192u);
    EXPECT_EQ(song->TickAtMilliseconds(1500), 192u + 192u);

    // SMPTE timing: 25 frames a second, 40 ticks a frame.
    const auto smpte =
        ReadMidiSong(SmfFile(0xE728, {Join({{0x00, 0x90, 60, 100}, VarLen(2000), {0x80, 60, 0}})}));
    ASSERT_TRUE(smpte);
    EXPECT_EQ(smpte->TickAtMilliseconds(1000), 1000u);
}

TEST(MidiSong, DamagedOrEmptyFilesAreRefused) {
    const TBytes good = TwoTrackSong();
    // Cut anywhere, the file is refused, and nothing is read past its end.
    for (std::size_t size = 0; size < good.size(); ++size) {
        EXPECT_FALSE(ReadMidiSong(TBytes(good.begin(), good.begin() + size))) << size;
    }
    TBytes wrongMagic = good;
    wrongMagic[0] = 'X';
    EXPECT_FALSE(ReadMidiSong(wrongMagic));
    EXPECT_FALSE(ReadMidiSong(SmfFile(0, {{0x10, 0x90, 60, 100}})));      // division 0
    EXPECT_FALSE(ReadMidiSong(SmfFile(0xE700, {{0x10, 0x90, 60, 100}}))); // no ticks a frame
    EXPECT_FALSE(ReadMidiSong(SmfFile(96, {Join({{0x00}, Tempo(0), {0x10, 0x90, 60, 100}})})));
    EXPECT_FALSE(ReadMidiSong(SmfFile(96, {{0x10, 60, 100}}))); // no status
    EXPECT_FALSE(ReadMidiSong(SmfFile(96, {{0x10, 0xF8}})));    // real time
    EXPECT_FALSE(ReadMidiSong(SmfFile(96, {{0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 100}})));
    EXPECT_FALSE(ReadMidiSong(SmfFile(96, {Join({{0x00}, EndOfTrack})}))); // no length at all
    EXPECT_FALSE(ReadMidiSong(SmfFile(96, {})));
    EXPECT_FALSE(ReadMidiSong(TBytes(MaxMidiFileBytes + 1, 0)));
}
