// The deferred tiles must give exactly the pixels of the immediate ones on scenes that mix
// every kind of draw, and shade each pixel only once.

#include "platform/d3d/reference/ReferenceDevice.h"
#include "tests/refdevice/DeviceFixture.h"
#include "tests/refdevice/TestSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using Reference::ETileShading;

constexpr UINT Width = 300; // tiles of every kind: whole, cut at the right, cut at the bottom
constexpr UINT Height = 200;

TComRef<IDirect3DDevice8> MakeDevice(ETileShading shading, unsigned threads,
                                     TDeviceWindow* window = nullptr) {
    D3DPRESENT_PARAMETERS params = OffscreenParameters(Width, Height);
    params.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    TComRef<IDirect3DDevice8> device;
    EXPECT_EQ(CreateReferenceDevice(params, window, threads, shading, device.Put()), D3D_OK);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_AMBIENT, 0x00404040);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    const D3DLIGHT8 light = PointLight(0.7f, {0.2f, 0.3f, -0.5f}, 5, 0.2f);
    device->SetLight(0, &light);
    device->LightEnable(0, 1);
    D3DMATERIAL8 material{};
    material.Diffuse = {0.9f, 0.7f, 0.5f, 0.6f};
    material.Ambient = {0.5f, 0.5f, 0.5f, 1};
    device->SetMaterial(&material);
    device->SetVertexShader(0x112);
    return device;
}

// Draws `draws` batches of overlapping triangles, each with its own mix of texture, colour
// operation, lighting and blending, some batches twice so that equal depths meet. The same
// series gives the same scene on every device.
std::vector<std::uint32_t> DrawMixedScene(IDirect3DDevice8& device, int draws, unsigned seed) {
    TSeries series(99);
    for (unsigned i = 0; i < seed; ++i) {
        series.NextBits();
    }
    std::vector<std::uint32_t> texels(16 * 8);
    for (std::uint32_t& texel : texels) {
        texel = series.NextBits(); // random alpha too, for the blends
    }
    const auto texture = MakeTexture(device, 16, 8, texels);
    std::vector<TTestVertex> vertices;
    for (int i = 0; i < draws * 6; ++i) {
        const float z = series.Next(0.1f, 0.9f);
        for (int corner = 0; corner < 3; ++corner) {
            vertices.push_back({series.Next(-1.4f, 1.4f), series.Next(-1.4f, 1.4f),
                                z + series.Next(-0.1f, 0.1f), 0, 0, -1, series.Next(-2, 2),
                                series.Next(-2, 2)});
        }
    }
    BindVertices(device, vertices);
    EXPECT_EQ(device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00203040, 1.0f, 0),
              D3D_OK);
    EXPECT_EQ(device.BeginScene(), D3D_OK);
    for (int draw = 0; draw < draws; ++draw) {
        const std::uint32_t kind = series.NextBits();
        device.SetTexture(0, (kind & 1) != 0 ? texture.Get() : nullptr);
        device.SetTextureStageState(0, D3DTSS_COLOROP,
                                    (kind & 2) != 0 ? D3DTOP_MODULATE2X : D3DTOP_SELECTARG1);
        device.SetRenderState(D3DRS_LIGHTING, (kind & 4) != 0 ? 1 : 0);
        device.SetRenderState(D3DRS_ALPHABLENDENABLE, (kind & 24) == 24 ? 1 : 0);
        device.SetRenderState(D3DRS_ZENABLE, (kind & 96) == 96 ? 0 : 1);
        const UINT start = static_cast<UINT>(draw) * 18;
        EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, start, 6), D3D_OK);
        if ((kind & 128) != 0) {
            EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, start, 6), D3D_OK);
        }
    }
    EXPECT_EQ(device.EndScene(), D3D_OK);
    return ReadPixels(device);
}

