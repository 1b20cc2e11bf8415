// The software device keeps the picture of a frame that repeats the one before instead of
// drawing it again: equal frames reuse it, every kind of change draws anew, and a kept
// picture equals a freshly drawn one. So do the triangles of each draw that repeats one of the
// frame before: a changed draw must set its own up again.

#include "tests/refdevice/DeviceFixture.h"

#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/reference/Device.h"
#include "platform/d3d/reference/ReferenceDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

constexpr UINT Side = 160; // more than one tile
constexpr std::uint32_t Red4[4] = {0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u};

// The scene of every frame: a quad lit by one light over the left half, a textured quad over
// the right half, drawn with alpha blending so that a frame drawn twice over itself shows.
class TStillScene {
public:
    explicit TStillScene(IDirect3DDevice8& device) : Device(device) {
        std::vector<TTestVertex> vertices = HalfScreenQuad(0.5f, true);
        const std::vector<TTestVertex> right = HalfScreenQuad(0.5f, false);
        vertices.insert(vertices.end(), right.begin(), right.end());
        EXPECT_EQ(FillVertexBuffer(device, vertices, Vertices), D3D_OK);
        device.SetStreamSource(0, Vertices.Get(), sizeof(TTestVertex));
        Texture = MakeTexture(device, 2, 2, {0x80204060u, 0x80204060u, 0x80204060u, 0x80204060u});
        device.SetRenderState(D3DRS_LIGHTING, 1);
        device.SetRenderState(D3DRS_AMBIENT, 0x00404040u);
        const D3DLIGHT8 light = PointLight(0.5f, {0, 0, -1}, 10, 0);
        device.SetLight(0, &light);
        device.LightEnable(0, 1);
        device.SetMaterial(&Material);
        device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    }

    void DrawFrame(bool clearFirst = true) {
        if (clearFirst) {
            ASSERT_EQ(
                Device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearColor, 1.0f, 0),
                D3D_OK);
        }
        ASSERT_EQ(Device.BeginScene(), D3D_OK);
        Device.SetTexture(0, nullptr);
        Device.DrawPrimitive(D3DPT_TRIANGLELIST, 0, LeftTriangles);
        Device.SetTexture(0, Texture.Get());
        Device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
        Device.DrawPrimitive(D3DPT_TRIANGLELIST, 6, 2);
        Device.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
        AfterDraws();
        ASSERT_EQ(Device.EndScene(), D3D_OK);
        ASSERT_EQ(Device.Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }

    IDirect3DDevice8& Device;
    TComRef<IDirect3DVertexBuffer8> Vertices;
    TComRef<IDirect3DTexture8> Texture;
    D3DMATERIAL8 Material{{0.2f, 0.9f, 0.3f, 1}, {0.5f, 0.5f, 0.5f, 1}, {}, {}, 0};
    D3DCOLOR ClearColor = 0x00102030u;
    UINT LeftTriangles = 2;
    std::function<void()> AfterDraws = [] {};
};

bool LastSceneReused(IDirect3DDevice8& device) {
    return dynamic_cast<Reference::TDevice&>(device).LastSceneReused();
}

void RewriteTexels(IDirect3DTexture8& texture, const std::uint32_t (&texels)[4]) {
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture.LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (int row = 0; row < 2; ++row) {
        std::memcpy(static_cast<BYTE*>(locked.pBits) + row * locked.Pitch, texels + 2 * row, 8);
    }
    ASSERT_EQ(texture.UnlockRect(0), D3D_OK);
}

TEST(FrameReuse, AnEqualFrameKeepsAPictureEqualToAFreshOne) {
    auto device = MakeTestDevice(Side, Side, 2);
    TStillScene scene(*device.Get());
    scene.DrawFrame();
    EXPECT_FALSE(LastSceneReused(*device.Get()));
    for (int frame = 0; frame < 3; ++frame) {
        scene.DrawFrame();
        EXPECT_TRUE(LastSceneReused(*device.Get()));
    }

    auto fresh = MakeTestDevice(Side, Side, 1);
    TStillScene freshScene(*fresh.Get());
    freshScene.DrawFrame();
    EXPECT_EQ(ReadPixels(*device.Get()), ReadPixels(*fresh.Get()));
}

