#include "render/SceneResources.h"

#include "game/Game.h"
#include "game/GameResources.h"
#include "render/Direct3D.h"
#include "render/JpegConversion.h"
#include "render/ScenePlacements.h"
#include "render/Textures.h"

#include <array>

TComRef<IDirect3DTexture8> TitleTexture;
TComRef<IDirect3DTexture8> GameOverTexture;
TComRef<IDirect3DTexture8> InterludeTexture;
TComRef<IDirect3DTexture8> PauseTexture;
TComRef<IDirect3DTexture8> FieldTexture;
TComRef<IDirect3DTexture8> FrameTexture;

std::unique_ptr<TBackPlane> BackPlane;
std::unique_ptr<TNumbers> Numbers;

namespace {
constexpr float DrumSpinSpeed = -0.0004f;

struct TPicture {
    TComRef<IDirect3DTexture8>& Texture;
    const char* Name;
    int Progress;
};

void LoadAll(const TLoadProgress& progress, const std::string& images,
             const std::string& converted) {
    const std::array<TPicture, 6> pictures{{
        {TitleTexture, "logo.bmp", 50},
        {GameOverTexture, "gameover.bmp", 90},
        {InterludeTexture, "nag.bmp", 130},
        {PauseTexture, "pause.bmp", 130},
        {FieldTexture, "field.bmp", 140},
        {FrameTexture, "frame.bmp", 145},
    }};
    for (const TPicture& picture : pictures) {
        const std::string& folder = IsConvertedPicture(picture.Name) ? converted : images;
        picture.Texture = LoadTextureFromBitmap(Direct3DDevice.Get(), folder + picture.Name);
        if (progress) {
            progress(picture.Progress);
        }
    }
    for (std::uint8_t n = 0; n < BallLookCount; ++n) {
        BallTextures[n] = LoadTextureFromBitmap(Direct3DDevice.Get(),
                                                images + "sphere" + std::to_string(n) + ".bmp");
    }
    InitScenePlacements();
    BackPlane = std::make_unique<TBackPlane>(Direct3DDevice, DrumSpinSpeed, converted + "fone.bmp");
    Game = std::make_unique<TGame>(Direct3DDevice);
    Numbers = std::make_unique<TNumbers>(Direct3DDevice, images);
}

void ReleaseLoaded() {
    Numbers.reset();
    Game.reset();
    BackPlane.reset();
    for (auto& texture : BallTextures) {
        texture.Reset();
    }
    for (auto* texture : {&TitleTexture, &GameOverTexture, &InterludeTexture, &PauseTexture,
                          &FieldTexture, &FrameTexture}) {
        texture->Reset();
    }
}
} // namespace

void LoadSceneResources(const TLoadProgress& progress, const std::string& programDirectory) {
    LoadSceneResources(progress, programDirectory, programDirectory + "Images/");
}

void LoadSceneResources(const TLoadProgress& progress, const std::string& dataDirectory,
                        const std::string& convertedPicturesDirectory) {
    try {
        LoadAll(progress, dataDirectory + "Images/", convertedPicturesDirectory);
    } catch (...) {
        ReleaseLoaded();
        throw;
    }
}

void ReleaseSceneResources() {
    ReleaseLoaded();
    SceneVertexBuffer.Reset();
}

void ShowScoreOnDigits(std::int32_t score) {
    if (Numbers) {
        Numbers->ShowScore(score);
    }
}
