#include "game/ReplayFile.h"

#include "core/GameError.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {
constexpr std::string_view FormatLine = "# zorbix replay ";
constexpr std::string_view ScoreLine = "# score ";
constexpr std::string_view DifficultyLine = "# difficulty ";
constexpr std::string_view DateLine = "# date ";
constexpr std::string_view NameLine = "# name";
constexpr int SecondsPerDay = 86400;
// Dates further off than this from 1899 are no dates a table holds; they get no calendar form.
constexpr double LargestCalendarDays = 1e6;

std::string DateNumberText(double date) {
    std::array<char, 32> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), date);
    return {digits.data(), result.ptr};
}

// " (YYYY-MM-DD hh:mm:ss)" for a date in the table's form, or nothing for a number that is none.
std::string CalendarText(double date) {
    if (!std::isfinite(date) || std::fabs(date) > LargestCalendarDays) {
        return {};
    }
    using namespace std::chrono;
    const double dayNumber = std::floor(date);
    const auto seconds = static_cast<int>(std::lround((date - dayNumber) * SecondsPerDay));
    const sys_days day = sys_days(year{1899} / December / 30) +
                         days(static_cast<int>(dayNumber) + seconds / SecondsPerDay);
    const year_month_day calendar(day);
    const int second = seconds % SecondsPerDay;
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), " (%04d-%02u-%02u %02d:%02d:%02d)",
                  static_cast<int>(calendar.year()), static_cast<unsigned>(calendar.month()),
                  static_cast<unsigned>(calendar.day()), second / 3600, second / 60 % 60,
                  second % 60);
    return text.data();
}

void AppendEscapedName(std::string& text, std::string_view name) {
    constexpr std::string_view Hex = "0123456789abcdef";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '\\') {
            text.push_back(c);
        } else {
            text.append("\\x");
            text.push_back(Hex[byte >> 4]);
            text.push_back(Hex[byte & 15]);
        }
    }
}

std::optional<std::string> UnescapedName(std::string_view text) {
    std::string name;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') {
            name.push_back(text[at]);
            continue;
        }
        unsigned byte = 0;
        if (text.substr(at + 1, 1) != "x" || at + 4 > text.size() ||
            std::from_chars(text.data() + at + 2, text.data() + at + 4, byte, 16).ptr !=
                text.data() + at + 4) {
            return std::nullopt;
        }
        name.push_back(static_cast<char>(byte));
        at += 3;
    }
    return name;
}

template <class TNumber> std::optional<TNumber> LeadingNumber(std::string_view text) {
    TNumber value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
    if (error != std::errc{} || !(rest.empty() || rest.front() == ' ')) {
        return std::nullopt;
    }
    return value;
}

struct TLineReader {
    std::string_view Text;
    std::size_t At = 0;
    std::int32_t Number = 0;

    bool Next(std::string_view& line) {
        if (At >= Text.size()) {
            return false;
        }
        const std::size_t end = std::min(Text.find('\n', At), Text.size());
        line = Text.substr(At, end - At);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        At = end + 1;
        ++Number;
        return true;
    }
};

[[noreturn]] void Refuse(const std::string& reason) {
    throw EGameError(reason);
}

void ReadFormatLine(TLineReader& lines) {
    std::string_view line;
    if (!lines.Next(line) || !line.starts_with(FormatLine)) {
        Refuse("it is not a replay: its first line is not \"# zorbix replay 1\"");
    }
    const auto version = LeadingNumber<int>(line.substr(FormatLine.size()));
    if (!version || *version < 1 || line.find(' ', FormatLine.size()) != std::string_view::npos) {
        Refuse("it is not a replay: its first line is not \"# zorbix replay 1\"");
    }
    if (*version > ReplayFormatVersion) {
        Refuse("it was made by a newer version of the game (replay format " +
               std::to_string(*version) + ")");
    }
}

[[noreturn]] void RefuseHeaderLine(std::int32_t number, std::string_view line) {
    Refuse("line " + std::to_string(number) + ": damaged header line: " + std::string(line));
}

