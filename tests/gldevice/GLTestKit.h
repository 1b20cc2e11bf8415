#pragma once
// What the device tests share: a window to draw into, vertices and textures made in a line,
// and a frame read back with its pixels addressed by column and row.

#include "platform/d3d/D3D8.h"
#include "platform/d3d/DeviceWidget.h"

#include <cstdint>
#include <memory>
#include <vector>

// The layout of vertex format 0x112.
struct TTestVertex {
    float X = 0, Y = 0, Z = 0;
    float Nx = 0, Ny = 0, Nz = 0;
    float U = 0, V = 0;
};

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
