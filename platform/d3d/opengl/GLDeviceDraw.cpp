// The hardware device's states, resources and drawing.
#include "platform/d3d/opengl/GLDevice.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

const void* ByteOffset(UINT offset) {
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offset));
}

} // namespace

HRESULT TGLDevice::SetTexture(DWORD stage, IDirect3DTexture8* texture) {
    if (stage != 0) {
        return D3DERR_INVALIDCALL;
    }
    auto* own = dynamic_cast<TGLTexture*>(texture);
    if (texture != nullptr && (own == nullptr || !own->BelongsTo(Link.get()))) {
        return D3DERR_INVALIDCALL; // made by another device
    }
    BoundTexture = TComRef<TGLTexture>::Share(own);
    return D3D_OK;
}

HRESULT TGLDevice::CreateTexture(UINT width, UINT height, UINT, DWORD usage, D3DFORMAT format,
                                 D3DPOOL pool, IDirect3DTexture8** texture) {
    // Only the top level is made, whatever the level count: nothing samples the others.
    return CreateChecked(CheckTextureRequest(width, height, usage, format, pool,
                                             static_cast<UINT>(MaxTextureSize), texture),
                         texture, [&] { return new TGLTexture(Link, width, height); });
}

HRESULT TGLDevice::CreateVertexBuffer(UINT length, DWORD, DWORD fvf, D3DPOOL pool,
                                      IDirect3DVertexBuffer8** buffer) {
    return CreateChecked(CheckVertexBufferRequest(length, fvf, pool, buffer), buffer,
                         [&] { return new TGLVertexBuffer(Link, length); });
}

HRESULT TGLDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    auto* own = dynamic_cast<TGLVertexBuffer*>(buffer);
    if (stream != 0 || (buffer != nullptr && (own == nullptr || !own->BelongsTo(Link.get()) ||
                                              stride < DrawnVertexSize))) {
        return D3DERR_INVALIDCALL;
    }
    StreamBuffer = TComRef<TGLVertexBuffer>::Share(own);
    StreamStride = buffer != nullptr ? stride : 0;
    StreamLayoutChanged = true;
    return D3D_OK;
}

TFixedFunctionDevice::TStreamView TGLDevice::Stream() const {
    if (!StreamBuffer) {
        return {};
    }
    return {true, StreamBuffer->IsLocked(), StreamBuffer->Length(), StreamStride};
}

HRESULT TGLDevice::DrawTriangleList(UINT startVertex, UINT primitiveCount) {
    if (!MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    TGLFunctions& gl = Surface->Gl();
    Pipeline.Apply(gl, State.RenderStates(), State.Stage(), HasDepth);
    if (BoundTexture) {
        BoundTexture->Bind(gl);
    } else {
        gl.glBindTexture(GL_TEXTURE_2D, 0);
    }
    UpdateConstants(static_cast<bool>(BoundTexture));
    BindVertexStream();
    gl.glDrawArrays(GL_TRIANGLES, static_cast<GLint>(startVertex),
                    static_cast<GLsizei>(std::uint64_t{primitiveCount} * 3));
    return D3D_OK;
}

void TGLDevice::BindVertexStream() {
    TGLFunctions& gl = Surface->Gl();
    StreamBuffer->Bind(gl); // uploads what was written since the last draw
    if (!StreamLayoutChanged) {
        return;
    }
    const auto stride = static_cast<GLsizei>(StreamStride);
    for (const GLuint attribute : {PositionAttribute, NormalAttribute, TexCoordAttribute}) {
        gl.glEnableVertexAttribArray(attribute);
    }
    gl.glVertexAttribPointer(PositionAttribute, 3, GL_FLOAT, GL_FALSE, stride, ByteOffset(0));
    gl.glVertexAttribPointer(NormalAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                             ByteOffset(DrawnNormalOffset));
    gl.glVertexAttribPointer(TexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                             ByteOffset(DrawnTexCoordOffset));
    StreamLayoutChanged = false;
}

void TGLDevice::UpdateConstants(bool textureBound) {
    if (ConstantsValid && ConstantsVersion == State.Version() &&
        ConstantsTextured == textureBound) {
        return;
    }
    BuildShaderConstants(State, textureBound, Constants);
    Program.Upload(Surface->Gl(), Constants);
    ConstantsVersion = State.Version();
    ConstantsTextured = textureBound;
    ConstantsValid = true;
}
