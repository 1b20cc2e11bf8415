#pragma once
// Bounds-checked little-endian reads from a span of bytes. Every read either stays inside
// the span or throws EGameError "Stream read error" without moving, so no input, however
// damaged, makes a reader look past the data it was given.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class TByteReader {
public:
    explicit TByteReader(std::span<const std::uint8_t> bytes) : Bytes(bytes) {}

    std::size_t Position() const { return Offset; }
    std::size_t Remaining() const { return Bytes.size() - Offset; }
    bool AtEnd() const { return Offset == Bytes.size(); }

    // The next byte without consuming it.
    std::uint8_t PeekByte() const;
    std::uint8_t ReadByte();
    std::int8_t ReadInt8();
    std::int16_t ReadInt16();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    // The next count bytes as a view into the span.
    std::span<const std::uint8_t> ReadBytes(std::size_t count);
    // The next count bytes as 8-bit characters.
    std::string ReadChars(std::size_t count);
    void Skip(std::size_t count);

private:
    void Require(std::size_t count) const;

    std::span<const std::uint8_t> Bytes;
    std::size_t Offset = 0;
};
