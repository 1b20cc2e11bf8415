// The reference device's contract: result codes of misplaced calls, counted references,
// frames handed to the window, and pictures that do not depend on the thread count.

#include "tests/refdevice/DeviceFixture.h"

#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/reference/ReferenceDevice.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ReferenceDeviceContract, MisplacedCallsReturnInvalidCallAndChangeNothing) {
    auto device = MakeTestDevice(4, 4);
    BindVertices(*device.Get(), FullScreenQuad(0.5f));
    constexpr HRESULT Invalid = D3DERR_INVALIDCALL;

    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), Invalid); // outside a scene
    EXPECT_EQ(device->EndScene(), Invalid);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), Invalid);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), Invalid);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 3), Invalid); // past the end
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 4, 1), Invalid);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0xFFFFFFFFu, 0x7FFFFFFFu), Invalid);
    EXPECT_EQ(device->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(5), 0, 1), Invalid);
    EXPECT_EQ(device->FrameCounters().DrawCalls, 0u);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 3, 1), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->FrameCounters().DrawCalls, 1u);
    EXPECT_EQ(device->FrameCounters().Triangles, 1u);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    // Unknown states and values, null records and out-pointers.
    EXPECT_EQ(device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(9999), 0), Invalid);
    EXPECT_EQ(device->SetRenderState(D3DRS_CULLMODE, 7), Invalid);
    EXPECT_EQ(device->SetRenderState(D3DRS_SRCBLEND, 99), Invalid);
    EXPECT_EQ(device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1), Invalid);
    EXPECT_EQ(device->SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(99), 0),
              Invalid);
    EXPECT_EQ(device->SetTextureStageState(0, D3DTSS_COLOROP, 77),
              D3DERR_UNSUPPORTEDCOLOROPERATION);
    EXPECT_EQ(device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(7), nullptr), Invalid);
    EXPECT_EQ(device->SetMaterial(nullptr), Invalid);
    EXPECT_EQ(device->SetLight(0, nullptr), Invalid);
    D3DLIGHT8 unlit{};
    unlit.Type = D3DLIGHT_POINT; // all attenuation factors 0
    EXPECT_EQ(device->SetLight(0, &unlit), Invalid);
    EXPECT_EQ(device->LightEnable(100, 1), Invalid);
    EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, nullptr),
              Invalid);
    EXPECT_EQ(device->CreateVertexBuffer(96, 0, 0x112, D3DPOOL_DEFAULT, nullptr), Invalid);
    EXPECT_EQ(device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), Invalid);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), Invalid);
    EXPECT_EQ(device->SetVertexShader(0x102), Invalid);

    // Locks: twice, or an unlock without a lock.
    TComRef<IDirect3DTexture8> texture;
    ASSERT_EQ(device->CreateTexture(4, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Put()),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->UnlockRect(0), Invalid);
    EXPECT_EQ(texture->LockRect(0, nullptr, nullptr, 0), Invalid);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), Invalid);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    TComRef<IDirect3DVertexBuffer8> buffer;
    ASSERT_EQ(device->CreateVertexBuffer(96, 0, 0x112, D3DPOOL_DEFAULT, buffer.Put()), D3D_OK);
    BYTE* data = nullptr;
    EXPECT_EQ(buffer->Unlock(), Invalid);
    EXPECT_EQ(buffer->Lock(0, 97, &data, 0), Invalid);
    EXPECT_EQ(buffer->Lock(96, 0, &data, 0), Invalid); // would point past the end
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), Invalid);

    // A locked stream cannot be drawn from.
    device->SetStreamSource(0, buffer.Get(), 32);
    device->BeginScene();
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), Invalid);
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    device->EndScene();
}

