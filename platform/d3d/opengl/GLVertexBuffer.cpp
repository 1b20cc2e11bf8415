#include "platform/d3d/opengl/GLVertexBuffer.h"

#include "platform/d3d/ContentStamp.h"
#include "platform/d3d/ResourceLocks.h"

#include <algorithm>
#include <utility>

TGLVertexBuffer::TGLVertexBuffer(TGLResourceLinkRef link, UINT length)
    : Link(std::move(link)), Bytes(length, 0), Stamp(NewContentStamp()) {}

TGLVertexBuffer::~TGLVertexBuffer() {
    Link->ForgetBuffer(Name);
}

HRESULT TGLVertexBuffer::Lock(UINT offset, UINT size, BYTE** data, DWORD) {
    std::size_t lockEnd = 0;
    const HRESULT checked = CheckBufferLock(offset, size, data, Locked, Bytes.size(), lockEnd);
    if (Failed(checked)) {
        return checked;
    }
    Link->ContentChanging();
    Stamp = NewContentStamp();
    const auto end = static_cast<UINT>(lockEnd);
    *data = Bytes.data() + offset;
    Locked = true;
    if (DirtyBegin == DirtyEnd) {
        DirtyBegin = offset;
        DirtyEnd = end;
    } else {
        DirtyBegin = std::min(DirtyBegin, offset);
        DirtyEnd = std::max(DirtyEnd, end);
    }
    return D3D_OK;
}

HRESULT TGLVertexBuffer::Unlock() {
    if (!Locked) {
        return D3DERR_INVALIDCALL;
    }
    Locked = false;
    // Writes may go on until here, after a draw has already seen the stamp of the lock.
    Stamp = NewContentStamp();
    return D3D_OK;
}

void TGLVertexBuffer::Bind(TGLFunctions& gl) {
    if (Name == 0) {
        gl.glGenBuffers(1, &Name);
        gl.glBindBuffer(GL_ARRAY_BUFFER, Name);
        gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(Bytes.size()), Bytes.data(),
                        GL_STATIC_DRAW);
        DirtyBegin = DirtyEnd = 0;
        return;
    }
    gl.glBindBuffer(GL_ARRAY_BUFFER, Name);
    if (DirtyBegin != DirtyEnd) {
        gl.glBufferSubData(GL_ARRAY_BUFFER, DirtyBegin, DirtyEnd - DirtyBegin,
                           Bytes.data() + DirtyBegin);
        DirtyBegin = DirtyEnd = 0;
    }
}
