#pragma once
// The character set of the names in "HiScores.dat": one byte a character, in the Windows
// "ANSI" code page of Western Europe and the Americas, code page 1252. Bytes 0x80 to 0x9F hold
// the typographic characters of that code page (euro sign, dashes, curly quotes), not the
// control characters of ISO 8859-1, so tables written by the Windows game read alike here.

#include <cstdint>
#include <optional>

// The character a byte of a stored name stands for. The five bytes the code page leaves
// undefined, and control bytes, read as U+FFFD so that no stored byte can disturb a row.
char32_t NameByteCharacter(std::uint8_t byte);

// The byte that stores `character`, when the table can hold it and it prints: the code page's
// characters but its control characters and the soft hyphen.
std::optional<std::uint8_t> StoredNameByte(char32_t character);
