#include "app/FormMain.h"

#include "audio/Music.h"
#include "audio/SoundEffects.h"
#include "core/GameError.h"
#include "core/Globals.h"
#include "core/Random.h"
#include "game/Game.h"
#include "platform/d3d/DeviceWidget.h"
#include "platform/files/GameFilePlaces.h"
#include "platform/system/ApplicationError.h"
#include "platform/system/MessageBox.h"
#include "render/Direct3D.h"
#include "render/Direct3DErrors.h"
#include "render/JpegConversion.h"
#include "render/SceneGeometry.h"
#include "render/SceneResources.h"
#include "settings/Options.h"

#include <QCoreApplication>
#include <QLabel>

namespace {
constexpr const char* HardwareWarning =
    "Error initializing 3D Hardware.\nNow software will be used...";
constexpr const char* NoDeviceError =
    "Could not initialize DirectX Graphics.\nYou must have installed DirectX 8 or better ";
} // namespace

void TFormMain::FormShow() {
    if (GameState != gsLoading) {
        return;
    }
    // A picture that cannot be converted is reported once and the program ends before any
    // device exists.
    if (!RunReportingErrors([] {
            const TGameFilePlaces places = GameFilePlaces();
            ConvertPictures(places.DataDirectory, places.ConvertedPicturesDirectory);
        })) {
        Terminate();
        return;
    }
    Options = std::make_unique<TOptions>();
    Options->LoadOptions();
    ApplyMenuChecks(*Options, OptionItems());
    ReleaseDirect3D();
    setWindowTitle(QString::fromStdString(ApplicationTitle()));
    if (!CreateDevice()) {
        Terminate();
        return;
    }
    Randomize();
    SetupSceneState();
}

bool TFormMain::CreateDevice() {
    if (!ReferenceDeviceOnly) {
        if (InitDirect3D(DeviceWindow, true) &&
            (SoftwareOpenGLAccepted || DeviceRasterizesInHardware())) {
            return true;
        }
        MessageBox(nullptr, HardwareWarning, "Warning.", MB_OK | MB_ICONWARNING);
        ReleaseDirect3D();
    }
    if (InitDirect3D(DeviceWindow, false)) {
        return true;
    }
    MessageBox(nullptr, NoDeviceError, "Error", MB_OK | MB_ICONERROR);
    return false;
}

void TFormMain::LoadGame() {
    LoadingNow = true;
    const bool loaded = RunReportingErrors([this] {
        const HRESULT geometry = BuildSceneGeometry();
        if (Failed(geometry)) {
            throw EGameError(Direct3DErrorText(geometry));
        }
        SetLoadProgress(15);
        const TGameFilePlaces places = GameFilePlaces();
        LoadSceneResources([this](int width) { SetLoadProgress(width); }, places.DataDirectory,
                           places.ConvertedPicturesDirectory);
        Game->SetOutlet(this);
        SetLoadProgress(150);
        LoadSounds();
        InitMusicTracks();
        StartMusic(this);
        SetLoadProgress(160);
    });
    if (loaded) {
        // Keys typed while loading ran wait in the queue; they must not start a game on the
        // title (loading ignores keys), so they are taken out of it here. A close that waited
        // there too is carried out, and then there is nothing left to show.
        DroppingKeys = true;
        QCoreApplication::processEvents();
        DroppingKeys = false;
    }
    LoadingNow = false;
    if (Closed) {
        return;
    }
    if (!loaded) {
        // Reported once; a second try would fail the same way, so the program ends here with
        // nothing half loaded on the screen.
        Terminate();
        return;
    }
    GameState = gsTitle;
    // The title is drawn before the device's window shows, so that no empty frame comes
    // between the loading display and the title, whether or not the window is active.
    DrawStillFrame();
    StillFrameWanted = true;
    DeviceWindow->show();
    DeviceWindow->raise();
    // Beside the square picture of a full screen, where the loading display no longer shows.
    QPalette black = ClientArea->palette();
    black.setColor(QPalette::Window, Qt::black);
    ClientArea->setPalette(black);
    ClientArea->setAutoFillBackground(true);
}

void TFormMain::SetLoadProgress(int width) {
    ImageBar->resize(width, ImageBar->height());
    repaint();
}

void TFormMain::LoadSounds() {
    CreateSoundComponents(DeviceWindow);
    LoadSoundEffects(GameFilePlaces().DataDirectory);
}
