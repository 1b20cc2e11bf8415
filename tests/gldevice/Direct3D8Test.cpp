// The Direct3D object: the version it serves, the display mode, and which devices it makes
// for which arguments.
#include "tests/gldevice/GLTestKit.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

D3DPRESENT_PARAMETERS OffscreenParameters() {
    D3DPRESENT_PARAMETERS params = GameParameters(nullptr);
    params.BackBufferWidth = 32;
    params.BackBufferHeight = 16;
    return params;
}

} // namespace

// Guards the entry point and the display mode the game takes its back-buffer format from,
// which must be answered with or without a screen.
TEST(Direct3D8, ServesItsVersionAndTheScreenMode) {
    EXPECT_EQ(Direct3DCreate8(D3D_SDK_VERSION + 1), nullptr);
    const auto direct3D = TComRef<IDirect3D8>::Attach(Direct3DCreate8(D3D_SDK_VERSION));
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(direct3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_GT(mode.Width, 0u); // every platform of the application has a screen
    EXPECT_EQ(direct3D->GetAdapterDisplayMode(1, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(direct3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, nullptr), D3DERR_INVALIDCALL);
}

// Guards the argument checks shared by both devices: each wrong field is refused with
// INVALIDCALL and no device.
TEST(Direct3D8, CreateDeviceRefusesWhatNoDeviceCanHonour) {
    const std::function<void(D3DPRESENT_PARAMETERS&)> changes[] = {
        [](auto& p) { p.Windowed = 0; },
        [](auto& p) { p.BackBufferFormat = D3DFMT_R5G6B5; },
        [](auto& p) { p.MultiSampleType = 2; },
        [](auto& p) { p.SwapEffect = D3DSWAPEFFECT(2); },
        [](auto& p) { p.AutoDepthStencilFormat = D3DFMT_X8R8G8B8; },
        [](auto& p) { p.FullScreen_RefreshRateInHz = 60; },
        [](auto& p) { p.FullScreen_PresentationInterval = 2; },
        [](auto& p) { p.BackBufferWidth = 0; }, // offscreen without a size
    };
    for (const auto& change : changes) {
        D3DPRESENT_PARAMETERS params = OffscreenParameters();
        change(params);
        TComRef<IDirect3DDevice8> device;
        EXPECT_EQ(CreateDevice(D3DDEVTYPE_REF, params, device.Put()), D3DERR_INVALIDCALL);
        EXPECT_FALSE(device);
    }
    const auto direct3D = TComRef<IDirect3D8>::Attach(Direct3DCreate8(D3D_SDK_VERSION));
    D3DPRESENT_PARAMETERS params = OffscreenParameters();
    const auto create = [&](UINT adapter, D3DDEVTYPE type, DWORD flags) {
        return direct3D->CreateDevice(adapter, type, nullptr, flags, &params,
                                      TComRef<IDirect3DDevice8>().Put());
    };
    constexpr DWORD software = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    EXPECT_EQ(create(0, D3DDEVTYPE_REF, software), D3D_OK); // offscreen, of the named size
    EXPECT_EQ(create(1, D3DDEVTYPE_REF, software), D3DERR_INVALIDCALL);
    EXPECT_EQ(create(0, D3DDEVTYPE(3), software), D3DERR_INVALIDCALL);
    EXPECT_EQ(create(0, D3DDEVTYPE_REF, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(create(0, D3DDEVTYPE_HAL, software), D3DERR_INVALIDCALL); // no window
    EXPECT_EQ(direct3D->CreateDevice(0, D3DDEVTYPE_REF, nullptr, software, &params, nullptr),
              D3DERR_INVALIDCALL);
}
