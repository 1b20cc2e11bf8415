// The `zorbix` program: the game in its window, or one of the headless modes.

#include "app/CommandLine.h"
#include "app/FormMain.h"
#include "app/GameApplication.h"
#include "app/HeadlessModes.h"
#include "platform/files/GameFilePlaces.h"
#include "platform/system/ApplicationError.h"
#include "platform/system/DisplayConnection.h"
#include "settings/dialogs/AboutBox.h"
#include "settings/dialogs/FormHighScores.h"

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
// the player is told in one line what is missing instead. Where only one of the two window
// systems answers, the toolkit is pointed at that one.
bool DisplayReady() {
    const TDisplayCheck check = CheckDisplay();
    if (!check.Problem.empty()) {
        std::cerr << check.Problem << '\n';
        return false;
    }
    if (!check.Platform.empty()) {
        setenv("QT_QPA_PLATFORM", check.Platform.c_str(), 1);
    }
    return true;
}

// The window system's library ends the program with exit(1) when the display's connection
// breaks; the player's settings are written on that path as at a close.
TFormMain* RunningWindow = nullptr;

void SaveSettingsOfRunningWindow() {
    if (RunningWindow != nullptr) {
        RunningWindow->SaveSettingsQuietly();
    }
}

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
    if (!line.ReplayFile.empty()) {
        FormMain.WatchReplayOnceLoaded(line.ReplayFile);
    }

    FormMain.show();
    if (FormMain.Terminated()) {
        return EXIT_FAILURE;
    }
    FormMain.StartMainLoop();
    RunningWindow = &FormMain;
    std::atexit(SaveSettingsOfRunningWindow);
    const int status = application.exec();
    RunningWindow = nullptr;
    return status;
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
        if (line.HardwareDevice && !DisplayReady()) {
            return EXIT_FAILURE;
        }
        return RunBench(argc, argv, line);
    case TRunMode::Game:
        break;
    }
    if (!DisplayReady()) {
        return EXIT_FAILURE;
    }
    return RunGame(argc, argv, line);
}
