#pragma once
// Hand-built "Sounds.dxw" and RIFF WAVE images for reader tests: each piece of the layout
// written on its own, so a test can put a wrong byte exactly where it wants one.

#include "audio/wavefile/ByteWriter.h"
#include "audio/wavefile/ComponentStream.h"

#include <cstdint>
#include <string_view>
#include <vector>

class TStreamBuilder : public TByteWriter {
public:
    TStreamBuilder& ResourceHeader(std::string_view name = "SOUNDS") {
        WriteBytes(ResourceHeaderStart);
        WriteChars(name);
        WriteByte(0);
        WriteUInt16(0x1030);
        WriteUInt32(0);
        return *this;
    }
    // Resource header, signature, holder class and name, and "List" opening the collection.
    TStreamBuilder& CollectionStart() {
        ResourceHeader().Chars(StreamSignature).Short(HolderClassName).Short("Waves");
        return Short(HolderListProperty).Tag(TValueTag::Collection);
    }
    // The collection's end, the holder's property end and the empty child list.
    TStreamBuilder& CollectionEnd() { return Tag(TValueTag::EndOfList).Byte(0).Byte(0); }
    TStreamBuilder& Tag(TValueTag tag) { return Byte(static_cast<std::uint8_t>(tag)); }
    TStreamBuilder& Byte(std::uint8_t value) {
        WriteByte(value);
        return *this;
    }
    TStreamBuilder& Int32(std::int32_t value) {
        WriteInt32(value);
        return *this;
    }
    TStreamBuilder& Chars(std::string_view chars) {
        WriteChars(chars);
        return *this;
    }
    TStreamBuilder& Short(std::string_view text) {
        return Byte(static_cast<std::uint8_t>(text.size())).Chars(text);
    }
    TStreamBuilder& NameProperty(std::string_view name) {
        return Short(ItemNameProperty).Tag(TValueTag::String).Short(name);
    }
    TStreamBuilder& WaveProperty(const std::vector<std::uint8_t>& image) {
        Short(ItemWaveProperty)
            .Tag(TValueTag::Binary)
            .Int32(static_cast<std::int32_t>(image.size()));
        WriteBytes(image);
        return *this;
    }
};

// A RIFF WAVE image assembled chunk by chunk; a chunk may claim more data than follows.
class TRiffBuilder : public TByteWriter {
public:
    explicit TRiffBuilder(std::string_view riff = "RIFF", std::string_view wave = "WAVE") {
        WriteChars(riff);
        WriteUInt32(0);
        WriteChars(wave);
    }
    TRiffBuilder& Chunk(std::string_view id, const std::vector<std::uint8_t>& data) {
        return ChunkHeader(id, static_cast<std::uint32_t>(data.size())).Raw(data);
    }
    TRiffBuilder& ChunkHeader(std::string_view id, std::uint32_t size) {
        WriteChars(id);
        WriteUInt32(size);
        return *this;
    }
    TRiffBuilder& Raw(const std::vector<std::uint8_t>& bytes) {
        WriteBytes(bytes);
        return *this;
    }
};
