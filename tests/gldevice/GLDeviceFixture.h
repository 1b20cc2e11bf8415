#pragma once
// A hardware device drawing into a shown 64 x 64 window, with identity transforms, so that
// test geometry is given in clip coordinates: x and y from -1 to 1 (y up), depth z from 0 to 1.

#include "platform/d3d/opengl/OpenGLDevice.h"
#include "tests/gldevice/GLTestKit.h"

#include <gtest/gtest.h>

#include <functional>

class GLDeviceTest : public ::testing::Test {
protected:
    static constexpr int Size = 64;

    void SetUp() override {
        if (!HasOpenGLDisplay()) {
            GTEST_SKIP() << NoDisplayReason;
        }
        Window = ShowDeviceWidget(Size, Size);
        ASSERT_EQ(CreateOpenGLDevice(GameParameters(Window.get()), Window.get(), TPresentTiming{},
                                     Device.Put()),
                  D3D_OK);
        UseIdentityTransforms(*Device.Get());
    }

    // Clears to `background`, runs `draw` inside a scene and reads the frame back.
    TTestFrame Render(const std::function<void()>& draw, D3DCOLOR background = 0xFF000000) {
        EXPECT_EQ(Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1, 0),
                  D3D_OK);
        EXPECT_EQ(Device->BeginScene(), D3D_OK);
        draw();
        EXPECT_EQ(Device->EndScene(), D3D_OK);
        return ReadFrame(*Device.Get());
    }
    // The same drawing the first two triangles of the stream.
    TTestFrame Render(D3DCOLOR background = 0xFF000000) {
        return Render([this] { Draw(); }, background);
    }

    void Draw(UINT triangles = 2, UINT startVertex = 0) {
        EXPECT_EQ(Device->DrawPrimitive(D3DPT_TRIANGLELIST, startVertex, triangles), D3D_OK);
    }

    // A material that shows exactly (r, g, b) with alpha a when lit by nothing.
    void UseSolidColor(float r, float g, float b, float a = 1.0f) {
        D3DMATERIAL8 material{};
        material.Emissive = {r, g, b, 0.0f};
        material.Diffuse = {0.0f, 0.0f, 0.0f, a};
        EXPECT_EQ(Device->SetMaterial(&material), D3D_OK);
    }

    // Declared first, destroyed last: the device goes before its window.
    std::unique_ptr<TDeviceWidget> Window;
    TComRef<IDirect3DDevice8> Device;
};

// Levels of a colour component, 0..1 scaled to 0..255.
constexpr double Level(double component) {
    return component * 255.0;
}
