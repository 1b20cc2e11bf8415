// Device creation lives apart from the device globals: only the program and the tools that
// make a real device link the runtime's factory.
#include "render/Direct3D.h"

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
