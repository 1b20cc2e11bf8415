#include "game/GameCommand.h"

#include "core/Globals.h"
#include "core/Random.h"
#include "game/GameFlow.h"
#include "game/PlayFrame.h"
#include "game/Sides.h"
#include "settings/ModalDialogPause.h"
#include "settings/Options.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <optional>

namespace {
constexpr std::size_t MaxWords = 3; // one more than any command takes, to catch extra words

// How a command's one number is bounded, and the reason given for one out of bounds.
enum class TArgument : std::uint8_t {
    None,
    Number,
    KeyCode,
    Character,
    DifficultyLevel,
    ViewIndex,
    SideIndex,
    Real,
};

struct TCommandName {
    std::string_view Name;
    TCommandKind Kind;
    TArgument Argument;
};

constexpr std::array<TCommandName, 15> CommandNames{{
    {"seed", TCommandKind::Seed, TArgument::Number},
    {"difficulty", TCommandKind::Difficulty, TArgument::DifficultyLevel},
    {"view", TCommandKind::View, TArgument::ViewIndex},
    {"side", TCommandKind::Side, TArgument::SideIndex},
    {"elapsed", TCommandKind::Elapsed, TArgument::Real},
    {"frame", TCommandKind::Frame, TArgument::Number},
    {"wait", TCommandKind::Wait, TArgument::Number},
    {"key", TCommandKind::Key, TArgument::KeyCode},
    {"press", TCommandKind::Press, TArgument::Character},
    {"menunew", TCommandKind::MenuNew, TArgument::None},
    {"menupause", TCommandKind::MenuPause, TArgument::None},
    {"dialog", TCommandKind::Dialog, TArgument::None},
    {"newgame", TCommandKind::NewGame, TArgument::None},
    {"resume", TCommandKind::Resume, TArgument::None},
    {"dump", TCommandKind::Dump, TArgument::None},
}};

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

TParsedLine Error(std::string_view reason) {
    return {TParsedLine::TResult::Error, {}, reason};
}

// The argument's value, or the reason it is refused.
TParsedLine ParseArgument(TCommandKind kind, TArgument argument, std::string_view text) {
    if (argument == TArgument::KeyCode || argument == TArgument::Character) {
        const auto code = ParseNumber<std::uint16_t>(text);
        if (!code) {
            return Error("expected a key code from 0 to 65535");
        }
        if (argument == TArgument::Character && *code > 255) {
            return Error("expected a character code from 0 to 255");
        }
        return {TParsedLine::TResult::Command, {kind, *code}, {}};
    }
    if (argument == TArgument::Real) {
        const auto real = ParseNumber<float>(text);
        if (!real || !std::isfinite(*real)) {
            return Error("expected a real number");
        }
        return {TParsedLine::TResult::Command, {kind, std::bit_cast<std::uint32_t>(*real)}, {}};
    }
    const auto number = ParseNumber<std::uint32_t>(text);
    if (!number) {
        return Error("expected a number from 0 to 4294967295");
    }
    if (argument == TArgument::DifficultyLevel && *number > 1) {
        return Error("expected difficulty 0 or 1");
    }
    if (argument == TArgument::ViewIndex && *number >= ViewCount) {
        return Error("expected view 0 to 3");
    }
    if (argument == TArgument::SideIndex && *number >= SideCount) {
        return Error("expected side 0 to 3");
    }
    return {TParsedLine::TResult::Command, {kind, *number}, {}};
}
} // namespace

TParsedLine ParseGameCommand(std::string_view line) {
    const TWords words = SplitWords(line);
    if (words.Count == 0 || words.Word[0].front() == '#') {
        return {};
    }
    const auto named = std::ranges::find(CommandNames, words.Word[0], &TCommandName::Name);
    if (named == CommandNames.end()) {
        return Error("unknown command");
    }
    const bool takesNumber = named->Argument != TArgument::None;
    if (words.Count != (takesNumber ? 2u : 1u)) {
        return Error(takesNumber ? "expected one number" : "expected no argument");
    }
    if (!takesNumber) {
        return {TParsedLine::TResult::Command, {named->Kind, 0}, {}};
    }
    return ParseArgument(named->Kind, named->Argument, words.Word[1]);
}

void AppendGameCommand(std::string& text, TGameCommand command) {
    const auto named = std::ranges::find(CommandNames, command.Kind, &TCommandName::Kind);
    text.append(named->Name);
    if (named->Argument == TArgument::Real) {
        std::array<char, 32> digits{};
        const auto written = std::to_chars(digits.data(), digits.data() + digits.size(),
                                           std::bit_cast<float>(command.Value));
        text.push_back(' ');
        text.append(digits.data(), written.ptr);
    } else if (named->Argument != TArgument::None) {
        text.push_back(' ');
        text.append(std::to_string(command.Value));
    }
    text.push_back('\n');
}

void ApplyGameCommand(TGame& game, TGameCommand command,
                      const std::function<void()>& openHomePage) {
    switch (command.Kind) {
    case TCommandKind::Seed:
        RandSeed = command.Value;
        break;
    case TCommandKind::Difficulty:
        Options->Difficulty = static_cast<std::uint8_t>(command.Value);
        break;
    case TCommandKind::View:
        Options->View = static_cast<std::uint8_t>(command.Value);
        break;
    case TCommandKind::Side:
        game.Slot.Side = static_cast<std::uint8_t>(command.Value);
        break;
    case TCommandKind::Elapsed:
        game.Elapsed = std::bit_cast<float>(command.Value);
        break;
    case TCommandKind::Frame:
        PlayFrame(game, command.Value);
        break;
    case TCommandKind::Key:
        FlowKeyDown(game, static_cast<std::uint16_t>(command.Value));
        break;
    case TCommandKind::Press:
        FlowKeyPress(game, static_cast<char>(command.Value), openHomePage);
        break;
    case TCommandKind::MenuNew:
        FlowNewGame(game);
        break;
    case TCommandKind::MenuPause:
        FlowPauseResume();
        break;
    case TCommandKind::Dialog: {
        const TModalDialogPause pause;
        break;
    }
    case TCommandKind::NewGame:
        GameState = gsPlaying;
        game.NewGame();
        break;
    case TCommandKind::Resume:
        GameState = SavedState;
        break;
    case TCommandKind::Wait:
    case TCommandKind::Dump:
        break;
    }
}
