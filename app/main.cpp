// The `zorbix` program: the game in its window, or one of the headless modes.

#include "app/CommandLine.h"
#include "app/FormMain.h"
#include "app/GameApplication.h"
#include "platform/system/ApplicationError.h"
#include "platform/system/GameFilePlaces.h"
#include "render/HeadlessModes.h"
#include "settings/AboutBox.h"
#include "settings/FormHighScores.h"

#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string_view>

namespace {
constexpr const char* ApplicationTitleText = "Zorbix Freeware";

bool DeviceAsked(std::string_view kind) {
    const char* device = std::getenv("ZORBIX_DEVICE");
    return device != nullptr && std::string_view(device) == kind;
}

// Without a display the window system's library would abort the program with its own text;
// the player is told in one line what is missing instead. A platform chosen by name (the
// offscreen one, say) needs no display.
bool DisplayAvailable() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

constexpr const char* NoDisplayText =
    "zorbix: no display to open a window on: run it in a desktop session (DISPLAY or "
    "WAYLAND_DISPLAY set), or choose a window platform with QT_QPA_PLATFORM\n";

int RunScreenshot(const TCommandLine& line) {
    TScreenshotRequest request;
    request.State = line.State;
    request.View = line.View;
    request.Seed = line.Seed.value_or(request.Seed);
    request.PlayMs = line.PlayMs;
    request.Player = line.Player;
    request.Pixels = line.Size;
    request.OutputFile = line.ScreenshotFile;
    const TGameFilePlaces places = GameFilePlaces();
    request.ProgramDirectory = places.DataDirectory;
    request.ConvertedPicturesDirectory = places.ConvertedPicturesDirectory;
    return RunScreenshotMode(request, std::cerr);
}

int RunBench(int argc, char* argv[], const TCommandLine& line) {
    TBenchRequest request;
    request.Frames = line.BenchFrames;
    request.Hardware = line.HardwareDevice;
    request.Pixels = line.Size;
    const TGameFilePlaces places = GameFilePlaces();
    request.ProgramDirectory = places.DataDirectory;
    request.ConvertedPicturesDirectory = places.ConvertedPicturesDirectory;
    if (!request.Hardware) {
        return RunBenchMode(request, std::cout, std::cerr);
    }
    // The hardware device draws into a window of its own.
    TGameApplication application(argc, argv);
    return RunBenchMode(request, std::cout, std::cerr);
}

int RunGame(int argc, char* argv[], const TCommandLine& line) {
    TGameApplication application(argc, argv);
    SetApplicationTitle(ApplicationTitleText);

    // The main window first, so it is the application's main window; then the about box
    // and the high-score dialog, which reads the table. Only the main window is shown.
    TFormMain FormMain;
    application.setWindowIcon(GameIcon());
    FormMain.setWindowIcon(GameIcon());
    if (line.ReferenceDevice) {
        FormMain.ForceReferenceDevice();
    } else if (line.HardwareDevice) {
        FormMain.AcceptSoftwareOpenGL();
    }
    TAboutBox AboutBox(&FormMain);
    TFormHighScores FormHighScores(&FormMain);
    FormMain.SetDialogs(&AboutBox, &FormHighScores);
    AboutBox.SetQuillonHandler([&FormMain] { FormMain.QuillonGameHomepage1Click(); });

    FormMain.show();
    if (FormMain.Terminated()) {
        return EXIT_FAILURE;
    }
    FormMain.StartMainLoop();
    return application.exec();
}
} // namespace

int main(int argc, char* argv[]) {
    TCommandLine line;
    try {
        line = ParseCommandLine({argv + 1, argv + argc});
    } catch (const std::invalid_argument& error) {
        std::cerr << "zorbix: " << error.what() << '\n';
        return 2;
    }
    line.ReferenceDevice = line.ReferenceDevice || DeviceAsked("reference");
    line.HardwareDevice =
        line.HardwareDevice || (line.Mode == TRunMode::Game && DeviceAsked("hardware"));
    switch (line.Mode) {
    case TRunMode::Help:
        std::cout << CommandLineHelp();
        return EXIT_SUCCESS;
    case TRunMode::Version:
        std::cout << CommandLineVersion();
        return EXIT_SUCCESS;
    case TRunMode::Screenshot:
        return RunScreenshot(line);
    case TRunMode::Bench:
        if (line.HardwareDevice && !DisplayAvailable()) {
            std::cerr << NoDisplayText;
            return EXIT_FAILURE;
        }
        return RunBench(argc, argv, line);
    case TRunMode::Game:
        break;
    }
    if (!DisplayAvailable()) {
        std::cerr << NoDisplayText;
        return EXIT_FAILURE;
    }
    return RunGame(argc, argv, line);
}
