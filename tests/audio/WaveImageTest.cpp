#include "audio/wavefile/WaveImage.h"
#include "StreamBuilder.h"
#include "core/GameError.h"

#include <gtest/gtest.h>

namespace {
const std::vector<std::uint8_t> Format = PcmFormatBlock(22050, 1, 16);
const std::vector<std::uint8_t> Samples{1, 2, 3, 4, 5, 6};

std::string WaveImageFailureOf(const std::vector<std::uint8_t>& image) {
    try {
        ReadWaveImage(image);
    } catch (const EGameError& error) {
        return error.what();
    }
    return "no failure";
}
} // namespace

// Guards the chunk walk against skipping a pad byte: the stored images put no byte between
// an odd-sized chunk and the next one, so a padding reader would lose "data".
TEST(WaveImage, ReadsTheChunkRightAfterAnOddSizedOne) {
    const auto image = TRiffBuilder()
                           .Chunk("fmt ", Format)
                           .Chunk("note", {7, 7, 7})
                           .Chunk("data", Samples)
                           .Bytes();
    const TWave wave = ReadWaveImage(image);
    EXPECT_EQ(wave.Format, Format);
    EXPECT_EQ(wave.Samples, Samples);
}

// Guards the walk's end conditions and the rule that a repeated chunk's last copy counts.
TEST(WaveImage, LastChunkCountsAndTheWalkEndsAtAZeroIdentifierOrTheImageEnd) {
    const auto twice = TRiffBuilder()
                           .Chunk("data", {9, 9})
                           .Chunk("fmt ", {1, 2})
                           .Chunk("fmt ", Format)
                           .Chunk("data", Samples)
                           .Bytes();
    EXPECT_EQ(ReadWaveImage(twice).Format, Format);
    EXPECT_EQ(ReadWaveImage(twice).Samples, Samples);

    const auto stopped = TRiffBuilder()
                             .Chunk("fmt ", Format)
                             .Chunk("data", Samples)
                             .Raw({0, 0, 0, 0, 2, 0, 0, 0})
                             .Chunk("data", {9, 9})
                             .Bytes();
    EXPECT_EQ(ReadWaveImage(stopped).Samples, Samples);

    // A few stray bytes after the last chunk read as a header without size: harmless.
    const auto trailing = TRiffBuilder().Chunk("data", Samples).Raw({'x', 'y'}).Bytes();
    EXPECT_EQ(ReadWaveImage(trailing).Samples, Samples);

    const TWave silent = ReadWaveImage(TRiffBuilder().Chunk("fmt ", Format).Bytes());
    EXPECT_EQ(silent.Format, Format);
    EXPECT_FALSE(silent.HasSamples());
}

// Guards against reading past the image when a chunk claims more than it holds, and
// against skipping a huge unknown chunk wrapping the position round.
TEST(WaveImage, ChunksRunningPastTheImageFailWithReadError) {
    EXPECT_EQ(WaveImageFailureOf(TRiffBuilder().ChunkHeader("data", 7).Raw({1, 2, 3}).Bytes()),
              "Stream read error");
    EXPECT_EQ(WaveImageFailureOf(TRiffBuilder().ChunkHeader("fmt ", 0xFFFFFFFF).Bytes()),
              "Stream read error");
    EXPECT_EQ(WaveImageFailureOf({'R', 'I', 'F', 'F', 0, 0}), "Stream read error");

    const auto skipped = TRiffBuilder()
                             .Chunk("data", Samples)
                             .ChunkHeader("huge", 0xFFFFFFFF)
                             .ChunkHeader("huge", 0xFFFFFFFF)
                             .Bytes();
    EXPECT_EQ(ReadWaveImage(skipped).Samples, Samples);
}

TEST(WaveImage, OtherThanRiffWaveIsInvalid) {
    EXPECT_EQ(WaveImageFailureOf(TRiffBuilder("RIFX", "WAVE").Chunk("data", Samples).Bytes()),
              "Wave is invalid");
    EXPECT_EQ(WaveImageFailureOf(TRiffBuilder("RIFF", "AVI ").Chunk("data", Samples).Bytes()),
              "Wave is invalid");
}
