#pragma once
// The text rules of a profile (INI) file, kept apart from the file system. A line whose first
// non-blank character is "[" opens the section named up to "]"; a line with "=" inside a
// section holds the key before it and the value after it. Names match without regard to case
// and without their surrounding blanks; the first of several equal sections or keys counts.
// A UTF-8 byte-order mark at the very start is no part of the first line and is kept.

#include <optional>
#include <string>
#include <string_view>

// The value of `key` in `section`, without surrounding blanks or one pair of matching quotes;
// nothing when the section or the key is missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// `text` with `key` in `section` set to `value`. An existing value is replaced where it
// stands; a missing key is added after the last non-blank line of its section, a missing
// section at the end of the text. Every other byte, line endings included, stays as it was;
// added lines end like the text's first line (CR LF in an empty text).
std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

// Whether the three names can be written without breaking the file's structure: no line
// breaks anywhere, names neither empty nor with blanks around them, no "]" in the section,
// and a key that neither starts with "[" nor holds "=".
bool IsWritableProfileEntry(std::string_view section, std::string_view key, std::string_view value);
