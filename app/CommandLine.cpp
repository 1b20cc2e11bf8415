#include "app/CommandLine.h"

#include "core/BuildInfo.h"

#include <QCommandLineParser>
#include <QStringList>

#include <charconv>
#include <stdexcept>
#include <string_view>

namespace {
constexpr std::uint32_t MaxSize = 4096;
constexpr std::uint32_t MinSize = 16;

std::uint32_t ReadNumber(std::string_view option, std::string_view text, std::uint32_t low,
                         std::uint32_t high) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
        throw std::invalid_argument(std::string(option) + " takes a number from " +
                                    std::to_string(low) + " to " + std::to_string(high) +
                                    ", not \"" + std::string(text) + "\"");
    }
    return value;
}

std::uint8_t ReadState(std::string_view text) {
    std::uint8_t state = 0;
    if (!ParseGameState(text, state)) {
        throw std::invalid_argument(
            "--state takes title, playing, gameover, interlude or paused, not \"" +
            std::string(text) + "\"");
    }
    return state;
}

void CheckModeSwitches(const TCommandLine& line, bool screenshotOnly, bool deviceNamed) {
    if (screenshotOnly && line.Mode != TRunMode::Screenshot) {
        throw std::invalid_argument(
            "--state, --view, --seed, --play-ms and --player go with --screenshot");
    }
    if (deviceNamed && line.Mode == TRunMode::Screenshot) {
        throw std::invalid_argument("--device goes with the game or --bench-frames");
    }
    if (line.Mode == TRunMode::Screenshot && line.ScreenshotFile.empty()) {
        throw std::invalid_argument("--screenshot needs a file name");
    }
}
// The game's own switches.
struct TGameOptions {
    QCommandLineOption Help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption Version{QStringLiteral("version")};
    QCommandLineOption Reference{QStringLiteral("reference")};
    QCommandLineOption Screenshot{QStringLiteral("screenshot"), {}, QStringLiteral("file")};
    QCommandLineOption State{QStringLiteral("state"), {}, QStringLiteral("state")};
    QCommandLineOption View{QStringLiteral("view"), {}, QStringLiteral("view")};
    QCommandLineOption Seed{QStringLiteral("seed"), {}, QStringLiteral("seed")};
    QCommandLineOption PlayMs{QStringLiteral("play-ms"), {}, QStringLiteral("ms")};
    QCommandLineOption Player{QStringLiteral("player"), {}, QStringLiteral("kind")};
    QCommandLineOption BenchFrames{QStringLiteral("bench-frames"), {}, QStringLiteral("n")};
    QCommandLineOption Device{QStringLiteral("device"), {}, QStringLiteral("kind")};
    QCommandLineOption Size{QStringLiteral("size"), {}, QStringLiteral("pixels")};
    QCommandLineOption Replay{QStringLiteral("replay"), {}, QStringLiteral("file")};

    QList<QCommandLineOption> All() const {
        return {Help,   Version, Reference,   Screenshot, State, View,  Seed,
                PlayMs, Player,  BenchFrames, Device,     Size,  Replay};
    }
};

// The window toolkit's own switches: accepted here and left in the arguments, where the
// application object takes them.
QList<QCommandLineOption> ToolkitOptions() {
    QList<QCommandLineOption> options;
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "qwindowicon", "qwindowtitle", "session", "display", "geometry", "style", "stylesheet",
          "title", "name", "qmljsdebugger", "visual"}) {
        QCommandLineOption option(QString::fromLatin1(name), {}, QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options << option;
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options << option;
    }
    return options;
}

