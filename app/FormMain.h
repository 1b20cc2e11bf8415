#pragma once
// The main window: the menu, the loading display, the 3D device's window below the menu, and
// the game's state machine driven by the idle main loop. It is the game's outlet (score
// digits, sound effects, the high-score table) and the target of the music's notifications.
// One instance, created first by the main block; user-interface thread only.

#include "app/ApplicationEvents.h"
#include "app/MenuChecks.h"
#include "game/GameOutlet.h"
#include "game/ReplayPlayer.h"
#include "game/ReplayRecorder.h"
#include "platform/mci/MciNotifyTarget.h"

#include <QMainWindow>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QFrame;
class QLabel;
class QMenu;
class TAboutBox;
class TDeviceWidget;
class TFormHighScores;
class TGamepadInput;
class TSessionEndWatch;
struct TGamepadKey;

class TFormMain final : public QMainWindow, public IGameOutlet, public IMciNotifyTarget {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The dialogs the menu opens, made by the main block after this window.
    void SetDialogs(TAboutBox* aboutBox, TFormHighScores* highScores);
    // Skips the hardware device (no "Warning." message): for machines whose OpenGL is broken.
    void ForceReferenceDevice() { ReferenceDeviceOnly = true; }
    // Takes an OpenGL that rasterises in software as the hardware device, which by default
    // counts as no 3D hardware.
    void AcceptSoftwareOpenGL() { SoftwareOpenGLAccepted = true; }
    // Starts the idle calls of the main loop and opens the game controllers; the main block
    // calls it once the window shows.
    void StartMainLoop();
    // The game controllers, once the main loop has started; null before.
    TGamepadInput* Gamepads() const { return GamepadInput.get(); }
    // Start-up or loading failed and the program is to end; nothing more is drawn.
    bool Terminated() const { return TerminateRequested; }
    // Whether the main window has closed (FormClose ran).
    bool HasClosed() const { return Closed; }
    // Writes the settings without a word, for an end that leaves no window to close (the
    // display gone); does nothing once the window has closed.
    void SaveSettingsQuietly();
    // Watches the kept game in `path` in place of what is on the screen, then goes on at the
    // title; a file that cannot be watched is refused in a message box.
    void WatchReplay(const std::string& path);
    // The same, once loading has finished (`zorbix --replay FILE`); the score the replay came
    // to is printed when it ends.
    void WatchReplayOnceLoaded(const std::string& path) { PendingReplay = path; }
    bool WatchingReplay() const { return Watching.Playing(); }
    // The folder the kept games go to.
    static std::string ReplaysDirectory();
    // What ending the program does; by default it leaves the application's event loop.
    void SetTerminateHandler(std::function<void()> handler) { OnTerminate = std::move(handler); }

    // Window events.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormDeactivate();
    void FormKeyPress(char key);
    void FormKeyDown(std::uint16_t key);
    void FormClose();
    void FormResize();
    // F11: full screen on and off, with the menu kept.
    void ToggleFullScreen();
    // The main loop: one call per idle notification.
    void ApplicationEvents1Idle(bool& done);

    // Start-up and loading.
    void SetLoadProgress(int width);
    void LoadSounds();

    // Menu commands.
    void miStartNew1Click();
    void miPauseResumegame1Click();
    void miHighscores1Click();
    void miExit1Click();
    void Easy1Click(QAction* item);
    void Corner1Click(QAction* item);
    void Sound1Click();
    void Music1Click();
    void Homepage1Click();
    void QuillonGameHomepage1Click();
    void QuillonGame1Click();
    void About1Click();

    // IGameOutlet.
    void ShowScore(std::int32_t score) override;
    void PlaySoundEffect(std::string_view name) override;
    void AddScore(std::int32_t score) override;
    // IMciNotifyTarget: a music track ended or was interrupted.
    void MciNotify(std::uint32_t flags) override;

    bool RenderActive = false;
    std::uint32_t LastFrameTick = 0;
    // Frames drawn since start: the counter that tests and the frame rate read.
    std::uint64_t FramesDrawn = 0;
    // Idle calls delivered since start, for tests.
    std::uint64_t IdleCalls = 0;

