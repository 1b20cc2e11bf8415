#pragma once
// Little-endian appends to a growing byte image; the counterpart of TByteReader for the
// file writers.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

class TByteWriter {
public:
    void WriteByte(std::uint8_t value) { Image.push_back(value); }
    void WriteInt8(std::int8_t value) { WriteByte(static_cast<std::uint8_t>(value)); }
    void WriteUInt16(std::uint16_t value);
    void WriteInt16(std::int16_t value) { WriteUInt16(static_cast<std::uint16_t>(value)); }
    void WriteUInt32(std::uint32_t value);
    void WriteInt32(std::int32_t value) { WriteUInt32(static_cast<std::uint32_t>(value)); }
    void WriteBytes(std::span<const std::uint8_t> bytes);
    void WriteChars(std::string_view chars);
    // Overwrites four bytes written earlier, for sizes known only at the end.
    void PatchUInt32(std::size_t offset, std::uint32_t value);

    std::size_t Size() const { return Image.size(); }
    const std::vector<std::uint8_t>& Bytes() const& { return Image; }
    std::vector<std::uint8_t> Bytes() && { return std::move(Image); }

private:
    std::vector<std::uint8_t> Image;
};
