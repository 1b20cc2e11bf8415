#pragma once
// Integers as a player may type them into a settings file.

#include <cstdint>
#include <optional>
#include <string_view>

// A signed 32-bit integer: an optional "+" or "-", then either decimal digits or, after
// "$", "x", "X", "0x" or "0X", hexadecimal digits. Hexadecimal takes up to 32 bits, so
// "$FFFFFFFF" is -1. Nothing when the text is empty, holds anything else, or does not fit.
std::optional<std::int32_t> ParseInteger(std::string_view text);
