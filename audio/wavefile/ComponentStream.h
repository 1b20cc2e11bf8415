#pragma once
// The layout shared by the "Sounds.dxw" reader and writer: a resource header, the signature
// and a tagged component stream of one holder component whose "List" property is the wave
// collection. All integers are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Resource header: 0xFF, the 16-bit resource type 10, the name and its zero byte, a 16-bit
// flags word and a 32-bit data size. Only the first three bytes are checked.
constexpr std::array<std::uint8_t, 3> ResourceHeaderStart{0xFF, 0x0A, 0x00};
// The header is read through a window this long, so a resource name can hold 76 characters.
constexpr std::size_t ResourceHeaderWindow = 79;
// From the end of the resource name: its zero byte, the flags word and the data size.
constexpr std::size_t ResourceHeaderTail = 1 + 2 + 4;
constexpr std::string_view StreamSignature = "TPF0";
// A first byte at or above this value is a flags byte; bit 1 announces a tagged integer.
constexpr std::uint8_t StreamFlagsMarker = 0xF0;
constexpr std::uint8_t StreamFlagHasIndex = 0x02;

enum class TValueTag : std::uint8_t {
    EndOfList = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    String = 6,
    False = 8,
    True = 9,
    Binary = 10,
    LongString = 12,
    Collection = 14,
};

constexpr std::string_view HolderClassName = "TWaveCollectionComponent";
constexpr std::string_view HolderListProperty = "List";
constexpr std::string_view ItemNameProperty = "Name";
constexpr std::string_view ItemLoopedProperty = "Looped";
constexpr std::string_view ItemMaxPlayingCountProperty = "MaxPlayingCount";
constexpr std::string_view ItemWaveProperty = "Wave.WAVE";