TEST(ReferenceDeviceDeferredTiles, MixedScenesMatchTheImmediateTilesOnAnyThreadCount) {
    for (unsigned seed = 0; seed < 12; ++seed) {
        auto immediate = MakeDevice(ETileShading::Immediate, 1);
        const std::vector<std::uint32_t> expected = DrawMixedScene(*immediate.Get(), 24, seed);
        for (const unsigned threads : {1u, 2u, 4u}) {
            auto deferred = MakeDevice(ETileShading::Deferred, threads);
            EXPECT_EQ(DrawMixedScene(*deferred.Get(), 24, seed), expected)
                << "scene " << seed << " on " << threads << " threads";
        }
    }
}

TEST(ReferenceDeviceDeferredTiles, OpaqueLayersShadeEachPixelOnceAndBlendsOnTop) {
    auto device = MakeDevice(ETileShading::Deferred, 2);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    std::vector<TTestVertex> vertices;
    for (const float z : {0.8f, 0.5f, 0.6f}) { // the middle layer is hidden
        const std::vector<TTestVertex> quad = FullScreenQuad(z);
        vertices.insert(vertices.end(), quad.begin(), quad.end());
    }
    BindVertices(*device.Get(), vertices);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device->BeginScene();
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 6);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 12, 2); // passes only where nothing is nearer
    device->SetRenderState(D3DRS_ZENABLE, 0);
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 12, 2); // blends over every pixel
    device->EndScene();
    constexpr std::uint64_t Pixels = std::uint64_t{Width} * Height;
    EXPECT_EQ(device->FrameCounters().Fragments, 5 * Pixels);
    EXPECT_EQ(device->FrameCounters().PixelsShaded, 2 * Pixels);
}

} // namespace

namespace {

// One frame of the kept-device test: a textured quad over most of the screen, a lit square
// that moves, and perhaps a blended banner over both.
struct TKeptFrame {
    const char* Name;
    float SquareX;
    float SquareDepth; // the textured quad lies at 0.7
    std::uint32_t ClearColor;
    unsigned TexelSeed;
    bool Banner;
    bool ClearRectFirst; // a rectangle cleared at once before the frame
    bool MostlyKept;     // most pixels keep the colour the frame before gave them
};

std::vector<std::uint32_t> TexelsFor(unsigned seed) {
    TSeries series(seed);
    std::vector<std::uint32_t> texels(16 * 8);
    for (std::uint32_t& texel : texels) {
        texel = series.NextBits();
    }
    return texels;
}

void Rewrite(IDirect3DTexture8& texture, const std::vector<std::uint32_t>& texels) {
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture.LockRect(0, &locked, nullptr, 0), D3D_OK);
    std::copy(texels.begin(), texels.end(), static_cast<std::uint32_t*>(locked.pBits));
    ASSERT_EQ(texture.UnlockRect(0), D3D_OK);
}

std::vector<std::uint32_t> DrawKeptFrame(IDirect3DDevice8& device, IDirect3DTexture8& texture,
                                         const TKeptFrame& frame) {
    if (frame.ClearRectFirst) {
        const D3DRECT rect{40, 30, 170, 120};
        EXPECT_EQ(device.Clear(1, &rect, D3DCLEAR_TARGET, 0x00FF00FF, 1.0f, 0), D3D_OK);
    }
    std::vector<TTestVertex> vertices = FullScreenQuad(0.7f, 0, 3, 0, 2);
    for (TTestVertex& vertex : vertices) {
        vertex.X = vertex.X * 0.8f - 0.2f; // the clear colour shows at the right
    }
    for (TTestVertex corner : FullScreenQuad(frame.SquareDepth)) { // the square, x from SquareX
        corner.X = frame.SquareX + (corner.X + 1) * 0.2f;
        corner.Y = corner.Y * 0.4f + 0.1f;
        vertices.push_back(corner);
    }
    std::vector<TTestVertex> banner = FullScreenQuad(0.3f, 0, 1, 0, 1);
    for (TTestVertex& corner : banner) { // a third of the screen
        corner.X *= 0.8f;
        corner.Y *= 0.8f;
    }
    vertices.insert(vertices.end(), banner.begin(), banner.begin() + 3);
    BindVertices(device, vertices);
    EXPECT_EQ(
        device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, frame.ClearColor, 1.0f, 0),
        D3D_OK);
    EXPECT_EQ(device.BeginScene(), D3D_OK);
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    device.SetRenderState(D3DRS_LIGHTING, 0);
    device.SetTexture(0, &texture);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
    device.SetTexture(0, nullptr);
    device.SetRenderState(D3DRS_LIGHTING, 1);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, 6, 2), D3D_OK);
    if (frame.Banner) {
        device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
        device.SetTexture(0, &texture);
        EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, 12, 1), D3D_OK);
        device.SetTexture(0, nullptr);
    }
    EXPECT_EQ(device.EndScene(), D3D_OK);
    return ReadPixels(device);
}

} // namespace