    QMenuBar* MainMenu1 = nullptr;
    QAction* miStartNew1 = nullptr;
    QAction* miPauseResumegame1 = nullptr;
    QAction* miHighscores1 = nullptr;
    QMenu* miReplays1 = nullptr;
    QAction* miExit1 = nullptr;
    QAction* Easy1 = nullptr;
    QAction* Normal1 = nullptr;
    QAction* Top1 = nullptr;
    QAction* Halfside1 = nullptr;
    QAction* Side1 = nullptr;
    QAction* Corner1 = nullptr;
    QAction* Sound1 = nullptr;
    QAction* Music1 = nullptr;
    QAction* Homepage1 = nullptr;
    QAction* QuillonGameHomepage1 = nullptr;
    QAction* QuillonGame1 = nullptr;
    QAction* About1 = nullptr;

    QWidget* ClientArea = nullptr;
    TDeviceWidget* DeviceWindow = nullptr;
    QLabel* Label1 = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* ImageBar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMainMenu();
    void BuildClientArea();
    TOptionItems OptionItems() const;
    // The device: hardware first, with the reference device as fallback. False after the
    // fatal message.
    bool CreateDevice();
    // The loading sequence, run by the first idle call.
    void LoadGame();
    void RenderOneFrame(bool& done);
    // One frame that advances nothing, for a window that is seen but not active: its picture
    // after loading, and again after the window system has shown it anew.
    void DrawStillFrame();
    // The controllers' keys since the last pass go to the key handlers, as the keyboard's do,
    // but only while the window is the player's and no dialog of the game is open.
    void PollGamepads();
    void GamepadKeyDown(const TGamepadKey& key);
    // Shows an error in the general error box; the game stands still meanwhile and the time
    // the box was open does not reach it.
    void ReportError(const std::string& text);
    // Runs a handler of the window, reporting what it throws.
    void Guarded(const std::function<void()>& handler);
    void Terminate();
    void RetrySquareClient();
    // The session ends the program (a signal, the window destroyed by another client): open
    // dialogs end as cancelled, then the window closes as the player's close would, from the
    // main loop once the dialogs' own loops have returned.
    void EndSession();

    // Everything that reaches the game goes through here, so the game being played is
    // recorded. Only a key press can open the home page (Space on the interlude).
    void RunGameCommand(TGameCommand command, const std::function<void()>& openHomePage = {});
    // The game recorded so far, kept as the last game played (a new game, a replay, the end
    // of the program); `entered` is the date of its row in the table, if it entered one.
    void KeepRecordedGame(std::int32_t score, std::optional<double> entered);
    void KeepUnfinishedGame();
    void AdvanceWatching(std::uint32_t elapsedMs);
    // Back to the title with the player's settings as they were before the replay.
    void StopWatching();
    // Anything of the player's but the keys they watch with ends a replay first.
    void EndReplayForCommand();
    void FillReplaysMenu();

    TApplicationEvents ApplicationEvents1;
    TReplayRecorder Recorder;
    TReplayPlayer Watching;
    // The player's settings while a replay has its own.
    std::uint8_t DifficultyBeforeReplay = 0;
    std::uint8_t ViewBeforeReplay = 0;
    std::string WatchedFile;
    std::string PendingReplay;
    bool PrintWatchedScore = false;
    std::unique_ptr<TSessionEndWatch> SessionEnd;
    std::unique_ptr<TGamepadInput> GamepadInput;
    TAboutBox* AboutBox = nullptr;
    TFormHighScores* FormHighScores = nullptr;
    std::function<void()> OnTerminate;
    bool ReferenceDeviceOnly = false;
    bool SoftwareOpenGLAccepted = false;
    bool TerminateRequested = false;
    bool LoadingNow = false;
    // While set, key presses are dropped: those the player typed while loading ran.
    bool DroppingKeys = false;
    bool Closed = false;
    // The inactive window's picture is to be drawn (once loaded, and after an exposure).
    bool StillFrameWanted = false;
    int ErrorBoxesOpen = 0;
    // The square client area's repeated request (FormResize): ten seconds' worth at most.
    static constexpr int SquareRetries = 100;
    QTimer SquareRetry;
    int SquareRetriesLeft = 0;
};
