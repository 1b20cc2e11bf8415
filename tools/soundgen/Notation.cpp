#include "tools/soundgen/Notation.h"

#include <cctype>
#include <optional>
#include <stdexcept>
#include <string>

namespace {
constexpr int NaturalOffsets[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g

[[noreturn]] void Fail(const std::string& what, std::string_view token) {
    throw std::invalid_argument(what + " '" + std::string(token) + "'");
}

std::uint32_t LengthOf(std::string_view text, std::string_view token) {
    if (text.empty()) {
        Fail("missing length in", token);
    }
    std::uint32_t ticks = 0;
    switch (text.front()) {
    case 'w':
        ticks = TicksPerQuarter * 4;
        break;
    case 'h':
        ticks = TicksPerQuarter * 2;
        break;
    case 'q':
        ticks = TicksPerQuarter;
        break;
    case 'e':
        ticks = TicksPerQuarter / 2;
        break;
    case 's':
        ticks = TicksPerQuarter / 4;
        break;
    default:
        Fail("unknown length in", token);
    }
    for (const char modifier : text.substr(1)) {
        if (modifier == '.') {
            ticks = ticks * 3 / 2;
        } else if (modifier == 't') {
            ticks = ticks * 2 / 3;
        } else {
            Fail("unknown length in", token);
        }
    }
    return ticks;
}

struct TToken {
    std::optional<int> Key; // none for a rest
    std::uint32_t Length = 0;
    bool Tied = false;
};

TToken ParseToken(std::string_view token) {
    TToken result;
    std::string_view rest = token;
    if (rest.back() == '~') {
        result.Tied = true;
        rest.remove_suffix(1);
    }
    const char letter = rest.front();
    rest.remove_prefix(1);
    if (letter != 'r') {
        if (letter < 'a' || letter > 'g') {
            Fail("unknown note", token);
        }
        int key = NaturalOffsets[letter - 'a'];
        if (!rest.empty() && (rest.front() == '#' || rest.front() == 'b')) {
            key += rest.front() == '#' ? 1 : -1;
            rest.remove_prefix(1);
        }
        if (rest.empty() || !std::isdigit(static_cast<unsigned char>(rest.front()))) {
            Fail("missing octave in", token);
        }
        result.Key = key + 12 * (rest.front() - '0' + 1);
        rest.remove_prefix(1);
    } else if (result.Tied) {
        Fail("tied rest", token);
    }
    result.Length = LengthOf(rest, token);
    return result;
}
} // namespace

std::vector<TNote> ParseMelody(std::string_view text, std::uint32_t barTicks) {
    std::vector<TNote> notes;
    std::uint32_t now = 0;
    std::uint32_t bars = 0;
    bool tiedFromPrevious = false;
    auto checkBar = [&](std::string_view where) {
        ++bars;
        if (now != bars * barTicks) {
            Fail("bar " + std::to_string(bars) + " does not fill its bar before", where);
        }
    };

    std::size_t at = 0;
    while (at < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[at]))) {
            ++at;
            continue;
        }
        std::size_t end = at + 1;
        while (text[at] != '|' && end < text.size() && text[end] != '|' &&
               !std::isspace(static_cast<unsigned char>(text[end]))) {
            ++end;
        }
        const std::string_view token = text.substr(at, end - at);
        at = end;
        if (token == "|") {
            checkBar(text.substr(at, 24));
            continue;
        }
        const TToken parsed = ParseToken(token);
        if (tiedFromPrevious) {
            if (parsed.Key != notes.back().Key) {
                Fail("tie to a different note", token);
            }
            notes.back().Length += parsed.Length;
        } else if (parsed.Key) {
            notes.push_back({now, parsed.Length, *parsed.Key, 0});
        }
        tiedFromPrevious = parsed.Tied;
        now += parsed.Length;
    }
    if (tiedFromPrevious) {
        Fail("tie at the end of", text.substr(text.size() > 24 ? text.size() - 24 : 0));
    }
    if (now % barTicks != 0) {
        Fail("last bar does not fill its bar:",
             text.substr(text.size() > 24 ? text.size() - 24 : 0));
    }
    return notes;
}
