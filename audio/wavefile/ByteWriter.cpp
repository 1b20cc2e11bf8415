#include "audio/wavefile/ByteWriter.h"

void TByteWriter::WriteUInt16(std::uint16_t value) {
    WriteByte(static_cast<std::uint8_t>(value));
    WriteByte(static_cast<std::uint8_t>(value >> 8));
}

void TByteWriter::WriteUInt32(std::uint32_t value) {
    WriteUInt16(static_cast<std::uint16_t>(value));
    WriteUInt16(static_cast<std::uint16_t>(value >> 16));
}

void TByteWriter::WriteBytes(std::span<const std::uint8_t> bytes) {
    Image.insert(Image.end(), bytes.begin(), bytes.end());
}

void TByteWriter::WriteChars(std::string_view chars) {
    Image.insert(Image.end(), chars.begin(), chars.end());
}

void TByteWriter::PatchUInt32(std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        Image.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}