TEST(FrameReuse, EveryKindOfChangeDrawsAnew) {
    struct TChange {
        std::string Name;
        std::function<void(TStillScene&)> Apply;
    };
    const D3DMATRIX moved{{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.25f, 0, 0, 1}}};
    const std::vector<TChange> changes = {
        {"render state", [](TStillScene& s) { s.Device.SetRenderState(D3DRS_AMBIENT, 0); }},
        {"texture stage",
         [](TStillScene& s) { s.Device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE); }},
        {"material",
         [](TStillScene& s) {
             s.Material.Diffuse.r = 0.7f;
             s.Device.SetMaterial(&s.Material);
         }},
        {"light",
         [](TStillScene& s) {
             const D3DLIGHT8 light = PointLight(0.9f, {0, 0, -1}, 10, 0);
             s.Device.SetLight(0, &light);
         }},
        {"light switched off", [](TStillScene& s) { s.Device.LightEnable(0, 0); }},
        {"world transform", [&](TStillScene& s) { s.Device.SetTransform(D3DTS_WORLD, &moved); }},
        {"view transform", [&](TStillScene& s) { s.Device.SetTransform(D3DTS_VIEW, &moved); }},
        {"projection", [&](TStillScene& s) { s.Device.SetTransform(D3DTS_PROJECTION, &moved); }},
        {"another texture",
         [](TStillScene& s) {
             s.Texture = MakeTexture(s.Device, 2, 2, {Red4[0], Red4[1], Red4[2], Red4[3]});
         }},
        {"texture rewritten in place",
         [](TStillScene& s) { RewriteTexels(*s.Texture.Get(), Red4); }},
        {"vertices rewritten in place",
         [](TStillScene& s) {
             BYTE* data = nullptr;
             ASSERT_EQ(s.Vertices->Lock(0, sizeof(float), &data, 0), D3D_OK);
             const float x = -0.5f;
             std::memcpy(data, &x, sizeof x);
             ASSERT_EQ(s.Vertices->Unlock(), D3D_OK);
         }},
        {"clear colour", [](TStillScene& s) { s.ClearColor = 0x00FFFFFFu; }},
        {"fewer triangles", [](TStillScene& s) { s.LeftTriangles = 1; }},
        // The draws see a state that the previous frame changed after its own draws.
        {"state left behind by the frame before",
         [](TStillScene& s) {
             s.AfterDraws = [&s] { s.Device.SetRenderState(D3DRS_AMBIENT, 0x00FFFFFFu); };
             s.DrawFrame(); // draws as before, then leaves the state behind
         }},
    };
    for (const TChange& change : changes) {
        SCOPED_TRACE(change.Name);
        auto device = MakeTestDevice(Side, Side, 2);
        TStillScene scene(*device.Get());
        scene.DrawFrame();
        scene.DrawFrame();
        ASSERT_TRUE(LastSceneReused(*device.Get()));
        change.Apply(scene);
        scene.DrawFrame();
        EXPECT_FALSE(LastSceneReused(*device.Get()));
        if (change.Name == "texture rewritten in place") {
            EXPECT_EQ(PixelAt(*device.Get(), Side - 1, Side / 2), 0xFFFF0000u);
        }

        auto fresh = MakeTestDevice(Side, Side, 1);
        TStillScene freshScene(*fresh.Get());
        change.Apply(freshScene);
        freshScene.DrawFrame();
        EXPECT_EQ(ReadPixels(*device.Get()), ReadPixels(*fresh.Get()));
    }
}

TEST(FrameReuse, AFrameNotOpenedByAFullClearIsAlwaysDrawn) {
    auto device = MakeTestDevice(Side, Side, 2);
    TStillScene scene(*device.Get());
    scene.DrawFrame();
    const std::uint32_t once = PixelAt(*device.Get(), Side - 1, 0);
    scene.DrawFrame(false);
    EXPECT_FALSE(LastSceneReused(*device.Get()));
    scene.DrawFrame(false);
    EXPECT_FALSE(LastSceneReused(*device.Get()));
    EXPECT_NE(PixelAt(*device.Get(), Side - 1, 0), once); // blended over itself twice more

    // A rectangle clear first does not cover the whole picture either.
    const D3DRECT corner{0, 0, 4, 4};
    for (int frame = 0; frame < 2; ++frame) {
        device->Clear(1, &corner, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        scene.DrawFrame(false);
        EXPECT_FALSE(LastSceneReused(*device.Get()));
    }
}

TEST(FrameReuse, AReadBackInsideAFrameMakesItDrawAnew) {
    auto device = MakeTestDevice(Side, Side, 2);
    TStillScene scene(*device.Get());
    scene.DrawFrame();
    const std::vector<std::uint32_t> picture = ReadPixels(*device.Get());
    // The read-back draws the first half of the frame; keeping the old picture would then
    // lose the rest.
    scene.AfterDraws = [&] {};
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, scene.ClearColor, 1.0f, 0);
    device->BeginScene();
    device->SetTexture(0, nullptr);
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
    ReadPixels(*device.Get());
    device->SetTexture(0, scene.Texture.Get());
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 6, 2);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    device->EndScene();
    EXPECT_FALSE(LastSceneReused(*device.Get()));
    EXPECT_EQ(ReadPixels(*device.Get()), picture);
}

class TCountingWindow final : public TDeviceWindow {
public:
    void ClientSize(UINT& width, UINT& height) const override { width = height = ClientSide; }
    void ShowPixels(const std::uint32_t*, UINT width, UINT, const TFrameArea*,
                    std::size_t) override {
        ++FramesShown;
        ShownWidth = width;
    }
    UINT ClientSide = Side;
    int FramesShown = 0;
    UINT ShownWidth = 0;
};

TEST(FrameReuse, TheWindowGetsOnlyChangedPicturesAndAResizeDrawsAnew) {
    TCountingWindow window;
    D3DPRESENT_PARAMETERS params = OffscreenParameters(0, 0);
    params.hDeviceWindow = &window;
    params.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    TComRef<IDirect3DDevice8> device;
    ASSERT_EQ(CreateReferenceDevice(params, &window, device.Put()), D3D_OK);
    device->SetVertexShader(0x112);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    TStillScene scene(*device.Get());
    scene.DrawFrame();
    scene.DrawFrame();
    EXPECT_TRUE(LastSceneReused(*device.Get()));
    EXPECT_EQ(window.FramesShown, 1);

    window.ClientSide = Side / 2;
    scene.DrawFrame();
    EXPECT_FALSE(LastSceneReused(*device.Get()));
    EXPECT_EQ(window.FramesShown, 2);
    EXPECT_EQ(window.ShownWidth, Side / 2);
    // The draws repeat the frame before's but for the size, which places their triangles.
    auto fresh = MakeTestDevice(Side / 2, Side / 2, 1);
    TStillScene freshScene(*fresh.Get());
    freshScene.DrawFrame();
    EXPECT_EQ(ReadPixels(*device.Get()), ReadPixels(*fresh.Get()));
}

} // namespace
