#include "platform/files/ProfileText.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

constexpr std::string_view Blanks = " \t\r";

// One line of the text: [Begin, End) is its content, [End, Next) its line ending.
struct TLine {
    std::size_t Begin;
    std::size_t End;
    std::size_t Next;
};

// Where in the text an existing key or its section stands.
struct TEntryPlace {
    std::optional<std::size_t> SectionLine;
    std::size_t LastFilledLine = 0; // last non-blank line of the section
    std::optional<std::size_t> KeyLine;
};

std::vector<TLine> SplitLines(std::string_view text) {
    std::vector<TLine> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t newline = text.find('\n', begin);
        if (newline == std::string_view::npos) {
            lines.push_back({begin, text.size(), text.size()});
            break;
        }
        const bool carriageReturn = newline > begin && text[newline - 1] == '\r';
        lines.push_back({begin, carriageReturn ? newline - 1 : newline, newline + 1});
        begin = newline + 1;
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string_view Content(std::string_view text, const TLine& line) {
    return text.substr(line.Begin, line.End - line.Begin);
}

// The section a header line names, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view content) {
    const std::string_view trimmed = Trim(content);
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    const std::string_view inside = trimmed.substr(1);
    return Trim(inside.substr(0, inside.find(']')));
}

bool HoldsKey(std::string_view content, std::string_view key) {
    const std::size_t equals = content.find('=');
    return equals != std::string_view::npos && SameName(Trim(content.substr(0, equals)), key);
}

TEntryPlace FindEntry(std::string_view text, const std::vector<TLine>& lines,
                      std::string_view section, std::string_view key) {
    TEntryPlace place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view content = Content(text, lines[i]);
        if (const auto name = SectionName(content)) {
            if (place.SectionLine) {
                break;
            }
            if (SameName(*name, section)) {
                place.SectionLine = i;
                place.LastFilledLine = i;
            }
        } else if (place.SectionLine) {
            if (!Trim(content).empty()) {
                place.LastFilledLine = i;
            }
            if (HoldsKey(content, key)) {
                place.KeyLine = i;
                break;
            }
        }
    }
    return place;
}

std::string_view LineEndingOf(std::string_view text) {
    const std::size_t newline = text.find('\n');
    if (newline != std::string_view::npos && (newline == 0 || text[newline - 1] != '\r')) {
        return "\n";
    }
    return "\r\n";
}

// Some editors put a UTF-8 byte-order mark before the first line. It is no part of any line,
// and it is kept as it is when the text is written back.
std::string_view ByteOrderMarkOf(std::string_view text) {
    constexpr std::string_view Mark = "\xEF\xBB\xBF";
    return text.starts_with(Mark) ? text.substr(0, Mark.size()) : std::string_view();
}

} // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    text.remove_prefix(ByteOrderMarkOf(text).size());
    const std::vector<TLine> lines = SplitLines(text);
    const TEntryPlace place = FindEntry(text, lines, section, key);
    if (!place.KeyLine) {
        return std::nullopt;
    }
    const std::string_view content = Content(text, lines[*place.KeyLine]);
    std::string_view value = Trim(content.substr(content.find('=') + 1));
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (quoted) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

namespace {
std::string SetValueInLines(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
    const std::vector<TLine> lines = SplitLines(text);
    const TEntryPlace place = FindEntry(text, lines, section, key);
    const std::string_view ending = LineEndingOf(text);
    std::string result(text);

    if (place.KeyLine) {
        const TLine& line = lines[*place.KeyLine];
        const std::string_view content = Content(text, line);
        const std::size_t equals = content.find('=');
        const std::string_view rest = content.substr(equals + 1);
        const std::size_t first = rest.find_first_not_of(Blanks);
        const std::size_t valueBegin = first == std::string_view::npos ? 0 : first;
        const std::size_t valueLength = Trim(rest).size();
        return result.replace(line.Begin + equals + 1 + valueBegin, valueLength, value);
    }

    const std::string entry = std::string(key) + "=" + std::string(value);
    if (place.SectionLine) {
        const TLine& after = lines[place.LastFilledLine];
        const bool lastLineOpen = after.End == after.Next;
        std::string inserted =
            lastLineOpen ? std::string(ending) + entry : entry + std::string(ending);
        return result.insert(after.Next, inserted);
    }

    if (!result.empty() && result.back() != '\n') {
        result += ending;
    }
    result.append("[").append(section).append("]").append(ending);
    return result.append(entry).append(ending);
}

} // namespace

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
    // Only the one mark at the very start is set aside: a second is text of the first line.
    const std::string_view mark = ByteOrderMarkOf(text);
    return std::string(mark) + SetValueInLines(text.substr(mark.size()), section, key, value);
}

bool IsWritableProfileEntry(std::string_view section, std::string_view key,
                            std::string_view value) {
    const auto hasLineBreak = [](std::string_view name) {
        return name.find_first_of("\r\n") != std::string_view::npos;
    };
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) {
        return false;
    }
    return !section.empty() && !key.empty() && Trim(section) == section && Trim(key) == key &&
           section.find(']') == std::string_view::npos && key.front() != '[' &&
           key.find('=') == std::string_view::npos;
}
