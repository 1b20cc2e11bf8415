#pragma once
// What the device tests share: a window to draw into, vertices and textures made in a line,
// and a frame read back with its pixels addressed by column and row.

#include "platform/d3d/DeviceWidget.h"
#include "platform/interfaces/D3D8.h"
#include "tests/refdevice/DeviceTestKit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

struct TTestFrame {
    std::vector<std::uint32_t> Pixels;
    UINT Width = 0;
    UINT Height = 0;
    std::uint32_t At(UINT x, UINT y) const { return Pixels[std::size_t{y} * Width + x]; }
};

constexpr int Red(std::uint32_t pixel) {
    return static_cast<int>((pixel >> 16) & 0xFF);
}
constexpr int Green(std::uint32_t pixel) {
    return static_cast<int>((pixel >> 8) & 0xFF);
}
constexpr int Blue(std::uint32_t pixel) {
    return static_cast<int>(pixel & 0xFF);
}

// The two devices agree on a picture when no channel is more than 4 levels apart on all but
// 0.5% of the pixels: the fringe along edges, where the two rasterisers may round a pixel
// centre to different sides of an edge.
testing::AssertionResult PicturesAgree(const std::vector<std::uint32_t>& drawn,
                                       const std::vector<std::uint32_t>& expected);

// Whether this run has a display with OpenGL (the xcb platform); without one the OpenGL
// tests skip with this reason.
bool HasOpenGLDisplay();
constexpr const char* NoDisplayReason =
    "no X display: the OpenGL device is tested under xvfb-run with the xcb platform";

// A shown top-level device widget of the given client size, exposed when this returns.
std::unique_ptr<TDeviceWidget> ShowDeviceWidget(int width, int height);

// Windowed, sized by the window, with a 16-bit depth buffer: what the game asks for.
D3DPRESENT_PARAMETERS GameParameters(HWND window);

// Makes a device through a Direct3D object, as the game does.
HRESULT CreateDevice(D3DDEVTYPE type, D3DPRESENT_PARAMETERS params, IDirect3DDevice8** device);

// Fills a new buffer with the vertices and makes it stream 0 with format 0x112.
TComRef<IDirect3DVertexBuffer8> UseVertices(IDirect3DDevice8& device,
                                            const std::vector<TTestVertex>& vertices);
// A texture holding the texels, row 0 first.
TComRef<IDirect3DTexture8> MakeTexture(IDirect3DDevice8& device, UINT width, UINT height,
                                       const std::vector<std::uint32_t>& texels);
// Two triangles over the whole screen at depth z (identity transforms), clockwise as seen, so
// that the default culling keeps them; u runs left to right, v top to bottom.
std::vector<TTestVertex> ScreenQuad(float z);

TTestFrame ReadFrame(IDirect3DDevice8& device);

// Identity world, view and projection: positions are clip coordinates, depth is z.
void UseIdentityTransforms(IDirect3DDevice8& device);
