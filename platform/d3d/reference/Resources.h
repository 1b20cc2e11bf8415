#pragma once
// The resources of the software device: textures (one 32-bit ARGB level, kept in the
// device's own memory like a managed texture) and vertex buffers.

#include "platform/d3d/reference/RasterTypes.h"
#include "platform/interfaces/D3D8.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Reference {

// Makes texels.Bordered and texels.Turned anew from texels.Pixels.
void MakeBordered(TTexels& texels);

class TTexture final : public IDirect3DTexture8 {
public:
    TTexture(UINT width, UINT height);

    // Level 0 only; rows as locked, row 0 first. Locking copies the texels first if a queued
    // frame still samples them, so what was drawn before the lock keeps its old texels.
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;
    UINT Width() const override { return Texels->Width; }
    UINT Height() const override { return Texels->Height; }

    // The texels to sample now; the caller holds them until its frame is drawn.
    std::shared_ptr<const TTexels> Snapshot() const { return Texels; }
    // Names this texture's present contents: unique among all resources of the process, and
    // new with every lock and unlock, since the texels may be rewritten in between.
    std::uint64_t ContentStamp() const { return Stamp; }

private:
    std::shared_ptr<TTexels> Texels;
    std::uint64_t Stamp;
    bool Locked = false;
};

class TVertexBuffer final : public IDirect3DVertexBuffer8 {
public:
    explicit TVertexBuffer(UINT length);

    // size 0 locks from offset to the end. One lock at a time.
    HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override;
    HRESULT Unlock() override;

    bool IsLocked() const { return Locked; }
    const std::vector<BYTE>& Bytes() const { return Data; }
    // As TTexture::ContentStamp.
    std::uint64_t ContentStamp() const { return Stamp; }

private:
    std::vector<BYTE> Data;
    std::uint64_t Stamp;
    bool Locked = false;
};

} // namespace Reference
