#include "tests/gldevice/GLTestKit.h"

#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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
    TComRef<IDirect3DVertexBuffer8> buffer;
    EXPECT_EQ(FillVertexBuffer(device, vertices, buffer), D3D_OK);
    EXPECT_EQ(device.SetStreamSource(0, buffer.Get(), sizeof(TTestVertex)), D3D_OK);
    EXPECT_EQ(device.SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1), D3D_OK);
    return buffer;
}

TComRef<IDirect3DTexture8> MakeTexture(IDirect3DDevice8& device, UINT width, UINT height,
                                       const std::vector<std::uint32_t>& texels) {
    TComRef<IDirect3DTexture8> texture;
    EXPECT_EQ(FillTexture(device, width, height, texels, texture), D3D_OK);
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

testing::AssertionResult PicturesAgree(const std::vector<std::uint32_t>& drawn,
                                       const std::vector<std::uint32_t>& expected) {
    constexpr int ChannelTolerance = 4;
    constexpr double FringeShare = 0.005;
    if (drawn.size() != expected.size()) {
        return testing::AssertionFailure() << drawn.size() << " pixels against " << expected.size();
    }
    std::size_t apart = 0;
    int worst = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const std::uint32_t a = drawn[i];
        const std::uint32_t b = expected[i];
        const int difference = std::max({std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)),
                                         std::abs(Blue(a) - Blue(b))});
        apart += difference > ChannelTolerance ? 1 : 0;
        worst = std::max(worst, difference);
    }
    if (static_cast<double>(apart) > FringeShare * static_cast<double>(drawn.size())) {
        return testing::AssertionFailure()
               << apart << " of " << drawn.size() << " pixels differ by more than "
               << ChannelTolerance << " levels; the worst by " << worst;
    }
    return testing::AssertionSuccess();
}