// A kept device shades only the pixels whose fragment differs from the frame before; each of
// its frames must still be the picture a fresh device draws, whatever changed in between.
TEST(ReferenceDeviceDeferredTiles, AKeptDeviceDrawsEveryFrameAsAFreshOneDoes) {
    const TKeptFrame frames[] = {
        {"the first frame", 0.0f, 0.5f, 0x00102030, 1, false, false, false},
        {"the square moved", 0.1f, 0.5f, 0x00102030, 1, false, false, true},
        {"the texture rewritten", 0.1f, 0.5f, 0x00102030, 2, false, false, false},
        {"another clear colour", 0.1f, 0.5f, 0x00405060, 2, false, false, true},
        {"a banner blended over", 0.2f, 0.5f, 0x00405060, 2, true, false, true},
        {"the banner again", 0.3f, 0.5f, 0x00405060, 2, true, false, false},
        {"the banner gone", 0.3f, 0.5f, 0x00405060, 2, false, false, true},
        // Partly hidden by the quad: only where it shows may the picture change.
        {"the square gone behind", 0.35f, 0.9f, 0x00405060, 2, false, false, true},
        {"the square moved behind", 0.45f, 0.9f, 0x00405060, 2, false, false, true},
        {"the square as deep as the quad", 0.45f, 0.7f, 0x00405060, 2, false, false, true},
        {"a rectangle cleared before", 0.4f, 0.5f, 0x00405060, 2, false, true, false},
    };
    TPatchingWindow window(Width, Height);
    auto kept = MakeDevice(ETileShading::Deferred, 2, &window);
    const auto keptTexture = MakeTexture(*kept.Get(), 16, 8, TexelsFor(1));
    unsigned keptSeed = 1;
    for (const TKeptFrame& frame : frames) {
        auto fresh = MakeDevice(ETileShading::Immediate, 1);
        const auto freshTexture = MakeTexture(*fresh.Get(), 16, 8, TexelsFor(frame.TexelSeed));
        const std::vector<std::uint32_t> expected =
            DrawKeptFrame(*fresh.Get(), *freshTexture.Get(), frame);
        if (frame.TexelSeed != keptSeed) {
            Rewrite(*keptTexture.Get(), TexelsFor(frame.TexelSeed));
            keptSeed = frame.TexelSeed;
        }
        EXPECT_EQ(DrawKeptFrame(*kept.Get(), *keptTexture.Get(), frame), expected) << frame.Name;
        EXPECT_EQ(kept->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        EXPECT_EQ(window.Picture, expected) << frame.Name << ", as the window shows it";
        const std::uint64_t shaded = kept->FrameCounters().PixelsShaded;
        EXPECT_EQ(shaded < std::uint64_t{Width} * Height / 2, frame.MostlyKept)
            << frame.Name << ": " << shaded << " pixels shaded";
    }
}