std::string DashedName(const QString& name) {
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}
} // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    // "-platform xcb" is one switch with a value, as the toolkit spells its own.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const TGameOptions game;
    parser.addOptions(game.All());
    parser.addOptions(ToolkitOptions());

    QStringList list{QStringLiteral("zorbix")};
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    if (!parser.parse(list)) {
        if (!parser.unknownOptionNames().isEmpty()) {
            throw std::invalid_argument("unknown switch \"" +
                                        DashedName(parser.unknownOptionNames().front()) +
                                        "\" (zorbix --help lists them)");
        }
        throw std::invalid_argument(parser.errorText().toStdString());
    }
    if (!parser.positionalArguments().isEmpty()) {
        throw std::invalid_argument("unknown switch \"" +
                                    parser.positionalArguments().front().toStdString() +
                                    "\" (zorbix --help lists them)");
    }

    TCommandLine line;
    if (parser.isSet(game.Help)) {
        line.Mode = TRunMode::Help;
        return line;
    }
    if (parser.isSet(game.Version)) {
        line.Mode = TRunMode::Version;
        return line;
    }
    const auto value = [&parser](const QCommandLineOption& option) {
        return parser.value(option).toStdString();
    };
    line.ReferenceDevice = parser.isSet(game.Reference);
    const bool screenshot = parser.isSet(game.Screenshot);
    const bool bench = parser.isSet(game.BenchFrames);
    if (screenshot && bench) {
        throw std::invalid_argument("--screenshot and --bench-frames cannot go together");
    }
    if (screenshot) {
        line.Mode = TRunMode::Screenshot;
        line.ScreenshotFile = value(game.Screenshot);
    }
    if (bench) {
        line.Mode = TRunMode::Bench;
        line.BenchFrames = ReadNumber("--bench-frames", value(game.BenchFrames), 1, 1000000);
    }
    bool screenshotOnly = false;
    if (parser.isSet(game.State)) {
        line.State = ReadState(value(game.State));
        screenshotOnly = true;
    }
    if (parser.isSet(game.View)) {
        line.View = static_cast<std::uint8_t>(ReadNumber("--view", value(game.View), 0, 3));
        screenshotOnly = true;
    }
    if (parser.isSet(game.Seed)) {
        line.Seed = ReadNumber("--seed", value(game.Seed), 0, UINT32_MAX);
        screenshotOnly = true;
    }
    if (parser.isSet(game.PlayMs)) {
        line.PlayMs = ReadNumber("--play-ms", value(game.PlayMs), 0, 24 * 3600 * 1000);
        screenshotOnly = true;
    }
    if (parser.isSet(game.Player)) {
        const std::string player = value(game.Player);
        if (!ParsePlayer(player, line.Player)) {
            throw std::invalid_argument("--player takes perfect or losing, not \"" + player + "\"");
        }
        screenshotOnly = true;
    }
    const bool deviceNamed = parser.isSet(game.Device);
    if (deviceNamed) {
        const std::string device = value(game.Device);
        if (device != "reference" && device != "hardware") {
            throw std::invalid_argument("--device takes reference or hardware, not \"" + device +
                                        "\"");
        }
        line.HardwareDevice = device == "hardware";
        line.ReferenceDevice = line.ReferenceDevice || device == "reference";
    }
    if (parser.isSet(game.Size)) {
        line.Size = ReadNumber("--size", value(game.Size), MinSize, MaxSize);
    }
    if (parser.isSet(game.Replay)) {
        if (line.Mode != TRunMode::Game) {
            throw std::invalid_argument("--replay goes with the game only");
        }
        line.ReplayFile = value(game.Replay);
    }
    CheckModeSwitches(line, screenshotOnly, deviceNamed);
    return line;
}

std::string CommandLineVersion() {
    return "zorbix " + std::string(GameVersion) + "\n";
}

std::string CommandLineHelp() {
    return R"(Usage: zorbix [--reference | --device reference|hardware] [--replay FILE]
       zorbix --screenshot FILE.png --state STATE [--view 0-3] [--seed N] [--play-ms MS]
              [--player perfect|losing] [--size PIXELS]
       zorbix --bench-frames N [--device reference|hardware] [--size PIXELS]

Without switches the game runs in its window. Beside a program whose directory holds
Sounds.dxw every file (Options.ini, HiScores.dat, Images/, the music) is read from and
written there; installed, the data lies in ../share/games/zorbix and the player's files in
$XDG_CONFIG_HOME/zorbix, $XDG_DATA_HOME/zorbix and $XDG_CACHE_HOME/zorbix. Every game
played is kept as a replay in Replays/ beside the program, or $XDG_DATA_HOME/zorbix/replays:
the games of the high-score table and the last one; zorbix-sim --verify FILE checks one.

  --reference            draw with the software reference device only, for machines whose
                         OpenGL is broken (so does the environment ZORBIX_DEVICE=reference)
  --device KIND          reference (the same as --reference) or hardware: OpenGL even where
                         it draws in software, which the game otherwise leaves for its own
                         software device (so does ZORBIX_DEVICE=hardware)
  --replay FILE          watch a kept game (the Game menu's Replays lists them) in the
                         window, then go on at the title; prints the score it came to
  --screenshot FILE.png  draw one frame without the window and save it as a PNG picture
    --state STATE        title, playing, gameover, interlude or paused
    --view 0-3           camera while playing: 0 top, 1 half side, 2 side, 3 corner
    --seed N             seed of the random generator, for the same balls every run
    --play-ms MS         play this many milliseconds before the picture is taken
    --player KIND        perfect (turns to every ball) or losing (never turns)
  --bench-frames N       draw N frames of a game in play without the window, then print
                         frames per second, draw calls and triangles
    --device KIND        reference (default) or hardware
  --size PIXELS          side of the square picture (default 600)
  --help                 this text
  --version              the game's version

The window toolkit's own switches (-platform NAME, -style NAME, ...) are accepted too.
)";
}
