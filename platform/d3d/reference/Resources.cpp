#include "platform/d3d/reference/Resources.h"

namespace Reference {

TTexture::TTexture(UINT width, UINT height) : Texels(std::make_shared<TTexels>()) {
    Texels->Width = width;
    Texels->Height = height;
    Texels->Pixels.assign(static_cast<std::size_t>(width) * height, 0);
}

HRESULT TTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    if (level != 0 || locked == nullptr || Locked) {
        return D3DERR_INVALIDCALL;
    }
    const auto width = static_cast<std::int32_t>(Texels->Width);
    const auto height = static_cast<std::int32_t>(Texels->Height);
    std::int32_t left = 0;
    std::int32_t top = 0;
    if (rect != nullptr) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
            rect->top >= rect->bottom || rect->right > width || rect->bottom > height) {
            return D3DERR_INVALIDCALL;
        }
        left = rect->left;
        top = rect->top;
    }
    if (Texels.use_count() > 1) {
        Texels = std::make_shared<TTexels>(*Texels);
    }
    Locked = true;
    locked->Pitch = width * 4;
    locked->pBits = Texels->Pixels.data() + static_cast<std::size_t>(top) * width + left;
    return D3D_OK;
}

HRESULT TTexture::UnlockRect(UINT level) {
    if (level != 0 || !Locked) {
        return D3DERR_INVALIDCALL;
    }
    Locked = false;
    return D3D_OK;
}

TVertexBuffer::TVertexBuffer(UINT length) : Data(length, 0) {}

HRESULT TVertexBuffer::Lock(UINT offset, UINT size, BYTE** data, DWORD) {
    if (data == nullptr || Locked || offset > Data.size() || size > Data.size() - offset) {
        return D3DERR_INVALIDCALL;
    }
    Locked = true;
    *data = Data.data() + offset;
    return D3D_OK;
}

HRESULT TVertexBuffer::Unlock() {
    if (!Locked) {
        return D3DERR_INVALIDCALL;
    }
    Locked = false;
    return D3D_OK;
}

} // namespace Reference
