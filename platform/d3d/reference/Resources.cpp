#include "platform/d3d/reference/Resources.h"

#include "platform/d3d/ContentStamp.h"
#include "platform/d3d/ResourceLocks.h"

#include <algorithm>

namespace Reference {

void MakeBordered(TTexels& texels) {
    const std::size_t width = texels.Width;
    const std::size_t height = texels.Height;
    texels.Bordered.resize((height + 1) * (width + 1));
    for (std::size_t y = 0; y <= height; ++y) {
        const std::uint32_t* row = texels.Pixels.data() + (y < height ? y : 0) * width;
        std::uint32_t* bordered = texels.Bordered.data() + y * (width + 1);
        std::copy_n(row, width, bordered);
        bordered[width] = row[0];
    }
    texels.Turned.resize(texels.Bordered.size());
    for (std::size_t x = 0; x <= width; ++x) {
        std::uint32_t* turned = texels.Turned.data() + x * (height + 1);
        for (std::size_t y = 0; y <= height; ++y) {
            turned[y] = texels.Bordered[y * (width + 1) + x];
        }
    }
}

TTexture::TTexture(UINT width, UINT height)
    : Texels(std::make_shared<TTexels>()), Stamp(NewContentStamp()) {
    Texels->Width = width;
    Texels->Height = height;
    Texels->Pixels.assign(static_cast<std::size_t>(width) * height, 0);
    MakeBordered(*Texels);
}

HRESULT TTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    RECT area{};
    const HRESULT checked =
        CheckTextureLock(level, locked, rect, Locked, Texels->Width, Texels->Height, area);
    if (Failed(checked)) {
        return checked;
    }
    if (Texels.use_count() > 1) {
        Texels = std::make_shared<TTexels>(*Texels);
    }
    Locked = true;
    Stamp = NewContentStamp();
    locked->Pitch = static_cast<std::int32_t>(Texels->Width * 4);
    locked->pBits =
        Texels->Pixels.data() + static_cast<std::size_t>(area.top) * Texels->Width + area.left;
    return D3D_OK;
}

HRESULT TTexture::UnlockRect(UINT level) {
    if (level != 0 || !Locked) {
        return D3DERR_INVALIDCALL;
    }
    Locked = false;
    MakeBordered(*Texels);
    // Writes may go on until here, after a draw has already seen the stamp of the lock.
    Stamp = NewContentStamp();
    return D3D_OK;
}

TVertexBuffer::TVertexBuffer(UINT length) : Data(length, 0), Stamp(NewContentStamp()) {}

HRESULT TVertexBuffer::Lock(UINT offset, UINT size, BYTE** data, DWORD) {
    std::size_t end = 0;
    const HRESULT checked = CheckBufferLock(offset, size, data, Locked, Data.size(), end);
    if (Failed(checked)) {
        return checked;
    }
    Locked = true;
    Stamp = NewContentStamp();
    *data = Data.data() + offset;
    return D3D_OK;
}

HRESULT TVertexBuffer::Unlock() {
    if (!Locked) {
        return D3DERR_INVALIDCALL;
    }
    Locked = false;
    Stamp = NewContentStamp();
    return D3D_OK;
}

} // namespace Reference
