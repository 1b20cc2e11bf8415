#include "app/FormMain.h"

#include "app/KeyCodes.h"
#include "app/LoadBarPicture.h"
#include "audio/Music.h"
#include "audio/SoundEffects.h"
#include "core/Globals.h"
#include "game/Game.h"
#include "platform/d3d/DeviceWidget.h"
#include "platform/files/TickCount.h"
#include "platform/input/GamepadInput.h"
#include "platform/system/ApplicationError.h"
#include "platform/system/MessageBox.h"
#include "platform/system/SessionEnd.h"
#include "platform/system/WindowGeometry.h"
#include "render/Direct3D.h"
#include "render/Direct3DErrors.h"
#include "render/SceneResources.h"
#include "settings/Options.h"
#include "settings/ScoreTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QThread>
#include <QWindow>

#include <algorithm>

namespace {
// The client area below the menu is square; this is its designed side.
constexpr int DesignedClientSide = 600;
// The smallest side that still shows a picture a player can follow; the menu bar's own width
// counts too, so that it never folds.
constexpr int SmallestClientSide = 200;
constexpr int LoadBarHeight = 15;
constexpr int LoadBarStartWidth = 5;
constexpr int LoadingFontPixels = 32;
// How often, and for how long after the last resize, a refused square size is asked again.
constexpr int SquareRetryIntervalMs = 100;

QFont LoadingFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(LoadingFontPixels);
    font.setBold(true);
    // The label was made for a narrower face: a condensed cut keeps the text within it.
    font.setStretch(QFont::Condensed);
    return font;
}
} // namespace

TFormMain::TFormMain(QWidget* parent)
    : QMainWindow(parent),
      ApplicationEvents1([this](bool& done) { ApplicationEvents1Idle(done); }) {
    setWindowTitle(QString::fromStdString(ApplicationTitle()));
    setFocusPolicy(Qt::StrongFocus);
    BuildMainMenu();
    BuildClientArea();
    const int smallestSide = std::max(SmallestClientSide, MainMenu1->sizeHint().width());
    ClientArea->setMinimumSize(smallestSide, smallestSide);
    resize(DesignedClientSide, DesignedClientSide + MainMenu1->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    // Full screen is the player's choice for this run only: no menu item, nothing saved.
    connect(new QShortcut(QKeySequence(Qt::Key_F11), this), &QShortcut::activated, this,
            &TFormMain::ToggleFullScreen);
    SquareRetry.setInterval(SquareRetryIntervalMs);
    connect(&SquareRetry, &QTimer::timeout, this, &TFormMain::RetrySquareClient);
    connect(&ApplicationEvents1, &TApplicationEvents::ApplicationActivated, this,
            &TFormMain::FormActivate);
    connect(&ApplicationEvents1, &TApplicationEvents::ApplicationDeactivated, this,
            &TFormMain::FormDeactivate);
    SessionEnd = std::make_unique<TSessionEndWatch>([this] { EndSession(); });
    SetDirect3DErrorReporter([this](const std::string& caption, const std::string& text) {
        RenderActive = false;
        MessageBox(this, text, caption, MB_OK);
    });
    FormCreate();
}

TFormMain::~TFormMain() {
    ApplicationEvents1.Stop();
    SetDirect3DErrorReporter({});
    if (Game) {
        Game->SetOutlet(nullptr);
    }
    ReleaseSceneResources();
    ReleaseDirect3D();
    DestroySoundComponents();
}

void TFormMain::SetDialogs(TAboutBox* aboutBox, TFormHighScores* highScores) {
    AboutBox = aboutBox;
    FormHighScores = highScores;
}

void TFormMain::StartMainLoop() {
    if (!TerminateRequested) {
        ApplicationEvents1.Start();
        if (!GamepadInput) {
            GamepadInput = std::make_unique<TGamepadInput>(
                [this](const TGamepadKey& key) { GamepadKeyDown(key); });
        }
    }
}

void TFormMain::BuildClientArea() {
    ClientArea = new QWidget(this);
    setCentralWidget(ClientArea);
    ClientArea->installEventFilter(this);

    // Beneath the device's window: the scene covers the loading display once frames come.
    Label1 = new QLabel(QStringLiteral("Loading ... "), ClientArea);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setFont(LoadingFont());
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(213, 282, 173, 37);
    Bevel1 = new QFrame(ClientArea);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(217, 320, 162, 17);
    ImageBar = new QLabel(ClientArea);
    ImageBar->setTextFormat(Qt::PlainText);
    ImageBar->setPixmap(QPixmap::fromImage(MakeLoadBarPicture()));
    ImageBar->setScaledContents(true);
    ImageBar->setGeometry(218, 321, LoadBarStartWidth, LoadBarHeight);

    // Hidden until loading completes: a hardware surface would cover the loading display.
    DeviceWindow = new TDeviceWidget(ClientArea);
    DeviceWindow->hide();
}

void TFormMain::FormCreate() {
    SavedState = gsTitle;
    GameState = gsLoading;
}

void TFormMain::FormActivate() {
    LastFrameTick = GetTickCount();
    RenderActive = true;
}

void TFormMain::FormDeactivate() {
    RenderActive = false;
}

void TFormMain::FormClose() {
    ApplicationEvents1.Stop();
    EndReplayForCommand();
    if (Options && Game) {
        KeepUnfinishedGame();
    }
    if (Options) {
        // A settings file that cannot be written is reported; the program still ends.
        RunReportingErrors([] { Options->SaveOptions(); });
    }
    AppClosing = true;
    if (Game) {
        Game->SetOutlet(nullptr);
    }
    ReleaseSceneResources();
    ReleaseDirect3D();
    Closed = true;
}

void TFormMain::SaveSettingsQuietly() {
    if (Closed || !Options) {
        return;
    }
    EndReplayForCommand();
    try {
        Options->SaveOptions();
    } catch (const std::exception&) {
        // Nothing is left to tell the player with.
    }
}

void TFormMain::EndSession() {
    if (Closed) {
        return;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog->isVisible()) {
            dialog->reject();
        }
    }
    if (thread()->loopLevel() > 1) {
        QTimer::singleShot(0, this, &TFormMain::EndSession);
        return;
    }
    close();
}

