#include "tests/fuzz/MemoryDevice.h"

#include <algorithm>

namespace {
// Room past each row: a loader that ignored the pitch would write into it.
constexpr UINT RowSlack = 3;
} // namespace

TMemoryTexture::TMemoryTexture(UINT width, UINT height)
    : TextureWidth(width), TextureHeight(height), RowTexels(width + RowSlack),
      Texels(static_cast<std::size_t>(RowTexels) * height, UnwrittenTexel) {}

HRESULT TMemoryTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    if (level != 0 || locked == nullptr || rect != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    locked->Pitch = static_cast<std::int32_t>(RowTexels * sizeof(std::uint32_t));
    locked->pBits = Texels.data();
    return D3D_OK;
}

HRESULT TMemoryTexture::UnlockRect(UINT level) {
    return level == 0 ? D3D_OK : D3DERR_INVALIDCALL;
}

bool TMemoryTexture::AllOpaque() const {
    for (UINT y = 0; y < TextureHeight; ++y) {
        const auto row = Texels.begin() + static_cast<std::ptrdiff_t>(y) * RowTexels;
        if (!std::all_of(row, row + TextureWidth,
                         [](std::uint32_t texel) { return texel >> 24 == 0xFF; })) {
            return false;
        }
    }
    return true;
}

HRESULT TMemoryDevice::CreateTexture(UINT width, UINT height, UINT, DWORD, D3DFORMAT format,
                                     D3DPOOL, IDirect3DTexture8** texture) {
    if (texture == nullptr || width == 0 || height == 0 || format != D3DFMT_A8R8G8B8) {
        return D3DERR_INVALIDCALL;
    }
    *texture = new TMemoryTexture(width, height);
    return D3D_OK;
}

HRESULT TMemoryDevice::Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::GetDeviceCaps(D3DCAPS8*) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::BeginScene() {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::EndScene() {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::Present(const RECT*, const RECT*, HWND, const void*) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::SetRenderState(D3DRENDERSTATETYPE, DWORD) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::SetLight(DWORD, const D3DLIGHT8*) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::LightEnable(DWORD, BOOL) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::SetMaterial(const D3DMATERIAL8*) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::SetTexture(DWORD, IDirect3DTexture8*) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8**) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::SetStreamSource(UINT, IDirect3DVertexBuffer8*, UINT) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::SetVertexShader(DWORD) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) {
    return D3DERR_INVALIDCALL;
}
HRESULT TMemoryDevice::ReadBackBuffer(std::vector<std::uint32_t>&, UINT&, UINT&) {
    return D3DERR_INVALIDCALL;
}
