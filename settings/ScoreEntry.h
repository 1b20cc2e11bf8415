#pragma once
// One row of the high-score table and its 64 bytes in "HiScores.dat":
//   offset 0  name length (0..50)      offset 51  filler, not significant
//   offset 1  50 name characters       offset 52  score, signed 32-bit little-endian
//                                      offset 56  date, IEEE double little-endian (DateTime.h)
// Names are 8-bit characters of code page 1252 (NameCodePage.h); only the first `NameLength`
// of them count.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

constexpr std::size_t ScoreEntrySize = 64;
constexpr std::size_t ScoreNameCapacity = 50;

struct TScoreEntry {
    std::uint8_t NameLength = 0;
    std::array<char, ScoreNameCapacity> NameChars{};
    std::uint8_t Filler = 0;
    std::int32_t Score = 0;
    double Date = 0;

    std::string Name() const;
    // Keeps the first 50 characters of `name`; the characters past the new length keep
    // whatever they held.
    void SetName(std::string_view name);
};

using TScoreEntryBytes = std::span<std::byte, ScoreEntrySize>;
using TConstScoreEntryBytes = std::span<const std::byte, ScoreEntrySize>;

// Writes every field, the characters past the name's length included, so a table read from
// a file is written back exactly as it was.
void EncodeScoreEntry(const TScoreEntry& entry, TScoreEntryBytes bytes);
// Reads every field as it stands, except that a name length above 50 is taken as 50: the
// name never reaches past its field.
TScoreEntry DecodeScoreEntry(TConstScoreEntryBytes bytes);
