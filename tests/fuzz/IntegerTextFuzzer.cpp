// Any text as a settings value for the integer parser, checked against the standard
// library's conversion of the same digits: a number is taken exactly when it fits, and every
// 32-bit number written in decimal reads back as itself.

#include "settings/IntegerText.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {
std::optional<std::int32_t> Expected(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    int base = 10;
    for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.starts_with(prefix)) {
            text.remove_prefix(prefix.size());
            base = 16;
            break;
        }
    }
    // The standard conversion takes no sign of its own here: a second one is not a digit.
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (end != text.data() + text.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range)) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        return std::nullopt;
    }
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFu) {
            return std::nullopt;
        }
        const auto bits = static_cast<std::uint32_t>(magnitude);
        return static_cast<std::int32_t>(negative ? 0u - bits : bits);
    }
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (magnitude > 0x80000000u || value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (ParseInteger(text) != Expected(text)) {
        __builtin_trap();
    }
    if (size >= sizeof(std::int32_t)) {
        std::int32_t number = 0;
        std::memcpy(&number, data, sizeof number);
        if (ParseInteger(std::to_string(number)) != number) {
            __builtin_trap();
        }
    }
    return 0;
}
