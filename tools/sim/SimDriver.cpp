#include "tools/sim/SimDriver.h"

#include "core/Globals.h"
#include "core/Random.h"
#include "game/PlayFrame.h"
#include "settings/Options.h"
#include "tools/sim/JsonText.h"
#include "tools/sim/StateDump.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>

namespace {
constexpr std::size_t MaxWords = 3; // one more than any command takes, to catch extra words

struct TWords {
    std::array<std::string_view, MaxWords> Word;
    std::size_t Count = 0;
};

TWords SplitWords(std::string_view line) {
    constexpr std::string_view Blanks = " \t\r";
    TWords words;
    std::size_t at = line.find_first_not_of(Blanks);
    while (at != std::string_view::npos && words.Count < MaxWords) {
        const std::size_t end = std::min(line.find_first_of(Blanks, at), line.size());
        words.Word[words.Count++] = line.substr(at, end - at);
        at = line.find_first_not_of(Blanks, end);
    }
    return words;
}

template <class TNumber> std::optional<TNumber> ParseNumber(std::string_view text) {
    TNumber value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}
} // namespace

TSimDriver::TSimDriver(std::ostream& out) : Out(out) {
    Options = std::make_unique<TOptions>();
    Options->Difficulty = 1;
    GameState = gsTitle;
    SavedState = gsTitle;
    FrameDeltaMs = 0;
    RandSeed = 0;
    Game = std::make_unique<TGame>(TComRef<IDirect3DDevice8>());
    Game->SetOutlet(this);
}

void TSimDriver::RunLine(std::string_view line, std::int32_t lineNumber) {
    const TWords words = SplitWords(line);
    if (words.Count == 0 || words.Word[0].front() == '#') {
        return;
    }
    const std::string_view command = words.Word[0];
    const bool takesNumber =
        command == "seed" || command == "difficulty" || command == "frame" || command == "key";
    const bool takesNothing = command == "newgame" || command == "resume" || command == "dump";
    if (!takesNumber && !takesNothing) {
        ReportError(lineNumber, "unknown command", line);
        return;
    }
    if (words.Count != (takesNumber ? 2u : 1u)) {
        ReportError(lineNumber, takesNumber ? "expected one number" : "expected no argument", line);
        return;
    }

    if (command == "newgame") {
        GameState = gsPlaying;
        Game->NewGame();
    } else if (command == "resume") {
        GameState = SavedState;
    } else if (command == "dump") {
        WriteGameState(Out, *Game);
    } else if (command == "key") {
        const auto key = ParseNumber<std::uint16_t>(words.Word[1]);
        if (!key) {
            ReportError(lineNumber, "expected a key code from 0 to 65535", line);
        } else if (GameState == gsPlaying) {
            Game->TurnSlot(*key);
        }
    } else {
        const auto number = ParseNumber<std::uint32_t>(words.Word[1]);
        if (!number) {
            ReportError(lineNumber, "expected a number from 0 to 4294967295", line);
        } else if (command == "seed") {
            RandSeed = *number;
        } else if (command == "difficulty") {
            if (*number > 1) {
                ReportError(lineNumber, "expected difficulty 0 or 1", line);
            } else {
                Options->Difficulty = static_cast<std::uint8_t>(*number);
            }
        } else { // frame
            PlayFrame(*Game, *number);
        }
    }
}

void TSimDriver::ShowScore(std::int32_t score) {
    Out << "{\"event\":\"score\",\"value\":" << score << "}\n";
}

void TSimDriver::PlaySoundEffect(std::string_view name) {
    Out << "{\"event\":\"sound\",\"name\":";
    WriteJsonString(Out, name);
    Out << "}\n";
}

void TSimDriver::AddScore(std::int32_t score) {
    Out << "{\"event\":\"addscore\",\"value\":" << score << "}\n";
}

void TSimDriver::ReportError(std::int32_t lineNumber, std::string_view reason,
                             std::string_view line) {
    std::string message = "line " + std::to_string(lineNumber) + ": ";
    message.append(reason).append(": ").append(line);
    Out << "{\"error\":";
    WriteJsonString(Out, message);
    Out << "}\n";
}