// Takes a header line into `header`, marking it in `seen`; false for a line that is not one
// of the header's.
bool ReadHeaderLine(std::string_view line, std::int32_t number, TReplayHeader& header,
                    std::uint8_t& seen) {
    if (line.starts_with(ScoreLine)) {
        const auto score = LeadingNumber<std::int32_t>(line.substr(ScoreLine.size()));
        if (!score) {
            RefuseHeaderLine(number, line);
        }
        header.Score = *score;
        seen |= 1;
    } else if (line.starts_with(DifficultyLine)) {
        const auto level = LeadingNumber<unsigned>(line.substr(DifficultyLine.size()));
        if (!level || *level > 1) {
            RefuseHeaderLine(number, line);
        }
        header.Difficulty = static_cast<std::uint8_t>(*level);
        seen |= 2;
    } else if (line.starts_with(DateLine)) {
        const auto date = LeadingNumber<double>(line.substr(DateLine.size()));
        if (!date) {
            RefuseHeaderLine(number, line);
        }
        header.Date = *date;
        seen |= 4;
    } else if (line == NameLine || line.starts_with(std::string(NameLine) + " ")) {
        const auto name = UnescapedName(line.substr(std::min(line.size(), NameLine.size() + 1)));
        if (!name) {
            RefuseHeaderLine(number, line);
        }
        header.Name = *name;
    } else {
        return false;
    }
    return true;
}

constexpr std::uint8_t AllHeaderLines = 7;

// Reads the format line and the header; stops before the first line that is neither a header
// line nor a comment, leaving `lines` there.
TReplayHeader ReadHeader(TLineReader& lines) {
    ReadFormatLine(lines);
    TReplayHeader header;
    std::uint8_t seen = 0;
    for (std::size_t at = lines.At;; at = lines.At) {
        std::string_view line;
        if (!lines.Next(line)) {
            break;
        }
        if (ReadHeaderLine(line, lines.Number, header, seen)) {
            continue;
        }
        if (!line.starts_with('#')) {
            lines.At = at;
            --lines.Number;
            break;
        }
    }
    if (seen != AllHeaderLines) {
        Refuse("its header lacks the " +
               std::string((seen & 1) == 0   ? "score"
                           : (seen & 2) == 0 ? "difficulty"
                                             : "date") +
               " line");
    }
    return header;
}
} // namespace

std::string ReplayText(const TReplay& replay) {
    const TReplayHeader& header = replay.Header;
    std::string text(FormatLine);
    text.append(std::to_string(ReplayFormatVersion)).append("\n");
    text.append(ScoreLine).append(std::to_string(header.Score)).append("\n");
    text.append(DifficultyLine).append(std::to_string(header.Difficulty));
    text.append(header.Difficulty == 1 ? " (normal)\n" : " (easy)\n");
    text.append(DateLine).append(DateNumberText(header.Date));
    text.append(CalendarText(header.Date)).append("\n");
    text.append(NameLine).append(" ");
    AppendEscapedName(text, header.Name);
    text.append("\n# re-play it with: zorbix-sim < FILE, or check it with: zorbix-sim --verify "
                "FILE\n");
    for (const TGameCommand& command : replay.Commands) {
        AppendGameCommand(text, command);
    }
    return text;
}

TReplayHeader ReadReplayHeader(std::string_view text) {
    TLineReader lines{text};
    return ReadHeader(lines);
}

TReplay ReadReplay(std::string_view text) {
    TLineReader lines{text};
    TReplay replay;
    replay.Header = ReadHeader(lines);
    for (std::string_view line; lines.Next(line);) {
        const TParsedLine parsed = ParseGameCommand(line);
        if (parsed.Result == TParsedLine::TResult::Error) {
            Refuse("line " + std::to_string(lines.Number) + ": " + std::string(parsed.Reason) +
                   ": " + std::string(line));
        }
        if (parsed.Result == TParsedLine::TResult::Command) {
            replay.Commands.push_back(parsed.Command);
        }
    }
    return replay;
}
