#include "app/CommandLine.h"


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

class TArgumentReader {
public:
    explicit TArgumentReader(const std::vector<std::string>& arguments) : Arguments(arguments) {}
    bool AtEnd() const { return Next >= Arguments.size(); }
    std::string_view Take() { return Arguments[Next++]; }
    std::string_view TakeValue(std::string_view option) {
        if (AtEnd()) {
            throw std::invalid_argument(std::string(option) + " needs a value");
        }
        return Take();
    }

private:
    const std::vector<std::string>& Arguments;
    std::size_t Next = 0;
};

void CheckModeSwitches(const TCommandLine& line, bool screenshotOnly, bool benchOnly) {
    if (screenshotOnly && line.Mode != TRunMode::Screenshot) {
        throw std::invalid_argument(
            "--state, --view, --seed, --play-ms and --player go with --screenshot");
    }
    if (benchOnly && line.Mode != TRunMode::Bench) {
        throw std::invalid_argument("--device goes with --bench-frames");
    }
    if (line.Mode == TRunMode::Screenshot && line.ScreenshotFile.empty()) {
        throw std::invalid_argument("--screenshot needs a file name");
    }
}
} // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine line;
    bool screenshotOnly = false;
    bool benchOnly = false;
    const auto setMode = [&line](TRunMode mode) {
        if (line.Mode != TRunMode::Game && line.Mode != mode) {
            throw std::invalid_argument("--screenshot and --bench-frames cannot go together");
        }
        line.Mode = mode;
    };
    TArgumentReader reader(arguments);
    while (!reader.AtEnd()) {
        const std::string_view option = reader.Take();
        if (option == "--help" || option == "-h") {
            line.Mode = TRunMode::Help;
            return line;
        } else if (option == "--reference") {
            line.ReferenceDevice = true;
        } else if (option == "--screenshot") {
            setMode(TRunMode::Screenshot);
            line.ScreenshotFile = reader.TakeValue(option);
        } else if (option == "--state") {
            line.State = ReadState(reader.TakeValue(option));
            screenshotOnly = true;
        } else if (option == "--view") {
            line.View = static_cast<std::uint8_t>(ReadNumber(option, reader.TakeValue(option), 0, 3));
            screenshotOnly = true;
        } else if (option == "--seed") {
            line.Seed = ReadNumber(option, reader.TakeValue(option), 0, UINT32_MAX);
            screenshotOnly = true;
        } else if (option == "--play-ms") {
            line.PlayMs = ReadNumber(option, reader.TakeValue(option), 0, 24 * 3600 * 1000);
            screenshotOnly = true;
        } else if (option == "--player") {
            const std::string_view player = reader.TakeValue(option);
            if (!ParsePlayer(player, line.Player)) {
                throw std::invalid_argument("--player takes perfect or losing, not \"" +
                                            std::string(player) + "\"");
            }
            screenshotOnly = true;
        } else if (option == "--bench-frames") {
            setMode(TRunMode::Bench);
            line.BenchFrames = ReadNumber(option, reader.TakeValue(option), 1, 1000000);
        } else if (option == "--device") {
            const std::string_view device = reader.TakeValue(option);
            if (device != "reference" && device != "hardware") {
                throw std::invalid_argument("--device takes reference or hardware, not \"" +
                                            std::string(device) + "\"");
            }
            line.HardwareDevice = device == "hardware";
            benchOnly = true;
        } else if (option == "--size") {
            line.Size = ReadNumber(option, reader.TakeValue(option), MinSize, MaxSize);
        } else {
            throw std::invalid_argument("unknown switch \"" + std::string(option) +
                                        "\" (zorbix --help lists them)");
        }
    }
    CheckModeSwitches(line, screenshotOnly, benchOnly);
    return line;
}

std::string CommandLineHelp() {
    return R"(Usage: zorbix [--reference]
       zorbix --screenshot FILE.png --state STATE [--view 0-3] [--seed N] [--play-ms MS]
              [--player perfect|losing] [--size PIXELS]
       zorbix --bench-frames N [--device reference|hardware] [--size PIXELS]

Without switches the game runs in its window. Its files (Options.ini, HiScores.dat,
Sounds.dxw, Images/, the music) are read from and written beside the program.

  --reference            draw with the software reference device only, for machines whose
                         OpenGL is broken (so does the environment ZORBIX_DEVICE=reference)
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
)";
}
