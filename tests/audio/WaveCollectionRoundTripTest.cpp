#include "StreamBuilder.h"
#include "audio/wavefile/WaveCollection.h"
#include "audio/wavefile/WaveCollectionReader.h"
#include "audio/wavefile/WaveCollectionWriter.h"
#include "audio/wavefile/WaveImage.h"
#include "core/GameError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
TWave MakeWave(std::uint32_t rate, std::vector<std::uint8_t> samples) {
    return TWave{PcmFormatBlock(rate, 1, 16), std::move(samples)};
}

void AddItem(TWaveCollection& collection, const std::string& name, bool looped, int maxPlaying,
             TWave wave) {
    TWaveCollectionItem& item = collection.Add();
    item.SetName(name);
    item.Looped = looped;
    item.SetMaxPlayingCount(maxPlaying);
    item.Wave = std::move(wave);
}

std::filesystem::path ScratchFile(const std::string& name) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("zorbix-audio-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir / name;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}
} // namespace

// Guards the writer and reader against drifting apart: every stored field of every item,
// in order, including the integer widths, both string forms and a wave without samples.
TEST(WaveCollectionRoundTrip, KeepsEveryItemAndItsFieldsInOrder) {
    TWaveCollection written;
    AddItem(written, "newgame", false, 1, MakeWave(22050, {1, 2, 3, 4}));
    AddItem(written, "loop", true, 300, MakeWave(44100, {5, 6, 7}));
    AddItem(written, std::string(300, 'n'), false, 70000, TWave{});
    AddItem(written, "", false, 0, MakeWave(11025, std::vector<std::uint8_t>(9000, 0x55)));

    TWaveCollection read;
    ReadWaveCollection(WaveCollectionImage(written), read);
    ASSERT_EQ(read.Count(), written.Count());
    for (int i = 0; i < written.Count(); ++i) {
        const TWaveCollectionItem& want = written.Items(i);
        const TWaveCollectionItem& got = read.Items(i);
        EXPECT_EQ(got.Index(), i);
        EXPECT_EQ(got.Name(), want.Name());
        EXPECT_EQ(got.Looped, want.Looped);
        EXPECT_EQ(got.MaxPlayingCount(), want.MaxPlayingCount());
        EXPECT_EQ(got.Wave.Format, want.Wave.Format);
        EXPECT_EQ(got.Wave.Samples, want.Wave.Samples);
        EXPECT_EQ(&read.FindByName(want.Name()), &got);
    }
}

TEST(WaveCollectionRoundTrip, LookupInAThirdCasingFindsTheLaterOfTwoCaseTwins) {
    TWaveCollection written;
    AddItem(written, "Boing", false, 0, MakeWave(22050, {1, 1}));
    AddItem(written, "BOING", false, 0, MakeWave(22050, {2, 2}));

    TWaveCollection read;
    ReadWaveCollection(WaveCollectionImage(written), read);
    const TWaveCollectionItem& found = read.FindByName("boinG");
    EXPECT_EQ(found.Index(), 1);
    EXPECT_EQ(found.Wave.Samples, (std::vector<std::uint8_t>{2, 2}));
}

// Guards the optional parts of the stream a writer may add: the flags prefix with its
// index, order integers of every width before items, and a negative playing limit.
TEST(WaveCollectionReader, SkipsFlagsAndOrderIntegersAndClampsNegativeLimits) {
    TStreamBuilder stream;
    stream.ResourceHeader().Chars("TPF0").Byte(0xF2).Tag(TValueTag::Int8).Byte(3);
    stream.Short(HolderClassName).Short("Waves").Short("List");
    stream.Tag(TValueTag::Collection);
    stream.Tag(TValueTag::Int32).Int32(0).Tag(TValueTag::List).NameProperty("a");
    stream.Short("MaxPlayingCount").Tag(TValueTag::Int8).Byte(0xFB); // -5
    stream.Tag(TValueTag::EndOfList);
    stream.Tag(TValueTag::Int8).Byte(1).Tag(TValueTag::List);
    stream.Short("Looped").Tag(TValueTag::True);
    stream.Short("Name").Tag(TValueTag::LongString).Int32(1).Chars("b");
    stream.WaveProperty(WaveImage(MakeWave(22050, {4, 4})));
    stream.Tag(TValueTag::EndOfList).CollectionEnd();

    TWaveCollection read;
    ReadWaveCollection(stream.Bytes(), read);
    ASSERT_EQ(read.Count(), 2);
    EXPECT_EQ(read.Items(0).Name(), "a");
    EXPECT_EQ(read.Items(0).MaxPlayingCount(), 0);
    EXPECT_FALSE(read.Items(0).Wave.HasSamples());
    EXPECT_EQ(read.Items(1).Name(), "b");
    EXPECT_TRUE(read.Items(1).Looped);
    EXPECT_EQ(read.Items(1).Wave.Samples, (std::vector<std::uint8_t>{4, 4}));
}

TEST(WaveCollectionFile, LoadingReplacesWhatTheCollectionHeld) {
    TWaveCollection written;
    AddItem(written, "fall", false, 1, MakeWave(22050, {7, 7}));
    const auto path = ScratchFile("Sounds.dxw");
    WriteFile(path, WaveCollectionImage(written));

    TWaveCollection collection;
    AddItem(collection, "stale", false, 0, TWave{});
    collection.LoadCollectionFile(path.string());
    ASSERT_EQ(collection.Count(), 1);
    EXPECT_EQ(collection.FindByName("FALL").Wave.Samples, (std::vector<std::uint8_t>{7, 7}));
    EXPECT_THROW(collection.FindByName("stale"), EGameError);
    std::filesystem::remove_all(path.parent_path());
}
