#pragma once
// A texture of the hardware device: a system copy that LockRect hands out, and an OpenGL
// texture the device fills from it when the texture is next drawn with. Only the top level
// exists; 32-bit texels, memory row 0 at texture coordinate v = 0.

#include "platform/d3d/opengl/GLResourceLink.h"
#include "platform/interfaces/D3D8.h"

#include <cstdint>
#include <vector>

class TGLTexture final : public IDirect3DTexture8 {
public:
    // An A8R8G8B8 texture of a validated size; throws std::bad_alloc.
    TGLTexture(TGLResourceLinkRef link, UINT width, UINT height);

    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;
    UINT Width() const override { return TexelWidth; }
    UINT Height() const override { return TexelHeight; }

    bool BelongsTo(const TGLResourceLink* link) const { return Link.get() == link; }
    // Names the content: a new stamp at every lock and unlock.
    std::uint64_t ContentStamp() const { return Stamp; }
    // Binds it to GL_TEXTURE_2D of the active unit, creating or refreshing the OpenGL copy
    // first; the device's context must be current.
    void Bind(TGLFunctions& gl);

private:
    ~TGLTexture() override;

    TGLResourceLinkRef Link;
    UINT TexelWidth;
    UINT TexelHeight;
    std::vector<std::uint32_t> Texels;
    GLuint Name = 0;
    bool Locked = false;
    std::uint64_t Stamp;
    // Rows changed since the last upload, [DirtyTop, DirtyBottom); empty when equal.
    UINT DirtyTop = 0;
    UINT DirtyBottom = 0;
};
