#include "render/Direct3D.h"

TComRef<IDirect3D8> Direct3DObject;
TComRef<IDirect3DDevice8> Direct3DDevice;
TComRef<IDirect3DVertexBuffer8> SceneVertexBuffer;

namespace {
D3DLIGHT8 PointLight(float grey, D3DVECTOR position, float range, float attenuation1) {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = light.Specular = light.Ambient = D3DCOLORVALUE{grey, grey, grey, 0};
    light.Position = position;
    light.Range = range;
    light.Attenuation0 = 1;
    light.Attenuation1 = attenuation1;
    return light;
}
} // namespace

void ReleaseDirect3D() {
    Direct3DDevice.Reset();
    Direct3DObject.Reset();
}

void SetupSceneState() {
    IDirect3DDevice8* device = Direct3DDevice.Get();
    if (device == nullptr) {
        return;
    }
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_ZENABLE, true);
    device->SetRenderState(D3DRS_NORMALIZENORMALS, true);
    device->SetRenderState(D3DRS_LIGHTING, true);
    device->SetRenderState(D3DRS_AMBIENT, SceneAmbientLight);

    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);

    device->SetRenderState(D3DRS_ALPHABLENDENABLE, false);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

    const D3DLIGHT8 sceneLight = PointLight(0.41f, {0, 0, 0.2f}, 1.3f, 0);
    device->SetLight(SceneLight, &sceneLight);
    const D3DLIGHT8 ballLight = PointLight(0.4f, {0.6f, 0.6f, 1.0f}, 5, 0.2f);
    device->SetLight(BallLight, &ballLight);
    device->LightEnable(SceneLight, true);
    device->LightEnable(BallLight, false);
}
