#pragma once
// The game as the main block builds it (main window, about box, high-score dialog) on the
// reference device, with its files in a directory of the test's own. Message boxes are
// answered by the test and recorded, addresses are recorded instead of opened, and the tick
// count is the test's: it advances by ClockStep every time the game reads it.

#include "app/FormMain.h"
#include "platform/system/MessageBox.h"
#include "settings/dialogs/AboutBox.h"
#include "settings/dialogs/FormHighScores.h"
#include "tests/profile/TempDirectory.h"

#include <gtest/gtest.h>

#include <Qt>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GameWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Which device the program is told to use.
    enum class EDevice { Reference, Chosen, SoftwareOpenGLAccepted };
    // Creates and shows the windows and starts the main loop, as the main block does.
    void StartProgram(EDevice device = EDevice::Reference);
    // Starts the program and runs until the title picture shows and frames are drawn.
    void StartAtTitle();
    // Closes the main window and drops the windows, as the end of the program does.
    void EndProgram();

    // A key pressed and released in the main window, through the window system's path, so
    // menu shortcuts act as they would for the player.
    void Press(Qt::Key key);
    // Runs the main loop until `count` more frames are drawn.
    void RunFrames(int count);
    // Starts a game from the title and runs until a ball is on its lane.
    void StartPlaying();

    const TMessageBoxCall* LastBox() const { return Boxes.empty() ? nullptr : &Boxes.back(); }

    TTempDirectory ProgramFiles;
    std::unique_ptr<TFormMain> FormMain;
    std::unique_ptr<TAboutBox> AboutBox;
    std::unique_ptr<TFormHighScores> FormHighScores;

    std::vector<TMessageBoxCall> Boxes;
    int BoxAnswer = IDOK;
    std::vector<std::string> OpenedAddresses;
    std::uint32_t Clock = 1000;
    std::uint32_t ClockStep = 8;
};
