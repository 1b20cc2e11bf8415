#include "audio/wavefile/ByteReader.h"

#include "audio/wavefile/StreamTexts.h"
#include "core/GameError.h"

void TByteReader::Require(std::size_t count) const {
    if (count > Remaining()) {
        throw EGameError(StreamReadErrorText);
    }
}

std::uint8_t TByteReader::PeekByte() const {
    Require(1);
    return Bytes[Offset];
}

std::uint8_t TByteReader::ReadByte() {
    Require(1);
    return Bytes[Offset++];
}

std::int8_t TByteReader::ReadInt8() {
    return static_cast<std::int8_t>(ReadByte());
}

std::int16_t TByteReader::ReadInt16() {
    const auto bytes = ReadBytes(2);
    return static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t TByteReader::ReadUInt32() {
    const auto bytes = ReadBytes(4);
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::int32_t TByteReader::ReadInt32() {
    return static_cast<std::int32_t>(ReadUInt32());
}

std::span<const std::uint8_t> TByteReader::ReadBytes(std::size_t count) {
    Require(count);
    const auto bytes = Bytes.subspan(Offset, count);
    Offset += count;
    return bytes;
}

std::string TByteReader::ReadChars(std::size_t count) {
    const auto bytes = ReadBytes(count);
    return std::string(bytes.begin(), bytes.end());
}

void TByteReader::Skip(std::size_t count) {
    Require(count);
    Offset += count;
}
