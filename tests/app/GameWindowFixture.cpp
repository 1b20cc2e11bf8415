#include "tests/app/GameWindowFixture.h"

#include "core/Globals.h"
#include "game/Game.h"
#include "platform/files/ProgramDirectory.h"
#include "platform/files/TickCount.h"
#include "platform/system/ApplicationError.h"
#include "platform/system/ShellOpen.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "settings/ScoreTable.h"
#include "tests/app/EventLoop.h"

#include <QTest>
#include <QWindow>

#include <filesystem>

namespace {
// Everything the game loads, as the build made it: a game run from the build's own program
// directory may already have converted the JPEG pictures there, so those bitmaps are left
// behind and every test starts as a first run does.
void CopyProgramFiles(const std::filesystem::path& to) {
    const std::filesystem::path from = ZORBIX_PROGRAM_DIR;
    std::filesystem::copy(from / "Images", to / "Images", std::filesystem::copy_options::recursive);
    for (const char* converted : {"nag.bmp", "logo.bmp", "gameover.bmp", "fone.bmp", "field.bmp"}) {
        std::filesystem::remove(to / "Images" / converted);
    }
    std::filesystem::copy_file(from / "Sounds.dxw", to / "Sounds.dxw");
}
} // namespace

void GameWindowTest::SetUp() {
    CopyProgramFiles(ProgramFiles.Path);
    SetProgramDirectory(ProgramFiles.Path.string() + "/");
    SetApplicationTitle("Zorbix Freeware");
    SetMessageBoxHook([this](const TMessageBoxCall& call) {
        Boxes.push_back(call);
        return BoxAnswer;
    });
    SetAddressOpener([this](const std::string& address) { OpenedAddresses.push_back(address); });
    SetTickCountSource([this] {
        const std::uint32_t now = Clock;
        Clock += ClockStep;
        return now;
    });
    GameState = gsLoading;
    SavedState = gsTitle;
    FrameDeltaMs = 0;
    AppClosing = false;
}

void GameWindowTest::TearDown() {
    FormHighScores.reset();
    AboutBox.reset();
    FormMain.reset();
    Options.reset();
    ScoreTable.reset();
    SetTickCountSource({});
    SetAddressOpener({});
    SetMessageBoxHook({});
    SetProgramDirectory({});
}

void GameWindowTest::StartProgram(EDevice device) {
    FormMain = std::make_unique<TFormMain>();
    if (device == EDevice::Reference) {
        FormMain->ForceReferenceDevice();
    } else if (device == EDevice::SoftwareOpenGLAccepted) {
        FormMain->AcceptSoftwareOpenGL();
    }
    FormMain->SetTerminateHandler([] {});
    AboutBox = std::make_unique<TAboutBox>(FormMain.get());
    FormHighScores = std::make_unique<TFormHighScores>(FormMain.get());
    FormMain->SetDialogs(AboutBox.get(), FormHighScores.get());
    AboutBox->SetQuillonHandler([this] { FormMain->QuillonGameHomepage1Click(); });
    FormMain->show();
    FormMain->StartMainLoop();
}

void GameWindowTest::StartAtTitle() {
    StartProgram();
    ASSERT_TRUE(RunEventLoopUntil([] { return GameState == gsTitle; }));
    FormMain->activateWindow();
    ASSERT_TRUE(RunEventLoopUntil([this] { return FormMain->FramesDrawn > 0; }));
}

void GameWindowTest::EndProgram() {
    FormMain->close();
    FormHighScores.reset();
    AboutBox.reset();
    FormMain.reset();
    Options.reset();
    ScoreTable.reset();
}

void GameWindowTest::Press(Qt::Key key) {
    QTest::keyClick(FormMain->windowHandle(), key);
}

void GameWindowTest::RunFrames(int count) {
    const std::uint64_t until = FormMain->FramesDrawn + static_cast<std::uint64_t>(count);
    ASSERT_TRUE(RunEventLoopUntil([&] { return FormMain->FramesDrawn >= until; }));
}

void GameWindowTest::StartPlaying() {
    Press(Qt::Key_A);
    ASSERT_EQ(GameState, gsPlaying);
    ClockStep = 50;
    ASSERT_TRUE(RunEventLoopUntil([] { return Game->BallCount > 0; }));
}
