#include "settings/NameCodePage.h"

#include <algorithm>
#include <array>

namespace {

constexpr char32_t Unreadable = 0xFFFD;
constexpr char32_t SoftHyphen = 0xAD;
constexpr std::uint8_t FirstUpperByte = 0x80;
constexpr std::uint8_t LastUpperByte = 0x9F;

// Bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char32_t, 32> UpperCharacters{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsControl(char32_t character) {
    return character < 0x20 || character == 0x7F;
}

} // namespace

char32_t NameByteCharacter(std::uint8_t byte) {
    if (byte >= FirstUpperByte && byte <= LastUpperByte) {
        const char32_t character = UpperCharacters[byte - FirstUpperByte];
        return character != 0 ? character : Unreadable;
    }
    return IsControl(byte) ? Unreadable : char32_t{byte};
}

std::optional<std::uint8_t> StoredNameByte(char32_t character) {
    if (IsControl(character) || character == SoftHyphen) {
        return std::nullopt;
    }
    if (character < FirstUpperByte || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<std::uint8_t>(character);
    }
    const auto found = std::find(UpperCharacters.begin(), UpperCharacters.end(), character);
    if (found == UpperCharacters.end()) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(FirstUpperByte + (found - UpperCharacters.begin()));
}
