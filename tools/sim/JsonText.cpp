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

void WriteJsonString(std::ostream& out, std::string_view text) {
    out << '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
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
