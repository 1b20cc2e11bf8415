#pragma once
// Helpers for driving an offscreen reference device in tests: vertices, textures, a device
// with identity transforms (clip space = the coordinates given) and pixel read-back.

#include "platform/d3d/D3D8.h"

#include <cstdint>
#include <vector>

struct TTestVertex {
    float X, Y, Z;
    float Nx, Ny, Nz;
    float U, V;
};

// An offscreen device of the given size, depth buffer on, identity transforms, lighting
// off, culling off, vertex format set.
TComRef<IDirect3DDevice8> MakeTestDevice(UINT width, UINT height, unsigned threads = 1);

// Creates a vertex buffer holding `vertices` and binds it as the stream.
void BindVertices(IDirect3DDevice8& device, const std::vector<TTestVertex>& vertices);

// A texture whose rows (row 0 first) hold `texels`.
TComRef<IDirect3DTexture8> MakeTexture(IDirect3DDevice8& device, UINT width, UINT height,
                                       const std::vector<std::uint32_t>& texels);

// Two triangles covering clip-space x, y in [-1, 1] at depth z, with u running left to
// right over [u0, u1] and v bottom to top over [v0, v1].
std::vector<TTestVertex> FullScreenQuad(float z, float u0 = 0, float u1 = 1, float v0 = 0,
                                        float v1 = 1);

// The same over the left or the right half of the screen.
std::vector<TTestVertex> HalfScreenQuad(float z, bool left);

// Runs one scene: clear to `clearColor`, draw every vertex of the bound stream, end.
void DrawScene(IDirect3DDevice8& device, UINT triangleCount, std::uint32_t clearColor = 0);

std::vector<std::uint32_t> ReadPixels(IDirect3DDevice8& device);
std::uint32_t PixelAt(IDirect3DDevice8& device, UINT x, UINT y);

inline int Red(std::uint32_t c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline int Green(std::uint32_t c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int Blue(std::uint32_t c) {
    return static_cast<int>(c & 0xFF);
}
