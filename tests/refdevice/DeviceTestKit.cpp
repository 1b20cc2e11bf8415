#include "tests/refdevice/DeviceTestKit.h"

#include <algorithm>
#include <span>

#include <cstring>

D3DPRESENT_PARAMETERS OffscreenParameters(UINT width, UINT height) {
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferWidth = width;
    params.BackBufferHeight = height;
    params.Windowed = 1;
    params.EnableAutoDepthStencil = 1;
    params.AutoDepthStencilFormat = D3DFMT_D16;
    return params;
}

HRESULT FillVertexBuffer(IDirect3DDevice8& device, const std::vector<TTestVertex>& vertices,
                         TComRef<IDirect3DVertexBuffer8>& buffer) {
    constexpr DWORD Format = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
    const auto length = static_cast<UINT>(vertices.size() * sizeof(TTestVertex));
    HRESULT result = device.CreateVertexBuffer(length, 0, Format, D3DPOOL_DEFAULT, buffer.Put());
    BYTE* data = nullptr;
    if (Succeeded(result)) {
        result = buffer->Lock(0, length, &data, 0);
    }
    if (Succeeded(result)) {
        std::memcpy(data, vertices.data(), length);
        result = buffer->Unlock();
    }
    return result;
}

HRESULT FillTexture(IDirect3DDevice8& device, UINT width, UINT height,
                    const std::vector<std::uint32_t>& texels, TComRef<IDirect3DTexture8>& texture) {
    if (texels.size() < std::size_t{width} * height) {
        return D3DERR_INVALIDCALL;
    }
    HRESULT result =
        device.CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Put());
    D3DLOCKED_RECT locked{};
    if (Succeeded(result)) {
        result = texture->LockRect(0, &locked, nullptr, 0);
    }
    if (Failed(result)) {
        return result;
    }
    for (UINT row = 0; row < height; ++row) {
        std::memcpy(static_cast<BYTE*>(locked.pBits) + std::size_t{row} * locked.Pitch,
                    texels.data() + std::size_t{row} * width, width * sizeof(std::uint32_t));
    }
    return texture->UnlockRect(0);
}

D3DLIGHT8 PointLight(float level, D3DVECTOR position, float range, float attenuation1) {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = light.Specular = light.Ambient = {level, level, level, 0.0f};
    light.Position = position;
    light.Range = range;
    light.Attenuation0 = 1.0f;
    light.Attenuation1 = attenuation1;
    return light;
}

void TPatchingWindow::ClientSize(UINT& width, UINT& height) const {
    width = Width;
    height = Height;
}

void TPatchingWindow::ShowPixels(const std::uint32_t* pixels, UINT width, UINT height,
                                 const TFrameArea* changed, std::size_t changedCount) {
    const std::size_t pixelCount = std::size_t{width} * height;
    if (changed == nullptr || Picture.size() != pixelCount) {
        Picture.assign(pixels, pixels + pixelCount);
        return;
    }
    for (const TFrameArea& area : std::span(changed, changedCount)) {
        for (int y = area.Top; y < area.Bottom; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * width;
            std::copy(pixels + row + area.Left, pixels + row + area.Right,
                      Picture.begin() + static_cast<std::ptrdiff_t>(row + area.Left));
        }
    }
}
