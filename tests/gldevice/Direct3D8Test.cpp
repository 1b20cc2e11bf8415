// The Direct3D object: the version it serves, the display mode, and which devices it makes
// for which arguments.
#include "tests/gldevice/GLTestKit.h"

#include <gtest/gtest.h>

namespace {

TComRef<IDirect3D8> MakeDirect3D() {
    return TComRef<IDirect3D8>::Attach(Direct3DCreate8(D3D_SDK_VERSION));
}

D3DPRESENT_PARAMETERS OffscreenParameters() {
    D3DPRESENT_PARAMETERS params = GameParameters(nullptr);
    params.BackBufferWidth = 32;
    params.BackBufferHeight = 16;
    return params;
}

HRESULT Create(D3DDEVTYPE type, D3DPRESENT_PARAMETERS params,
               DWORD flags = D3DCREATE_SOFTWARE_VERTEXPROCESSING, UINT adapter = 0) {
    TComRef<IDirect3DDevice8> device;
    const HRESULT result = MakeDirect3D()->CreateDevice(adapter, type, params.hDeviceWindow, flags,
                                                        &params, device.Put());
    EXPECT_EQ(Succeeded(result), static_cast<bool>(device));
    return result;
}

} // namespace

// Guards the entry point: only the version the game names is served.
TEST(Direct3D8, ServesOnlyItsSdkVersion) {
    EXPECT_TRUE(MakeDirect3D());
    EXPECT_EQ(Direct3DCreate8(D3D_SDK_VERSION + 1), nullptr);
}

// Guards the display mode the game takes its back-buffer format from; it must answer with or
// without a screen.
TEST(Direct3D8, DisplayModeIsThe32BitScreenMode) {
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(MakeDirect3D()->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    if (HasOpenGLDisplay()) {
        EXPECT_GT(mode.Width, 0u);
        EXPECT_GT(mode.Height, 0u);
    }
    EXPECT_EQ(MakeDirect3D()->GetAdapterDisplayMode(1, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(MakeDirect3D()->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, nullptr),
              D3DERR_INVALIDCALL);
}

// Guards the argument checks shared by both devices: each wrong field is refused with
// INVALIDCALL and no device.
TEST(Direct3D8, CreateDeviceRefusesWhatNoDeviceCanHonour) {
    const D3DPRESENT_PARAMETERS good = OffscreenParameters();
    EXPECT_EQ(Create(D3DDEVTYPE_REF, good), D3D_OK);
    EXPECT_EQ(Create(D3DDEVTYPE_REF, good, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(D3DDEVTYPE_REF, good, D3DCREATE_SOFTWARE_VERTEXPROCESSING, 1),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(static_cast<D3DDEVTYPE>(3), good), D3DERR_INVALIDCALL);

    const auto refusedWith = [&](auto change) {
        D3DPRESENT_PARAMETERS params = good;
        change(params);
        return Create(D3DDEVTYPE_REF, params);
    };
    EXPECT_EQ(refusedWith([](auto& p) { p.Windowed = 0; }), D3DERR_INVALIDCALL);
    EXPECT_EQ(refusedWith([](auto& p) { p.BackBufferFormat = D3DFMT_R5G6B5; }), D3DERR_INVALIDCALL);
    EXPECT_EQ(refusedWith([](auto& p) { p.MultiSampleType = 2; }), D3DERR_INVALIDCALL);
    EXPECT_EQ(refusedWith([](auto& p) { p.SwapEffect = static_cast<D3DSWAPEFFECT>(2); }),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(refusedWith([](auto& p) { p.AutoDepthStencilFormat = D3DFMT_X8R8G8B8; }),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(refusedWith([](auto& p) { p.FullScreen_RefreshRateInHz = 60; }), D3DERR_INVALIDCALL);
    EXPECT_EQ(refusedWith([](auto& p) { p.FullScreen_PresentationInterval = 2; }),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(refusedWith([](auto& p) { p.BackBufferWidth = 0; }), D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(D3DDEVTYPE_HAL, good), D3DERR_INVALIDCALL); // no window

    D3DPRESENT_PARAMETERS params = good;
    EXPECT_EQ(MakeDirect3D()->CreateDevice(0, D3DDEVTYPE_REF, nullptr,
                                           D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(MakeDirect3D()->CreateDevice(0, D3DDEVTYPE_REF, nullptr,
                                           D3DCREATE_SOFTWARE_VERTEXPROCESSING, nullptr,
                                           TComRef<IDirect3DDevice8>().Put()),
              D3DERR_INVALIDCALL);
}

// Guards the device types: REF makes an offscreen device of the named size, HAL one that
// draws into the window with OpenGL, honouring the immediate presentation interval.
TEST(Direct3D8, MakesTheDeviceOfEachType) {
    TComRef<IDirect3DDevice8> device;
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_REF, OffscreenParameters(), device.Put()), D3D_OK);
    EXPECT_EQ(ReadFrame(*device.Get()).Width, 32u);
    if (!HasOpenGLDisplay()) {
        GTEST_SKIP() << NoDisplayReason;
    }
    const auto window = ShowDeviceWidget(24, 24);
    D3DPRESENT_PARAMETERS params = GameParameters(window.get());
    params.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ASSERT_EQ(CreateDevice(D3DDEVTYPE_HAL, params, device.Put()), D3D_OK);
    EXPECT_EQ(ReadFrame(*device.Get()).Width, 24u);
    // The same window through the focus window alone.
    params.hDeviceWindow = nullptr;
    device.Reset();
    EXPECT_EQ(MakeDirect3D()->CreateDevice(0, D3DDEVTYPE_HAL, window.get(),
                                           D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params,
                                           device.Put()),
              D3D_OK);
}
