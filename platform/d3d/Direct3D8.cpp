// The Direct3D object: answers the display mode and makes the hardware (OpenGL) or the
// reference (software) device after checking what is asked of it.
#include "platform/interfaces/D3D8.h"

#include "platform/d3d/opengl/OpenGLDevice.h"
#include "platform/d3d/reference/ReferenceDevice.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

constexpr UINT MaxBackBufferCount = 3;

bool IsBackBufferFormat(D3DFORMAT format) {
    return format == D3DFMT_UNKNOWN || format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
}

bool IsPresentationInterval(UINT interval) {
    return interval == D3DPRESENT_INTERVAL_DEFAULT || interval == D3DPRESENT_INTERVAL_ONE ||
           interval == D3DPRESENT_INTERVAL_IMMEDIATE;
}

// What both devices can honour: a windowed, discarded, single-sample back buffer in a 32-bit
// format, an optional 16-bit depth buffer, and no full-screen refresh rate.
bool ArePresentParametersValid(const D3DPRESENT_PARAMETERS& p) {
    return p.Windowed != 0 && IsBackBufferFormat(p.BackBufferFormat) &&
           p.BackBufferCount <= MaxBackBufferCount && p.MultiSampleType == 0 &&
           p.SwapEffect == D3DSWAPEFFECT_DISCARD &&
           (p.EnableAutoDepthStencil == 0 || p.AutoDepthStencilFormat == D3DFMT_D16) &&
           p.FullScreen_RefreshRateInHz == 0 &&
           IsPresentationInterval(p.FullScreen_PresentationInterval);
}

// The primary screen's refresh rate, 0 when there is no screen to ask.
double ScreenRefreshRate() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return screen != nullptr ? screen->refreshRate() : 0;
}

class TDirect3D8 final : public IDirect3D8 {
public:
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device) override;
};

HRESULT TDirect3D8::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || mode == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    // Without a screen (no application object, or a platform without one) the mode has no
    // size, but the format the devices draw in still holds.
    *mode = D3DDISPLAYMODE{0, 0, 0, D3DFMT_X8R8G8B8};
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (screen != nullptr) {
        const qreal ratio = screen->devicePixelRatio();
        mode->Width = static_cast<UINT>(std::lround(screen->size().width() * ratio));
        mode->Height = static_cast<UINT>(std::lround(screen->size().height() * ratio));
        mode->RefreshRate = static_cast<UINT>(std::lround(screen->refreshRate()));
    }
    return D3D_OK;
}

HRESULT TDirect3D8::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow,
                                 DWORD behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                                 IDirect3DDevice8** device) {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || parameters == nullptr ||
        (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF) ||
        (behaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) == 0 ||
        !ArePresentParametersValid(*parameters)) {
        return D3DERR_INVALIDCALL;
    }
    HWND window = parameters->hDeviceWindow != nullptr ? parameters->hDeviceWindow : focusWindow;
    const bool sized = parameters->BackBufferWidth != 0 && parameters->BackBufferHeight != 0;
    TPresentTiming timing;
    timing.RefreshRateHz = ScreenRefreshRate();
    if (type == D3DDEVTYPE_HAL) {
        // The hardware device draws for a window; there is no offscreen one.
        return window != nullptr ? CreateOpenGLDevice(*parameters, window, timing, device)
                                 : D3DERR_INVALIDCALL;
    }
    if (window == nullptr && !sized) {
        return D3DERR_INVALIDCALL;
    }
    return CreateReferenceDevice(*parameters, window, 0, timing, device);
}

} // namespace

IDirect3D8* Direct3DCreate8(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) {
        return nullptr;
    }
    return new TDirect3D8;
}
