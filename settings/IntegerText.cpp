#include "settings/IntegerText.h"

namespace {

constexpr std::uint64_t DecimalLimit = 2147483648; // magnitude of the most negative value
constexpr std::uint64_t HexLimit = 0xFFFFFFFF;

int DigitValue(char digit, int base) {
    int value = base;
    if (digit >= '0' && digit <= '9') {
        value = digit - '0';
    } else if (base == 16 && digit >= 'a' && digit <= 'f') {
        value = digit - 'a' + 10;
    } else if (base == 16 && digit >= 'A' && digit <= 'F') {
        value = digit - 'A' + 10;
    }
    return value < base ? value : -1;
}

// Strips the hexadecimal prefix, if any, and says which base the rest is in.
int TakeBase(std::string_view& text) {
    for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.starts_with(prefix)) {
            text.remove_prefix(prefix.size());
            return 16;
        }
    }
    return 10;
}

} // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    const int base = TakeBase(text);
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    for (const char digit : text) {
        const int value = DigitValue(digit, base);
        if (value < 0) {
            return std::nullopt;
        }
        magnitude =
            magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(value);
        if (magnitude > (base == 16 ? HexLimit : DecimalLimit)) {
            return std::nullopt;
        }
    }
    if (base == 10 && !negative && magnitude == DecimalLimit) {
        return std::nullopt;
    }
    // Hexadecimal is a bit pattern: the 32 bits are taken as they stand, then negated.
    const auto bits = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}