TEST(ReferenceDeviceContract, BadPresentParametersAreRefused) {
    D3DPRESENT_PARAMETERS params{};
    TComRef<IDirect3DDevice8> device;
    EXPECT_EQ(CreateReferenceDevice(params, nullptr, device.Put()), D3DERR_INVALIDCALL);
    params.BackBufferWidth = 100000;
    params.BackBufferHeight = 4;
    EXPECT_EQ(CreateReferenceDevice(params, nullptr, device.Put()), D3DERR_INVALIDCALL);
    EXPECT_EQ(CreateReferenceDevice(params, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_FALSE(device);
}

TEST(ReferenceDeviceContract, BoundTextureAndStreamOutliveTheirLastOutsideReference) {
    auto device = MakeTestDevice(2, 2);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    {
        auto texture = MakeTexture(*device.Get(), 1, 1, {0xFF123456u});
        device->SetTexture(0, texture.Get());
        EXPECT_EQ(texture->AddRef(), 3u); // ours, the device's, this one
        texture->Release();
        BindVertices(*device.Get(), FullScreenQuad(0.5f)); // the buffer's only holder is the device
    }
    DrawScene(*device.Get(), 2);
    EXPECT_EQ(PixelAt(*device.Get(), 0, 0), 0xFF123456u);
    device->SetTexture(0, nullptr); // the texture goes now; the sanitizer build checks it
}

TEST(ReferenceDeviceContract, DrawKeepsTheTexelsItWasGivenWhenTheTextureIsRewritten) {
    // Drawing is deferred until the picture is needed, so a texture rewritten later in the
    // frame must not reach back into triangles drawn before.
    auto device = MakeTestDevice(2, 1);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    auto texture = MakeTexture(*device.Get(), 1, 1, {0xFFFF0000u});
    device->SetTexture(0, texture.Get());
    std::vector<TTestVertex> halves = HalfScreenQuad(0.5f, true);
    const std::vector<TTestVertex> right = HalfScreenQuad(0.5f, false);
    halves.insert(halves.end(), right.begin(), right.end());
    BindVertices(*device.Get(), halves);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device->BeginScene();
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    *static_cast<std::uint32_t*>(locked.pBits) = 0xFF0000FFu;
    texture->UnlockRect(0);
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 6, 2);
    device->EndScene();
    EXPECT_EQ(ReadPixels(*device.Get()), (std::vector<std::uint32_t>{0xFFFF0000u, 0xFF0000FFu}));
}

TEST(ReferenceDeviceContract, AFrameOfMoreTrianglesThanOneBatchKeepsEveryTriangle) {
    // Twenty thousand triangles in one draw, more than the queue and far more than one tile's
    // list holds: the left half of the screen in the first batches, the right half in the
    // later ones. A later batch must neither clear again nor lose the texture, whose only
    // holder is the device.
    auto device = MakeTestDevice(4, 2);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    const std::vector<TTestVertex> leftHalf = HalfScreenQuad(0.5f, true);
    const std::vector<TTestVertex> rightHalf = HalfScreenQuad(0.5f, false);
    std::vector<TTestVertex> vertices;
    for (int quad = 0; quad < 10000; ++quad) {
        const std::vector<TTestVertex>& half = quad < 5000 ? leftHalf : rightHalf;
        vertices.insert(vertices.end(), half.begin(), half.end());
    }
    BindVertices(*device.Get(), vertices);
    auto texture = MakeTexture(*device.Get(), 1, 1, {0xFF00FF00u});
    device->SetTexture(0, texture.Get());
    texture.Reset();
    DrawScene(*device.Get(), 20000, 0xFF000000u);
    EXPECT_EQ(ReadPixels(*device.Get()), std::vector<std::uint32_t>(8, 0xFF00FF00u));
}

TEST(ReferenceDeviceContract, ClearWithoutRectanglesClearsAllAndRectanglesOnlyTheirPart) {
    auto device = MakeTestDevice(100, 70); // more than one tile, ragged edges
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00102030u, 1.0f, 0);
    for (const std::uint32_t pixel : ReadPixels(*device.Get())) {
        ASSERT_EQ(pixel, 0xFF102030u);
    }
    const D3DRECT rect{90, 60, 200, 200}; // reaches past the edge
    device->Clear(1, &rect, D3DCLEAR_TARGET, 0x00FFFFFFu, 1.0f, 0);
    EXPECT_EQ(PixelAt(*device.Get(), 99, 69), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(*device.Get(), 89, 69), 0xFF102030u);
}

