#include "settings/ScoreEntry.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr std::size_t NameOffset = 1;
constexpr std::size_t FillerOffset = 51;
constexpr std::size_t ScoreOffset = 52;
constexpr std::size_t DateOffset = 56;

template <typename TUnsigned> void PutLittleEndian(TUnsigned value, std::byte* at) {
    for (std::size_t i = 0; i < sizeof(TUnsigned); ++i) {
        at[i] = static_cast<std::byte>(value >> (8 * i));
    }
}

template <typename TUnsigned> TUnsigned GetLittleEndian(const std::byte* at) {
    TUnsigned value = 0;
    for (std::size_t i = 0; i < sizeof(TUnsigned); ++i) {
        value |= static_cast<TUnsigned>(std::to_integer<TUnsigned>(at[i]) << (8 * i));
    }
    return value;
}

} // namespace

std::string TScoreEntry::Name() const {
    return {NameChars.data(), std::min<std::size_t>(NameLength, ScoreNameCapacity)};
}

void TScoreEntry::SetName(std::string_view name) {
    const std::size_t length = std::min(name.size(), ScoreNameCapacity);
    std::copy_n(name.data(), length, NameChars.data());
    NameLength = static_cast<std::uint8_t>(length);
}

void EncodeScoreEntry(const TScoreEntry& entry, TScoreEntryBytes bytes) {
    bytes[0] = static_cast<std::byte>(entry.NameLength);
    std::memcpy(bytes.data() + NameOffset, entry.NameChars.data(), ScoreNameCapacity);
    bytes[FillerOffset] = static_cast<std::byte>(entry.Filler);
    PutLittleEndian(static_cast<std::uint32_t>(entry.Score), bytes.data() + ScoreOffset);
    PutLittleEndian(std::bit_cast<std::uint64_t>(entry.Date), bytes.data() + DateOffset);
}

TScoreEntry DecodeScoreEntry(TConstScoreEntryBytes bytes) {
    TScoreEntry entry;
    entry.NameLength = std::min(std::to_integer<std::uint8_t>(bytes[0]),
                                static_cast<std::uint8_t>(ScoreNameCapacity));
    std::memcpy(entry.NameChars.data(), bytes.data() + NameOffset, ScoreNameCapacity);
    entry.Filler = std::to_integer<std::uint8_t>(bytes[FillerOffset]);
    entry.Score =
        static_cast<std::int32_t>(GetLittleEndian<std::uint32_t>(bytes.data() + ScoreOffset));
    entry.Date = std::bit_cast<double>(GetLittleEndian<std::uint64_t>(bytes.data() + DateOffset));
    return entry;
}
