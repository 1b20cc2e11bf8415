#include "render/HeadlessScene.h"

#include "core/GameError.h"
#include "game/Game.h"
#include "render/Direct3D.h"
#include "render/Direct3DErrors.h"
#include "render/JpegConversion.h"
#include "render/SceneGeometry.h"
#include "render/SceneResources.h"
#include "settings/Options.h"

#include <memory>

THeadlessScene::THeadlessScene(const std::string& programDirectory,
                               const std::string& convertedPicturesDirectory) {
    const std::string converted = convertedPicturesDirectory.empty() ? programDirectory + "Images/"
                                                                     : convertedPicturesDirectory;
    try {
        if (!Direct3DDevice) {
            throw EGameError(Direct3DErrorText(E_FAIL));
        }
        ConvertPictures(programDirectory, converted);
        SetupSceneState();
        const HRESULT code = BuildSceneGeometry();
        if (Failed(code)) {
            throw EGameError(Direct3DErrorText(code));
        }
        LoadSceneResources(nullptr, programDirectory, converted);
        if (!Options) {
            Options = std::make_unique<TOptions>();
        }
        Game->SetOutlet(&Outlet);
    } catch (...) {
        ReleaseHeadlessScene();
        throw;
    }
}

THeadlessScene::~THeadlessScene() {
    ReleaseHeadlessScene();
}

void ReleaseHeadlessScene() {
    ReleaseSceneResources();
    ReleaseDirect3D();
}
