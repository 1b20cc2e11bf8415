#include "render/FrameRenderer.h"

#include "core/Globals.h"
#include "game/Game.h"
#include "game/GameResources.h"
#include "math/Math3D.h"
#include "render/Camera.h"
#include "render/Direct3D.h"
#include "render/SceneGeometry.h"
#include "render/ScenePlacements.h"
#include "render/SceneResources.h"
#include "settings/Options.h"

#include <algorithm>

HRESULT RenderFrame() {
    if (GameState == gsLoading) {
        return D3D_OK;
    }
    if (!Direct3DDevice) {
        return E_FAIL;
    }
    HRESULT code = Direct3DDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
                                         SceneClearColor, 1.0f, 0);
    if (Failed(code)) {
        return code;
    }
    code = Direct3DDevice->BeginScene();
    if (Failed(code)) {
        return code;
    }
    SetupCamera();
    switch (GameState) {
    case gsTitle:
    case gsGameOver:
    case gsInterlude:
        DrawStatePicture();
        break;
    case gsPaused:
        DrawGameScene();
        DrawPausePicture();
        break;
    case gsPlaying:
        DrawGameScene();
        break;
    default:
        break;
    }
    code = Direct3DDevice->EndScene();
    if (Failed(code)) {
        return code;
    }
    return Direct3DDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

void DrawStatePicture() {
    IDirect3DTexture8* picture = GameState == gsTitle      ? TitleTexture.Get()
                                 : GameState == gsGameOver ? GameOverTexture.Get()
                                                           : InterludeTexture.Get();
    Direct3DDevice->SetTexture(0, picture);
    Direct3DDevice->SetMaterial(&BallMaterial);
    DrawMesh(PictureQuad);
    Direct3DDevice->SetTexture(0, nullptr);
}

void DrawPausePicture() {
    Direct3DDevice->SetTransform(D3DTS_WORLD, &IdentityMatrix);
    Direct3DDevice->SetTexture(0, PauseTexture.Get());
    Direct3DDevice->SetMaterial(&BallMaterial);
    DrawMesh(PauseQuad);
    Direct3DDevice->SetTexture(0, nullptr);
}

void DrawGameScene() {
    IDirect3DDevice8* device = Direct3DDevice.Get();
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    BackPlane->Draw(BackgroundMesh, static_cast<float>(FrameDeltaMs));
    device->SetTransform(D3DTS_WORLD, &IdentityMatrix);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);

    device->SetMaterial(&BallMaterial);
    device->SetTexture(0, FieldTexture.Get());
    DrawMesh(FieldMesh);
    device->SetTexture(0, FrameTexture.Get());
    DrawMesh(FrameMesh);
    device->SetTransform(D3DTS_WORLD, &PitFrameMatrix);
    DrawMesh(FrameMesh);
    device->SetTransform(D3DTS_WORLD, &IdentityMatrix);
    device->SetTexture(0, nullptr);

    DrawBallsAndSlot();
    Numbers->Draw(DigitQuad);

    for (int k = 0; k < LanePanelCount; ++k) {
        device->SetMaterial(&LanePanelMaterials[k]);
        device->SetTransform(D3DTS_WORLD, &LanePanelMatrices[k]);
        DrawMesh(LanePanelMesh);
    }
    device->SetMaterial(&SlotMaterial);
    const int lives = std::min<int>(Options->Lives, MaxLives);
    for (int n = 1; n <= lives; ++n) {
        device->SetTransform(D3DTS_WORLD, &LifeMatrices[n - 1]);
        DrawMesh(SlotMesh);
    }
}

void DrawBallsAndSlot() {
    IDirect3DDevice8* device = Direct3DDevice.Get();
    device->SetRenderState(D3DRS_AMBIENT, 0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE2X);
    device->LightEnable(SceneLight, false);
    device->LightEnable(BallLight, true);
    device->SetMaterial(&BallMaterial);
    for (std::int32_t i = 0; i < Game->BallCount; ++i) {
        const TObjMatrix& ball = Game->Balls[i].Obj;
        device->SetTexture(0, ball.Texture.Get());
        device->SetTransform(D3DTS_WORLD, &ball.Matrix);
        DrawMesh(BallMesh);
    }
    device->SetRenderState(D3DRS_AMBIENT, SceneAmbientLight);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->LightEnable(SceneLight, true);
    device->LightEnable(BallLight, false);

    // Unbound even when the slot is hidden, so no later untextured draw wears a ball's look.
    device->SetTexture(0, nullptr);
    if (Game->SlotState != ssReplacing) {
        device->SetMaterial(&SlotMaterial);
        device->SetTransform(D3DTS_WORLD, &Game->Slot.Obj.Matrix);
        DrawMesh(SlotMesh);
    }
}
