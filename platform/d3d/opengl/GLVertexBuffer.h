#pragma once
// A vertex buffer of the hardware device: a system copy that Lock hands out, and one OpenGL
// buffer object the device fills from it when the buffer is next drawn from.

#include "platform/d3d/opengl/GLResourceLink.h"
#include "platform/interfaces/D3D8.h"

#include <cstdint>
#include <vector>

class TGLVertexBuffer final : public IDirect3DVertexBuffer8 {
public:
    // Expects a validated length; throws std::bad_alloc.
    TGLVertexBuffer(TGLResourceLinkRef link, UINT length);

    // A size of 0 locks from the offset to the end of the buffer.
    HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override;
    HRESULT Unlock() override;

    UINT Length() const { return static_cast<UINT>(Bytes.size()); }
    bool IsLocked() const { return Locked; }
    bool BelongsTo(const TGLResourceLink* link) const { return Link.get() == link; }
    // Names the content: a new stamp at every lock and unlock.
    std::uint64_t ContentStamp() const { return Stamp; }
    // Binds it to GL_ARRAY_BUFFER, creating or refreshing the OpenGL copy first; the device's
    // context must be current.
    void Bind(TGLFunctions& gl);

private:
    ~TGLVertexBuffer() override;

    TGLResourceLinkRef Link;
    std::vector<BYTE> Bytes;
    GLuint Name = 0;
    bool Locked = false;
    std::uint64_t Stamp;
    // Bytes changed since the last upload, [DirtyBegin, DirtyEnd); empty when equal.
    UINT DirtyBegin = 0;
    UINT DirtyEnd = 0;
};
