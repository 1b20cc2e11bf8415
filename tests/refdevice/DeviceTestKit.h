#pragma once
// What the device tests and benchmarks share, on either device: the vertex layout drawn, the
// parameters of an offscreen device, filled vertex buffers and textures, and the game's kind
// of point light. Free of the test framework, so benchmarks use it too; every call that can
// fail answers the device's result code for the caller to check.

#include "platform/d3d/DeviceWindow.h"
#include "platform/interfaces/D3D8.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The layout of vertex format 0x112.
struct TTestVertex {
    float X = 0, Y = 0, Z = 0;
    float Nx = 0, Ny = 0, Nz = 0;
    float U = 0, V = 0;
};

// Windowed, with a 16-bit depth buffer and the back buffer size named: an offscreen reference
// device when no window is given.
D3DPRESENT_PARAMETERS OffscreenParameters(UINT width, UINT height);

// A new vertex buffer holding `vertices`.
HRESULT FillVertexBuffer(IDirect3DDevice8& device, const std::vector<TTestVertex>& vertices,
                         TComRef<IDirect3DVertexBuffer8>& buffer);

// A new texture whose rows (row 0 first) hold `texels`, `width` to a row.
HRESULT FillTexture(IDirect3DDevice8& device, UINT width, UINT height,
                    const std::vector<std::uint32_t>& texels, TComRef<IDirect3DTexture8>& texture);

// A point light of grey `level` (diffuse, specular and ambient), constant attenuation 1 and
// linear attenuation `attenuation1`, as the game sets its lights.
D3DLIGHT8 PointLight(float level, D3DVECTOR position, float range, float attenuation1);

// Keeps the frames it is shown as the game's window does: of each frame after the first of its
// size, only the areas it is told changed.
class TPatchingWindow final : public TDeviceWindow {
public:
    TPatchingWindow(UINT width, UINT height) : Width(width), Height(height) {}
    void ClientSize(UINT& width, UINT& height) const override;
    void ShowPixels(const std::uint32_t* pixels, UINT width, UINT height, const TFrameArea* changed,
                    std::size_t changedCount) override;

    std::vector<std::uint32_t> Picture;

private:
    UINT Width, Height;
};
