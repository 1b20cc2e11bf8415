#include "StreamBuilder.h"
#include "audio/wavefile/WaveCollection.h"
#include "audio/wavefile/WaveCollectionReader.h"
#include "audio/wavefile/WaveCollectionWriter.h"
#include "audio/wavefile/WaveImage.h"
#include "core/GameError.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
std::string FailureOf(const std::vector<std::uint8_t>& image) {
    TWaveCollection collection;
    try {
        ReadWaveCollection(image, collection);
    } catch (const EGameError& error) {
        return error.what();
    }
    return "no failure";
}

std::vector<std::uint8_t> SmallValidImage() {
    TWaveCollection collection;
    for (const char* name : {"kik0", "life"}) {
        TWaveCollectionItem& item = collection.Add();
        item.SetName(name);
        item.SetMaxPlayingCount(2);
        item.Wave = TWave{PcmFormatBlock(22050, 1, 16), {1, 2, 3, 4, 5, 6}};
    }
    return WaveCollectionImage(collection);
}

std::vector<std::uint8_t> ImageWithItemProperty(std::string_view property, TValueTag tag) {
    return TStreamBuilder()
        .CollectionStart()
        .Tag(TValueTag::List)
        .Short(property)
        .Tag(tag)
        .Byte(0)
        .Tag(TValueTag::EndOfList)
        .CollectionEnd()
        .Bytes();
}
} // namespace

TEST(WaveCollectionReaderFailure, BadResourceHeaderOrSignatureIsAnInvalidFormat) {
    auto image = SmallValidImage();
    for (const std::size_t at : {0u, 1u, 2u}) {
        auto damaged = image;
        damaged[at] ^= 0x40;
        EXPECT_EQ(FailureOf(damaged), "Invalid stream format") << "header byte " << at;
    }
    EXPECT_EQ(FailureOf({0xFF, 0x0A}), "Invalid stream format");
    EXPECT_EQ(FailureOf({0xFF, 0x0A, 0x00, 'S', 0}), "Invalid stream format");
    EXPECT_EQ(FailureOf(TStreamBuilder().ResourceHeader().Chars("TPF1").Bytes()),
              "Invalid stream format");
    // The 79-byte header window holds a name of 76 characters; a longer one puts the
    // signature out of step.
    const auto named = [](std::size_t length) {
        return TStreamBuilder()
            .ResourceHeader(std::string(length, 'R'))
            .Chars("TPF0")
            .Short("T")
            .Short("W")
            .Byte(0)
            .Byte(0)
            .Bytes();
    };
    EXPECT_EQ(FailureOf(named(76)), "no failure");
    EXPECT_EQ(FailureOf(named(77)), "Invalid stream format");
    const auto withChild = TStreamBuilder()
                               .CollectionStart()
                               .Tag(TValueTag::EndOfList)
                               .Tag(TValueTag::EndOfList)
                               .Short("TTimer")
                               .Bytes();
    EXPECT_EQ(FailureOf(withChild), "Invalid stream format");
}

// Guards every read against running off the end: cutting a valid image anywhere after its
// signature must fail cleanly, never read beyond the cut, never leave items behind.
TEST(WaveCollectionReaderFailure, ImageCutAnywhereAfterTheSignatureIsAReadError) {
    const auto image = SmallValidImage();
    const std::string_view signature = "TPF0";
    const std::size_t signatureEnd =
        static_cast<std::size_t>(
            std::search(image.begin(), image.end(), signature.begin(), signature.end()) -
            image.begin()) +
        signature.size();
    for (std::size_t length = signatureEnd; length < image.size(); ++length) {
        const std::vector<std::uint8_t> cut(image.begin(),
                                            image.begin() + static_cast<std::ptrdiff_t>(length));
        TWaveCollection collection;
        try {
            ReadWaveCollection(cut, collection);
            ADD_FAILURE() << "no failure at length " << length;
        } catch (const EGameError& error) {
            EXPECT_STREQ(error.what(), "Stream read error") << "length " << length;
        }
        EXPECT_EQ(collection.Count(), 0) << "length " << length;
    }
}

TEST(WaveCollectionReaderFailure, RecordingThatIsNoRiffWaveIsInvalid) {
    const auto image = TStreamBuilder()
                           .CollectionStart()
                           .Tag(TValueTag::List)
                           .NameProperty("fall")
                           .WaveProperty(TRiffBuilder("RIFF", "WAV_").Bytes())
                           .Tag(TValueTag::EndOfList)
                           .CollectionEnd()
                           .Bytes();
    EXPECT_EQ(FailureOf(image), "Wave is invalid");
}

TEST(WaveCollectionReaderFailure, UnknownPropertyOrWrongValueKindFailsTheLoad) {
    EXPECT_EQ(FailureOf(ImageWithItemProperty("Volume", TValueTag::Int8)),
              "Property Volume does not exist");
    const auto holderProperty = TStreamBuilder()
                                    .ResourceHeader()
                                    .Chars("TPF0")
                                    .Short(HolderClassName)
                                    .Short("Waves")
                                    .Short("Tag")
                                    .Bytes();
    EXPECT_EQ(FailureOf(holderProperty), "Property Tag does not exist");

    EXPECT_EQ(FailureOf(ImageWithItemProperty("Name", TValueTag::Int8)), "Invalid property value");
    EXPECT_EQ(FailureOf(ImageWithItemProperty("Looped", TValueTag::Int8)),
              "Invalid property value");
    EXPECT_EQ(FailureOf(ImageWithItemProperty("MaxPlayingCount", TValueTag::String)),
              "Invalid property value");
    EXPECT_EQ(FailureOf(ImageWithItemProperty("Wave.WAVE", TValueTag::String)),
              "Invalid property value");
    const auto itemWithoutListTag =
        TStreamBuilder().CollectionStart().Tag(TValueTag::String).Bytes();
    EXPECT_EQ(FailureOf(itemWithoutListTag), "Invalid property value");
}

TEST(WaveCollectionFile, MissingFileNamesItsFullPathAndKeepsTheCollection) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("zorbix-missing-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);

    TWaveCollection collection;
    collection.Add().SetName("kept");
    try {
        collection.LoadCollectionFile("Sounds.dxw");
        ADD_FAILURE() << "no failure";
    } catch (const EGameError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + (dir / "Sounds.dxw").string());
    }
    EXPECT_EQ(collection.Count(), 1);

    try {
        collection.LoadCollectionFile(dir.string());
        ADD_FAILURE() << "a directory loaded";
    } catch (const EGameError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + dir.string());
    }
    // A pipe has no writer and would stall the start for ever; a device would never end.
    const auto pipe = dir / "pipe.dxw";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe.string(), std::string("/dev/zero")}) {
        try {
            collection.LoadCollectionFile(path);
            ADD_FAILURE() << path << " loaded";
        } catch (const EGameError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
        }
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
}
