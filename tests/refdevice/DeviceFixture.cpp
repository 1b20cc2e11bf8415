#include "tests/refdevice/DeviceFixture.h"

#include "platform/d3d/reference/ReferenceDevice.h"

#include <gtest/gtest.h>

#include <cstring>

TComRef<IDirect3DDevice8> MakeTestDevice(UINT width, UINT height, unsigned threads) {
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferWidth = width;
    params.BackBufferHeight = height;
    params.Windowed = 1;
    params.EnableAutoDepthStencil = 1;
    params.AutoDepthStencilFormat = D3DFMT_D16;
    TComRef<IDirect3DDevice8> device;
    EXPECT_EQ(CreateReferenceDevice(params, nullptr, threads, device.Put()), D3D_OK);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetVertexShader(0x112);
    return device;
}

void BindVertices(IDirect3DDevice8& device, const std::vector<TTestVertex>& vertices) {
    const auto length = static_cast<UINT>(vertices.size() * sizeof(TTestVertex));
    TComRef<IDirect3DVertexBuffer8> buffer;
    ASSERT_EQ(device.CreateVertexBuffer(length, 0, 0x112, D3DPOOL_DEFAULT, buffer.Put()), D3D_OK);
    BYTE* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, length, &data, 0), D3D_OK);
    std::memcpy(data, vertices.data(), length);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(device.SetStreamSource(0, buffer.Get(), sizeof(TTestVertex)), D3D_OK);
}

TComRef<IDirect3DTexture8> MakeTexture(IDirect3DDevice8& device, UINT width, UINT height,
                                       const std::vector<std::uint32_t>& texels) {
    TComRef<IDirect3DTexture8> texture;
    EXPECT_EQ(
        device.CreateTexture(width, height, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Put()),
        D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT row = 0; row < height; ++row) {
        std::memcpy(static_cast<BYTE*>(locked.pBits) + static_cast<std::size_t>(row) * locked.Pitch,
                    texels.data() + static_cast<std::size_t>(row) * width, width * 4);
    }
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
}

std::vector<TTestVertex> FullScreenQuad(float z, float u0, float u1, float v0, float v1) {
    const TTestVertex bottomLeft{-1, -1, z, 0, 0, -1, u0, v0};
    const TTestVertex bottomRight{1, -1, z, 0, 0, -1, u1, v0};
    const TTestVertex topLeft{-1, 1, z, 0, 0, -1, u0, v1};
    const TTestVertex topRight{1, 1, z, 0, 0, -1, u1, v1};
    return {topLeft, topRight, bottomLeft, bottomLeft, topRight, bottomRight};
}

std::vector<TTestVertex> HalfScreenQuad(float z, bool left) {
    std::vector<TTestVertex> quad = FullScreenQuad(z);
    for (TTestVertex& v : quad) {
        v.X = left ? (v.X < 0 ? -1.0f : 0.0f) : (v.X < 0 ? 0.0f : 1.0f);
    }
    return quad;
}

void DrawScene(IDirect3DDevice8& device, UINT triangleCount, std::uint32_t clearColor) {
    EXPECT_EQ(device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColor, 1.0f, 0),
              D3D_OK);
    EXPECT_EQ(device.BeginScene(), D3D_OK);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangleCount), D3D_OK);
    EXPECT_EQ(device.EndScene(), D3D_OK);
}

std::vector<std::uint32_t> ReadPixels(IDirect3DDevice8& device) {
    std::vector<std::uint32_t> pixels;
    UINT width = 0;
    UINT height = 0;
    EXPECT_EQ(device.ReadBackBuffer(pixels, width, height), D3D_OK);
    return pixels;
}

std::uint32_t PixelAt(IDirect3DDevice8& device, UINT x, UINT y) {
    std::vector<std::uint32_t> pixels;
    UINT width = 0;
    UINT height = 0;
    device.ReadBackBuffer(pixels, width, height);
    return pixels.at(static_cast<std::size_t>(y) * width + x);
}
