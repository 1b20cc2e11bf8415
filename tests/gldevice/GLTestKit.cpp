#include "tests/gldevice/GLTestKit.h"

#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

bool HasOpenGLDisplay() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

std::unique_ptr<TDeviceWidget> ShowDeviceWidget(int width, int height) {
    auto widget = std::make_unique<TDeviceWidget>();
    widget->resize(width, height);
    widget->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    return widget;
}

D3DPRESENT_PARAMETERS GameParameters(HWND window) {
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = 1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.hDeviceWindow = window;
    params.EnableAutoDepthStencil = 1;
    params.AutoDepthStencilFormat = D3DFMT_D16;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    return params;
}

HRESULT CreateDevice(D3DDEVTYPE type, D3DPRESENT_PARAMETERS params, IDirect3DDevice8** device) {
    const auto direct3D = TComRef<IDirect3D8>::Attach(Direct3DCreate8(D3D_SDK_VERSION));
    return direct3D->CreateDevice(D3DADAPTER_DEFAULT, type, params.hDeviceWindow,
                                  D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, device);
}

TComRef<IDirect3DVertexBuffer8> UseVertices(IDirect3DDevice8& device,
                                            const std::vector<TTestVertex>& vertices) {
    constexpr DWORD format = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
    const auto length = static_cast<UINT>(vertices.size() * sizeof(TTestVertex));
    TComRef<IDirect3DVertexBuffer8> buffer;
    EXPECT_EQ(device.CreateVertexBuffer(length, 0, format, D3DPOOL_DEFAULT, buffer.Put()), D3D_OK);
    BYTE* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, length, &data, 0), D3D_OK);
    std::memcpy(data, vertices.data(), length);
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(device.SetStreamSource(0, buffer.Get(), sizeof(TTestVertex)), D3D_OK);
    EXPECT_EQ(device.SetVertexShader(format), D3D_OK);
    return buffer;
}

TComRef<IDirect3DTexture8> MakeTexture(IDirect3DDevice8& device, UINT width, UINT height,
                                       const std::vector<std::uint32_t>& texels) {
    TComRef<IDirect3DTexture8> texture;
    EXPECT_EQ(
        device.CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Put()),
        D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT row = 0; row < height; ++row) {
        std::memcpy(static_cast<BYTE*>(locked.pBits) + std::size_t{row} * locked.Pitch,
                    texels.data() + std::size_t{row} * width, width * sizeof(std::uint32_t));
    }
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
}

std::vector<TTestVertex> ScreenQuad(float z) {
    const TTestVertex topLeft{-1, 1, z, 0, 0, -1, 0, 0};
    const TTestVertex topRight{1, 1, z, 0, 0, -1, 1, 0};
    const TTestVertex bottomLeft{-1, -1, z, 0, 0, -1, 0, 1};
    const TTestVertex bottomRight{1, -1, z, 0, 0, -1, 1, 1};
    return {topLeft, topRight, bottomLeft, topRight, bottomRight, bottomLeft};
}

TTestFrame ReadFrame(IDirect3DDevice8& device) {
    TTestFrame frame;
    EXPECT_EQ(device.ReadBackBuffer(frame.Pixels, frame.Width, frame.Height), D3D_OK);
    return frame;
}

void UseIdentityTransforms(IDirect3DDevice8& device) {
    D3DMATRIX identity{};
    identity._11 = identity._22 = identity._33 = identity._44 = 1.0f;
    for (const auto state : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) {
        EXPECT_EQ(device.SetTransform(state, &identity), D3D_OK);
    }
}
