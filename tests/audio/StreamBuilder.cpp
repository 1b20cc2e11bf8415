#include "StreamBuilder.h"

TStreamBuilder& TStreamBuilder::ResourceHeader(std::string_view name) {
    Writer.WriteBytes(ResourceHeaderStart);
    Writer.WriteChars(name);
    Writer.WriteByte(0);
    Writer.WriteUInt16(0x1030);
    Writer.WriteUInt32(0);
    return *this;
}

TStreamBuilder& TStreamBuilder::CollectionStart() {
    ResourceHeader();
    Chars(StreamSignature);
    ShortString(HolderClassName);
    ShortString("Waves");
    ShortString(HolderListProperty);
    return Tag(TValueTag::Collection);
}

TStreamBuilder& TStreamBuilder::CollectionEnd() {
    return Tag(TValueTag::EndOfList).Tag(TValueTag::EndOfList).Tag(TValueTag::EndOfList);
}

TStreamBuilder& TStreamBuilder::Tag(TValueTag tag) {
    return Byte(static_cast<std::uint8_t>(tag));
}

TStreamBuilder& TStreamBuilder::Byte(std::uint8_t value) {
    Writer.WriteByte(value);
    return *this;
}

TStreamBuilder& TStreamBuilder::Int32(std::int32_t value) {
    Writer.WriteInt32(value);
    return *this;
}

TStreamBuilder& TStreamBuilder::Chars(std::string_view chars) {
    Writer.WriteChars(chars);
    return *this;
}

TStreamBuilder& TStreamBuilder::ShortString(std::string_view text) {
    Writer.WriteByte(static_cast<std::uint8_t>(text.size()));
    return Chars(text);
}

TStreamBuilder& TStreamBuilder::NameProperty(std::string_view name) {
    ShortString(ItemNameProperty);
    Tag(TValueTag::String);
    return ShortString(name);
}

TStreamBuilder& TStreamBuilder::WaveProperty(const std::vector<std::uint8_t>& image) {
    ShortString(ItemWaveProperty);
    Tag(TValueTag::Binary);
    Writer.WriteUInt32(static_cast<std::uint32_t>(image.size()));
    Writer.WriteBytes(image);
    return *this;
}

TRiffBuilder::TRiffBuilder(std::string_view riff, std::string_view wave) {
    Writer.WriteChars(riff);
    Writer.WriteUInt32(0);
    Writer.WriteChars(wave);
}

TRiffBuilder& TRiffBuilder::Chunk(std::string_view id, const std::vector<std::uint8_t>& data) {
    ChunkHeader(id, static_cast<std::uint32_t>(data.size()));
    return Raw(data);
}

TRiffBuilder& TRiffBuilder::ChunkHeader(std::string_view id, std::uint32_t size) {
    Writer.WriteChars(id);
    Writer.WriteUInt32(size);
    return *this;
}

TRiffBuilder& TRiffBuilder::Raw(const std::vector<std::uint8_t>& bytes) {
    Writer.WriteBytes(bytes);
    return *this;
}