class TRecordingWindow final : public TDeviceWindow {
public:
    void ClientSize(UINT& width, UINT& height) const override {
        width = ClientWidth;
        height = ClientHeight;
    }
    void ShowPixels(const std::uint32_t* pixels, UINT width, UINT height, const TFrameArea*,
                    std::size_t) override {
        Frames.emplace_back(pixels, pixels + static_cast<std::size_t>(width) * height);
        Width = width;
        Height = height;
    }
    UINT ClientWidth = 6;
    UINT ClientHeight = 3;
    std::vector<std::vector<std::uint32_t>> Frames;
    UINT Width = 0;
    UINT Height = 0;
};

TComRef<IDirect3DDevice8> MakeWindowDevice(TRecordingWindow& window, UINT width = 0,
                                           UINT height = 0) {
    D3DPRESENT_PARAMETERS params = OffscreenParameters(width, height);
    params.hDeviceWindow = &window;
    TComRef<IDirect3DDevice8> device;
    EXPECT_EQ(CreateReferenceDevice(params, &window, device.Put()), D3D_OK);
    return device;
}

UINT BackBufferWidth(IDirect3DDevice8& device, UINT* height = nullptr) {
    std::vector<std::uint32_t> pixels;
    UINT width = 0;
    UINT rows = 0;
    EXPECT_EQ(device.ReadBackBuffer(pixels, width, rows), D3D_OK);
    EXPECT_EQ(pixels.size(), std::size_t{width} * rows);
    if (height != nullptr) {
        *height = rows;
    }
    return width;
}

TEST(ReferenceDeviceContract, PresentHandsTheFinishedFrameToTheWindow) {
    TRecordingWindow window;
    auto device = MakeWindowDevice(window);
    ASSERT_TRUE(device);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00ABCDEFu, 1.0f, 0);
    device->BeginScene();
    device->EndScene();
    EXPECT_TRUE(window.Frames.empty());
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ASSERT_EQ(window.Frames.size(), 1u);
    EXPECT_EQ(window.Width, 6u); // the client size, as none was named
    EXPECT_EQ(window.Height, 3u);
    EXPECT_EQ(window.Frames[0], std::vector<std::uint32_t>(18, 0xFFABCDEFu));
}

// Guards the rule both devices share: a discarded back buffer is presented whole into the
// device's own window, so a part of it, another window or a dirty region is refused and
// nothing is shown.
TEST(ReferenceDeviceContract, PresentRefusesRectanglesAndAnotherWindow) {
    TRecordingWindow window;
    TRecordingWindow other;
    auto device = MakeWindowDevice(window);
    ASSERT_TRUE(device);
    const RECT part{0, 0, 2, 2};
    const int region = 0;
    EXPECT_EQ(device->Present(&part, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, &part, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, nullptr, &other, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, &region), D3DERR_INVALIDCALL);
    EXPECT_TRUE(window.Frames.empty());
    EXPECT_TRUE(other.Frames.empty());
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(window.Frames.size(), 1u);
}

// Guards the back buffer following a resized window: the new client size is taken at the next
// Clear or BeginScene outside a scene (never in the middle of one), a collapsed window keeps the
// last size, a size too large to draw is reported, and a named size never follows.
TEST(ReferenceDeviceContract, BackBufferFollowsTheWindowAtTheNextClearOrBeginScene) {
    TRecordingWindow window;
    auto device = MakeWindowDevice(window);
    ASSERT_TRUE(device);
    UINT height = 0;

    window.ClientWidth = window.ClientHeight = 80; // more than one tile
    EXPECT_EQ(BackBufferWidth(*device.Get()), 6u);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00FF0000u, 1, 0),
              D3D_OK);
    EXPECT_EQ(BackBufferWidth(*device.Get(), &height), 80u);
    EXPECT_EQ(height, 80u);
    EXPECT_EQ(PixelAt(*device.Get(), 79, 79), 0xFFFF0000u);

    window.ClientWidth = 12;
    window.ClientHeight = 7;
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(BackBufferWidth(*device.Get(), &height), 12u);
    window.ClientWidth = window.ClientHeight = 30;
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x000000FFu, 1, 0), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(BackBufferWidth(*device.Get()), 12u); // not inside the scene
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(window.Width, 12u);
    EXPECT_EQ(window.Height, 7u);
    EXPECT_EQ(window.Frames.back(), std::vector<std::uint32_t>(84, 0xFF0000FFu));

    window.ClientWidth = 0; // minimised
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1, 0), D3D_OK);
    EXPECT_EQ(BackBufferWidth(*device.Get()), 12u);

    window.ClientWidth = window.ClientHeight = 5000;
    EXPECT_EQ(device->BeginScene(), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(BackBufferWidth(*device.Get()), 12u);
    window.ClientWidth = window.ClientHeight = 9;
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(BackBufferWidth(*device.Get()), 9u);

    auto named = MakeWindowDevice(window, 4, 4);
    ASSERT_TRUE(named);
    ASSERT_EQ(named->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1, 0), D3D_OK);
    EXPECT_EQ(BackBufferWidth(*named.Get()), 4u);
}