void TFormMain::FormResize() {
    const int clientHeight = ClientArea->height();
    const int clientWidth = ClientArea->width();
    // A size the window manager or compositor imposes (full screen, maximised) is taken as it
    // comes, and the device's window centres the largest square in it: a correction would
    // fight the compositor, which may end the program for it (Wayland's rule for maximised
    // windows).
    const bool sizeImposed = (windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized)) != 0;
    if (sizeImposed || clientWidth == clientHeight) {
        SquareRetry.stop();
        return;
    }
    RequestClientSize(this, QSize(width() - clientWidth + clientHeight, height()));
    // While the player still drags the frame the window manager may refuse the request, and
    // it sends nothing when the drag ends: the request is repeated until it holds or the
    // window manager has plainly refused it for good.
    if (!SquareRetry.isActive()) {
        SquareRetry.start();
    }
}

void TFormMain::RetrySquareClient() {
    if (--SquareRetriesLeft <= 0) {
        SquareRetry.stop();
        return;
    }
    FormResize();
}

void TFormMain::ToggleFullScreen() {
    // Leaving full screen gives back the state before it, maximised included.
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (windowHandle() != nullptr) {
        windowHandle()->installEventFilter(this);
    }
    if (!event->spontaneous()) {
        SetWindowFillColour(this, palette().color(QPalette::Window));
        SessionEnd->WatchWindow(this);
        // Without a window manager nothing else would activate the window, and an inactive
        // window neither loads nor draws.
        activateWindow();
        FormShow();
    }
}

void TFormMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        FormActivate();
    } else if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        FormDeactivate();
    }
}

void TFormMain::keyPressEvent(QKeyEvent* event) {
    event->accept();
    // Before loading has finished, and after the window has closed, keys have no effect.
    if (DroppingKeys || Closed || GameState == gsLoading) {
        return;
    }
    // Watching a replay, any key ends it; the key does nothing more.
    if (Watching.Playing()) {
        StopWatching();
        return;
    }
    const std::uint16_t key = VirtualKeyCode(event->key());
    const std::optional<char> character = KeyPressCharacter(*event);
    Guarded([&] {
        FormKeyDown(key);
        if (character) {
            FormKeyPress(*character);
        }
    });
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!Closed) {
        FormClose();
    }
    event->accept();
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    SquareRetriesLeft = SquareRetries;
    FormResize();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose) {
        StillFrameWanted = true;
    }
    if (watched == ClientArea && event->type() == QEvent::Resize) {
        // The picture is the largest centred square; a full screen shows black beside it.
        const int side = std::min(ClientArea->width(), ClientArea->height());
        DeviceWindow->setGeometry((ClientArea->width() - side) / 2,
                                  (ClientArea->height() - side) / 2, side, side);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::ShowScore(std::int32_t score) {
    ShowScoreOnDigits(score);
}

void TFormMain::PlaySoundEffect(std::string_view name) {
    ::PlaySoundEffect(name);
}

void TFormMain::AddScore(std::int32_t score) {
    // A replay's game is watched, not played: its score is no one's entry.
    if (Watching.Playing()) {
        return;
    }
    const std::optional<double> entered = ScoreTable->AddScore(score);
    KeepRecordedGame(score, entered);
}

void TFormMain::ReportError(const std::string& text) {
    ++ErrorBoxesOpen;
    ShowApplicationError(text);
    --ErrorBoxesOpen;
    LastFrameTick = GetTickCount();
}

void TFormMain::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ReportError(error.what());
    }
}

void TFormMain::Terminate() {
    TerminateRequested = true;
    ApplicationEvents1.Stop();
    if (OnTerminate) {
        OnTerminate();
    } else {
        QCoreApplication::exit(EXIT_FAILURE);
    }
}

void TFormMain::MciNotify(std::uint32_t) {
    ::MciNotify(this);
}
