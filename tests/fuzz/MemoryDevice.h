#pragma once
// A device that only makes textures, in plain memory with rows wider than the picture, for
// driving the texture loaders without a window. Every other call is refused.

#include "platform/interfaces/D3D8.h"

#include <cstdint>
#include <vector>

// Texels no loader writes: its alpha is zero, so an opaque texture still holding one has a
// row or texel the loader skipped.
constexpr std::uint32_t UnwrittenTexel = 0x00DEAD00;

class TMemoryTexture final : public IDirect3DTexture8 {
public:
    TMemoryTexture(UINT width, UINT height);

    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;
    UINT Width() const override { return TextureWidth; }
    UINT Height() const override { return TextureHeight; }

    // Whether every texel of the picture has an alpha of 255.
    bool AllOpaque() const;

private:
    UINT TextureWidth;
    UINT TextureHeight;
    UINT RowTexels;
    std::vector<std::uint32_t> Texels;
};

class TMemoryDevice final : public IDirect3DDevice8 {
public:
    HRESULT Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override;
    HRESULT GetDeviceCaps(D3DCAPS8* caps) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT*, const RECT*, HWND, const void*) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE, DWORD) override;
    HRESULT SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) override;
    HRESULT SetLight(DWORD, const D3DLIGHT8*) override;
    HRESULT LightEnable(DWORD, BOOL) override;
    HRESULT SetMaterial(const D3DMATERIAL8*) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override;
    HRESULT SetTexture(DWORD, IDirect3DTexture8*) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture8** texture) override;
    HRESULT CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8**) override;
    HRESULT SetStreamSource(UINT, IDirect3DVertexBuffer8*, UINT) override;
    HRESULT SetVertexShader(DWORD) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) override;
    HRESULT ReadBackBuffer(std::vector<std::uint32_t>&, UINT&, UINT&) override;
    TFrameCounters FrameCounters() const override { return {}; }
};
