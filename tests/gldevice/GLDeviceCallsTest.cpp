// How the hardware device answers calls: wrong order and wrong arguments, resources and
// windows that go away, the frame counters, and the ways its creation fails.
#include "tests/gldevice/GLDeviceFixture.h"

// Guards the frame protocol and the draw checks: each call out of order or beyond the stream
// is refused, and the device keeps drawing afterwards.
TEST_F(GLDeviceTest, CallsOutOfOrderOrBeyondTheStreamAreRefused) {
    EXPECT_EQ(Device->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(Device->BeginScene(), D3D_OK);
    EXPECT_EQ(Device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL); // no stream
    const auto quad = UseVertices(*Device.Get(), ScreenQuad(0.5f));
    EXPECT_EQ(Device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device->DrawPrimitive(D3DPT_TRIANGLELIST, 4, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 0), D3D_OK); // draws nothing
    BYTE* data = nullptr;
    ASSERT_EQ(quad->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_EQ(Device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3DERR_INVALIDCALL);
    ASSERT_EQ(quad->Unlock(), D3D_OK);
    ASSERT_EQ(Device->EndScene(), D3D_OK);
    EXPECT_EQ(Device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3DERR_INVALIDCALL);
    const RECT part{0, 0, 8, 8};
    EXPECT_EQ(Device->Present(&part, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    UseSolidColor(1, 1, 1);
    EXPECT_EQ(Red(Render().At(32, 32)), 255);
}

// Guards clearing a rectangle (counted from the top-left corner) and the argument checks of
// clearing and of making and locking resources.
TEST_F(GLDeviceTest, ResourceAndClearArgumentsAreChecked) {
    const D3DRECT topLeft{-5, 0, 32, 16};
    ASSERT_EQ(Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1, 0), D3D_OK);
    ASSERT_EQ(Device->Clear(1, &topLeft, D3DCLEAR_TARGET, 0xFFFF0000, 1, 0), D3D_OK);
    const TTestFrame frame = ReadFrame(*Device.Get());
    EXPECT_EQ(Red(frame.At(0, 15)), 255);
    EXPECT_EQ(Red(frame.At(31, 16)) + Red(frame.At(32, 15)), 0);
    EXPECT_EQ(Device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);
    TComRef<IDirect3DTexture8> texture;
    const auto create = [&](UINT width, UINT levels, D3DFORMAT format) {
        return Device->CreateTexture(width, 4, levels, 0, format, D3DPOOL_MANAGED, texture.Put());
    };
    EXPECT_EQ(create(4, 1, D3DFMT_R5G6B5), D3DERR_INVALIDCALL);
    EXPECT_EQ(create(1u << 20, 1, D3DFMT_A8R8G8B8), D3DERR_INVALIDCALL);
    ASSERT_EQ(create(4, 0, D3DFMT_A8R8G8B8), D3D_OK);
    D3DLOCKED_RECT locked{};
    const RECT outside{2, 2, 5, 3};
    EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    const RECT inside{1, 2, 3, 4};
    ASSERT_EQ(texture->LockRect(0, &locked, &inside, 0), D3D_OK);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);

    TComRef<IDirect3DVertexBuffer8> buffer;
    EXPECT_EQ(Device->CreateVertexBuffer(16, 0, 0x112, D3DPOOL_DEFAULT, buffer.Put()),
              D3DERR_INVALIDCALL); // shorter than one vertex
    ASSERT_EQ(Device->CreateVertexBuffer(64, 0, 0x112, D3DPOOL_DEFAULT, buffer.Put()), D3D_OK);
    BYTE* data = nullptr;
    EXPECT_EQ(buffer->Lock(32, 33, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device->SetStreamSource(0, buffer.Get(), 0), D3DERR_INVALIDCALL);
}

// Guards against drawing with another device's objects, whose OpenGL names mean nothing here.
TEST_F(GLDeviceTest, ResourcesOfAnotherDeviceAreRefused) {
    const auto otherWindow = ShowDeviceWidget(Size, Size);
    TComRef<IDirect3DDevice8> other;
    ASSERT_EQ(CreateOpenGLDevice(GameParameters(otherWindow.get()), otherWindow.get(),
                                 TPresentTiming{}, other.Put()),
              D3D_OK);
    const auto texture = MakeTexture(*other.Get(), 1, 1, {0xFFFFFFFF});
    const auto buffer = UseVertices(*other.Get(), ScreenQuad(0.5f));
    EXPECT_EQ(Device->SetTexture(0, texture.Get()), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device->SetStreamSource(0, buffer.Get(), sizeof(TTestVertex)), D3DERR_INVALIDCALL);
}

// Guards the order the game releases things in (textures outlive the device), a texture
// dropped mid-run, and a window closed under a live device: calls then report a lost device
// instead of drawing into a destroyed surface.
TEST_F(GLDeviceTest, ResourcesAndTheDeviceSurviveWhatGoesBeforeThem) {
    const auto quad = UseVertices(*Device.Get(), ScreenQuad(0.5f));
    auto texture = MakeTexture(*Device.Get(), 2, 2, {1, 2, 3, 4});
    ASSERT_EQ(Device->SetTexture(0, texture.Get()), D3D_OK);
    Render();
    ASSERT_EQ(Device->SetTexture(0, nullptr), D3D_OK);
    texture.Reset();
    Render(); // deletes the dropped texture's OpenGL object
    const auto survivor = MakeTexture(*Device.Get(), 1, 1, {0xFFFFFFFF});

    Window.reset();
    EXPECT_EQ(Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1, 0), D3DERR_DEVICELOST);
    EXPECT_EQ(Device->BeginScene(), D3DERR_DEVICELOST);
    EXPECT_EQ(Device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    Device.Reset();
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(survivor->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(survivor->UnlockRect(0), D3D_OK);
}

// Guards the counters: draw calls and triangles since BeginScene.
TEST_F(GLDeviceTest, FrameCountersCountDrawsSinceBeginScene) {
    const auto quad = UseVertices(*Device.Get(), ScreenQuad(0.5f));
    Render([&] {
        Draw(2);
        Draw(1, 3);
    });
    EXPECT_EQ(Device->FrameCounters().DrawCalls, 2u);
    EXPECT_EQ(Device->FrameCounters().Triangles, 3u);
    Render();
    EXPECT_EQ(Device->FrameCounters().DrawCalls, 1u);
}

namespace {
// A window that can show frames but lends no OpenGL surface.
class TPixelOnlyWindow final : public TDeviceWindow {
public:
    void ClientSize(UINT& width, UINT& height) const override { width = height = 8; }
    void ShowPixels(const std::uint32_t*, UINT, UINT, const TFrameArea*, std::size_t) override {}
};
} // namespace

// Guards the fallback: creation fails cleanly, with nothing attached to the window, when the
// window lends no surface, the environment asks for the reference device, or the window's
// surface is taken; afterwards the same window still serves a hardware device.
TEST_F(GLDeviceTest, CreationFailsCleanlyWhenOpenGLCannotBeUsed) {
    TComRef<IDirect3DDevice8> failed;
    EXPECT_EQ(CreateOpenGLDevice(GameParameters(Window.get()), Window.get(), TPresentTiming{},
                                 failed.Put()),
              D3DERR_NOTAVAILABLE);
    Device.Reset();
    TPixelOnlyWindow pixelsOnly;
    EXPECT_EQ(CreateOpenGLDevice(GameParameters(&pixelsOnly), &pixelsOnly, TPresentTiming{},
                                 failed.Put()),
              D3DERR_NOTAVAILABLE);
    qputenv("ZORBIX_DEVICE", "reference");
    EXPECT_EQ(CreateOpenGLDevice(GameParameters(Window.get()), Window.get(), TPresentTiming{},
                                 failed.Put()),
              D3DERR_NOTAVAILABLE);
    qunsetenv("ZORBIX_DEVICE");
    EXPECT_FALSE(failed);
    EXPECT_EQ(CreateOpenGLDevice(GameParameters(Window.get()), Window.get(), TPresentTiming{},
                                 Device.Put()),
              D3D_OK);
}

// Guards the held-back frame: draws wait for EndScene and a frame that repeats the picture
// held is dropped, yet what the back buffer shows is always what was drawn, when a texture is
// rewritten between two frames and when it is rewritten between two draws of one frame.
TEST_F(GLDeviceTest, HeldBackFramesShowWhatWasDrawn) {
    const auto quad = UseVertices(*Device.Get(), ScreenQuad(0.5f));
    const auto texture = MakeTexture(*Device.Get(), 1, 1, {0xFFFF0000});
    ASSERT_EQ(Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), D3D_OK);
    ASSERT_EQ(Device->SetTexture(0, texture.Get()), D3D_OK);
    const auto rewrite = [&](std::uint32_t texel) {
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        *static_cast<std::uint32_t*>(locked.pBits) = texel;
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    };
    const auto frame = [&](const std::function<void()>& draw) {
        TTestFrame drawn = Render(draw);
        EXPECT_EQ(Device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        return drawn;
    };
    const auto drawQuad = [this] { Draw(); };
    EXPECT_EQ(Red(frame(drawQuad).At(32, 32)), 255);
    EXPECT_EQ(Red(frame(drawQuad).At(32, 32)), 255); // repeated: the picture held
    rewrite(0xFF00FF00);
    EXPECT_EQ(Green(frame(drawQuad).At(32, 32)), 255);
    // The left triangle drawn before the rewrite keeps the old texel.
    const TTestFrame split = frame([&] {
        Draw(1, 0);
        rewrite(0xFF0000FF);
        Draw(1, 3);
    });
    EXPECT_EQ(Green(split.At(4, 32)) + Blue(split.At(60, 32)), 2 * 255);
}