// Guards drawing after a resize: triangles reach the whole of the new back buffer and the
// depth buffer grew with it.
TEST(ReferenceDeviceContract, DrawingFillsTheResizedBackBuffer) {
    TRecordingWindow window;
    auto device = MakeWindowDevice(window);
    ASSERT_TRUE(device);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetVertexShader(0x112);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    auto texture = MakeTexture(*device.Get(), 1, 1, {0xFF00FF00u});
    device->SetTexture(0, texture.Get());
    BindVertices(*device.Get(), FullScreenQuad(0.5f));
    window.ClientWidth = 70;
    window.ClientHeight = 130;
    DrawScene(*device.Get(), 2);
    const std::vector<std::uint32_t> pixels = ReadPixels(*device.Get());
    ASSERT_EQ(pixels.size(), 70u * 130u);
    EXPECT_EQ(pixels, std::vector<std::uint32_t>(pixels.size(), 0xFF00FF00u));
}

// A busy scene: overlapping lit, textured, blended and clipped triangles from a fixed seed.
std::vector<std::uint32_t> DrawBusyScene(unsigned threads) {
    auto device = MakeTestDevice(200, 150, threads);
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f;
    };
    std::vector<std::uint32_t> texels(64 * 64);
    for (std::uint32_t& texel : texels) {
        texel = static_cast<std::uint32_t>(next() * 4294967295.0f);
    }
    auto texture = MakeTexture(*device.Get(), 64, 64, texels);
    constexpr int VertexCount = 300 * 3;
    std::vector<TTestVertex> vertices;
    vertices.reserve(VertexCount);
    for (int i = 0; i < VertexCount; ++i) {
        vertices.push_back({next() * 3 - 1.5f, next() * 3 - 1.5f, next() * 1.2f - 0.1f, 0, 0, -1,
                            next() * 4 - 2, next() * 4 - 2});
    }
    BindVertices(*device.Get(), vertices);
    device->SetTexture(0, texture.Get());
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00406080u, 1.0f, 0);
    device->BeginScene();
    for (UINT batch = 0; batch < 3; ++batch) {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, batch == 2);
        device->SetTextureStageState(0, D3DTSS_COLOROP,
                                     batch == 0 ? D3DTOP_SELECTARG1 : D3DTOP_MODULATE2X);
        device->DrawPrimitive(D3DPT_TRIANGLELIST, batch * 300, 100);
    }
    device->EndScene();
    return ReadPixels(*device.Get());
}

TEST(ReferenceDeviceContract, PictureIsTheSameOnEveryRunAndThreadCount) {
    const std::vector<std::uint32_t> single = DrawBusyScene(1);
    std::size_t drawn = 0;
    for (const std::uint32_t pixel : single) {
        drawn += pixel != 0xFF406080u;
    }
    EXPECT_GT(drawn, single.size() / 2); // the scene really covers the screen
    EXPECT_EQ(DrawBusyScene(1), single);
    EXPECT_EQ(DrawBusyScene(2), single);
    EXPECT_EQ(DrawBusyScene(3), single);
}

} // namespace
