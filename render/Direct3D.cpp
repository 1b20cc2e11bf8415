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

bool InitDirect3D(HWND window, bool hardware) {
    TDeviceRequest request;
    request.Window = window;
    request.Hardware = hardware;
    return InitDirect3D(request);
}

bool InitDirect3D(const TDeviceRequest& request) {
    Direct3DObject = TComRef<IDirect3D8>::Attach(Direct3DCreate8(D3D_SDK_VERSION));
    if (!Direct3DObject) {
        return false;
    }
    D3DDISPLAYMODE mode{};
    if (Failed(Direct3DObject->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) {
        return false;
    }
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = true;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = request.Window;
    parameters.EnableAutoDepthStencil = true;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.BackBufferFormat = mode.Format;
    parameters.BackBufferWidth = request.Width;
    parameters.BackBufferHeight = request.Height;
    parameters.FullScreen_PresentationInterval = request.PresentationInterval;
    const D3DDEVTYPE type = request.Hardware ? D3DDEVTYPE_HAL : D3DDEVTYPE_REF;
    return Succeeded(Direct3DObject->CreateDevice(D3DADAPTER_DEFAULT, type, request.Window,
                                                  D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters,
                                                  Direct3DDevice.Put()));
}

bool DeviceRasterizesInHardware() {
    D3DCAPS8 caps{};
    return Direct3DDevice && Succeeded(Direct3DDevice->GetDeviceCaps(&caps)) &&
           (caps.DevCaps & D3DDEVCAPS_HWRASTERIZATION) != 0;
}

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
