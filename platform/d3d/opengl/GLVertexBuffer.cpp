#include "platform/d3d/opengl/GLVertexBuffer.h"

#include <algorithm>
#include <utility>

TGLVertexBuffer::TGLVertexBuffer(TGLResourceLinkRef link, UINT length)
    : Link(std::move(link)), Bytes(length, 0) {}

TGLVertexBuffer::~TGLVertexBuffer() {
    Link->ForgetBuffer(Name);
}

HRESULT TGLVertexBuffer::Lock(UINT offset, UINT size, BYTE** data, DWORD) {
    const UINT length = Length();
    if (data == nullptr || Locked || offset >= length || size > length - offset) {
        return D3DERR_INVALIDCALL;
    }
    const UINT end = size == 0 ? length : offset + size;
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
