#include "tools/sim/JsonText.h"

#include <array>
#include <cmath>
#include <cstdio>

void WriteJsonFloat(std::ostream& out, float value) {
    if (!std::isfinite(value)) {
        out << "null";
        return;
    }
    std::array<char, 32> text{};
    const int length = std::snprintf(text.data(), text.size(), "%.9g", static_cast<double>(value));
    out.write(text.data(), length);
}

namespace {
// The length of the well-formed UTF-8 sequence at the start of `text` (no overlong forms,
// no surrogates, nothing above U+10FFFF), or 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80; // the bounds of the second byte, which rule out the bad forms
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t at = 2; at < length; ++at) {
        if (byte(at) < 0x80 || byte(at) > 0xBF) {
            return 0;
        }
    }
    return length;
}
} // namespace

void WriteJsonString(std::ostream& out, std::string_view text) {
    out << '"';
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (static_cast<unsigned char>(c) >= 0x80) {
            // Output must stay valid JSON whatever bytes a bad input line held.
            const std::size_t length = Utf8SequenceLength(text.substr(at));
            if (length == 0) {
                out << "\\ufffd";
            } else {
                out << text.substr(at, length);
                at += length - 1;
            }
        } else if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", c);
            out << escaped.data();
        } else {
            out << c;
        }
    }
    out << '"';
}
