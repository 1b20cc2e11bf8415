#include "app/FormMain.h"

#include "app/KeyCodes.h"
#include "core/Globals.h"
#include "game/Game.h"
#include "platform/files/TickCount.h"
#include "platform/input/GamepadInput.h"
#include "render/Direct3DErrors.h"
#include "render/FrameRenderer.h"
#include "render/SceneResources.h"

#include <QApplication>
#include <QWindow>

void TFormMain::ApplicationEvents1Idle(bool& done) {
    ++IdleCalls;
    // Loading, an error box and the end of the program hold the loop: their own message
    // loops must not start the loading again or advance a game that has just failed.
    if (LoadingNow || ErrorBoxesOpen > 0 || TerminateRequested || Closed) {
        return;
    }
    if (GameState == gsLoading) {
        // The loading display paints each step at once, so it must be on the screen first;
        // its exposure is an event, which brings the next call.
        if (windowHandle() != nullptr && windowHandle()->isExposed()) {
            LoadGame();
        }
        return;
    }
    // Nothing moves while the window is inactive or minimised: Done stays true, so the loop
    // sleeps until the next window message, and activation is one. A window that is seen all
    // the same (a compositor shows windows without the focus) still shows its picture.
    if (!RenderActive) {
        if (StillFrameWanted && windowHandle() != nullptr && windowHandle()->isExposed()) {
            StillFrameWanted = false;
            Guarded([this] { DrawStillFrame(); });
        }
        return;
    }
    Guarded([&] {
        PollGamepads();
        RenderOneFrame(done);
    });
}

void TFormMain::RenderOneFrame(bool& done) {
    if (!PendingReplay.empty() && GameState == gsTitle) {
        const std::string path = std::move(PendingReplay);
        PendingReplay.clear();
        WatchReplay(path);
        PrintWatchedScore = Watching.Playing();
    }
    const HRESULT code = RenderFrame();
    if (Failed(code)) {
        RenderActive = false;
        ReportDirect3DError("Render", code);
        return;
    }
    ++FramesDrawn;
    const std::uint32_t elapsed = GetTickCount() - LastFrameTick;
    LastFrameTick = GetTickCount();
    if (Watching.Playing()) {
        AdvanceWatching(elapsed);
    } else {
        RunGameCommand({TCommandKind::Frame, elapsed});
    }
    done = false;
}

void TFormMain::DrawStillFrame() {
    const HRESULT code = RenderFrame();
    if (Failed(code)) {
        RenderActive = false;
        ReportDirect3DError("Render", code);
    }
}

// Keys can come while the scene is loading, before the game exists.
void TFormMain::FormKeyPress(char key) {
    if (Game) {
        RunGameCommand({TCommandKind::Press, static_cast<std::uint8_t>(key)},
                       [this] { QuillonGameHomepage1Click(); });
    }
}

void TFormMain::FormKeyDown(std::uint16_t key) {
    if (Game) {
        RunGameCommand({TCommandKind::Key, key});
    }
}

void TFormMain::PollGamepads() {
    // The latest frame's timing is recent enough for the repeats, and a read of the tick
    // count of its own would upset the measured frame time.
    if (GamepadInput) {
        GamepadInput->Poll(LastFrameTick);
    }
}

void TFormMain::GamepadKeyDown(const TGamepadKey& key) {
    // A dialog's nested loop polls too, so that nothing pressed meanwhile piles up; those
    // keys are dropped, as a keyboard's would not reach this window either.
    if (!isActiveWindow() || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr) {
        return;
    }
    if (Watching.Playing()) {
        StopWatching();
        return;
    }
    // F2 is a menu shortcut: it acts as the command and reaches neither key handler.
    if (key.VirtualKey == VK_F2) {
        miStartNew1Click();
        return;
    }
    FormKeyDown(key.VirtualKey);
    if (key.Character) {
        FormKeyPress(*key.Character);
    }
}
