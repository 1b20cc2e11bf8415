#pragma once
// Hand-built "Sounds.dxw" images for reader tests: each piece of the layout written on its
// own, so a test can put a wrong byte exactly where it wants one.

#include "audio/ByteWriter.h"
#include "audio/ComponentStream.h"

#include <cstdint>
#include <string_view>
#include <vector>

class TStreamBuilder {
public:
    TStreamBuilder& ResourceHeader(std::string_view name = "SOUNDS");
    // Resource header, signature, holder class and name, and "List" opening the collection.
    TStreamBuilder& CollectionStart();
    // The collection's end, the holder's property end and the empty child list.
    TStreamBuilder& CollectionEnd();

    TStreamBuilder& Tag(TValueTag tag);
    TStreamBuilder& Byte(std::uint8_t value);
    TStreamBuilder& Int32(std::int32_t value);
    TStreamBuilder& Chars(std::string_view chars);
    TStreamBuilder& ShortString(std::string_view text);
    TStreamBuilder& NameProperty(std::string_view name);
    TStreamBuilder& WaveProperty(const std::vector<std::uint8_t>& image);

    const std::vector<std::uint8_t>& Bytes() const { return Writer.Bytes(); }

private:
    TByteWriter Writer;
};

// A RIFF WAVE image assembled chunk by chunk.
class TRiffBuilder {
public:
    explicit TRiffBuilder(std::string_view riff = "RIFF", std::string_view wave = "WAVE");
    TRiffBuilder& Chunk(std::string_view id, const std::vector<std::uint8_t>& data);
    // A chunk header that claims more data than follows.
    TRiffBuilder& ChunkHeader(std::string_view id, std::uint32_t size);
    TRiffBuilder& Raw(const std::vector<std::uint8_t>& bytes);
    const std::vector<std::uint8_t>& Bytes() const { return Writer.Bytes(); }

private:
    TByteWriter Writer;
};
