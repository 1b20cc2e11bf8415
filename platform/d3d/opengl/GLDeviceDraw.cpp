// The hardware device's states, resources and drawing.
#include "platform/d3d/opengl/GLDevice.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

// OpenGL takes an offset into the bound buffer in the place of a pointer.
const void* ByteOffset(UINT offset) {
    return reinterpret_cast<const void*>( // NOLINT(performance-no-int-to-ptr)
        static_cast<std::uintptr_t>(offset));
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
    return D3D_OK;
}

TFixedFunctionDevice::TStreamView TGLDevice::Stream() const {
    if (!StreamBuffer) {
        return {};
    }
    return {true, StreamBuffer->IsLocked(), StreamBuffer->Length(), StreamStride};
}

HRESULT TGLDevice::DrawTriangleList(UINT startVertex, UINT primitiveCount) {
    RecordFrameStart();
    Signature.AddDraw(State,
                      {BoundTexture ? BoundTexture->ContentStamp() : 0,
                       StreamBuffer->ContentStamp(), StreamStride, startVertex, primitiveCount});
    Queue.AddDraw(State, BoundTexture.Get(), StreamBuffer.Get(), StreamStride, startVertex,
                  primitiveCount);
    return D3D_OK;
}

void TGLDevice::DrawNow(const TGLFrameQueue::TDraw& draw) {
    TGLFunctions& gl = Surface->Gl();
    Pipeline.Apply(gl, draw.State->RenderStates(), draw.State->Stage(), HasDepth);
    if (draw.Texture != nullptr) {
        draw.Texture->Bind(gl);
    } else {
        gl.glBindTexture(GL_TEXTURE_2D, 0);
    }
    UpdateConstants(*draw.State, draw.Texture != nullptr);
    BindVertexStream(*draw.Stream, draw.Stride);
    gl.glDrawArrays(GL_TRIANGLES, static_cast<GLint>(draw.StartVertex),
                    static_cast<GLsizei>(std::uint64_t{draw.PrimitiveCount} * 3));
}

void TGLDevice::BindVertexStream(TGLVertexBuffer& stream, UINT stride) {
    TGLFunctions& gl = Surface->Gl();
    stream.Bind(gl); // uploads what was written since the last draw
    if (LayoutStream.Get() == &stream && LayoutStride == stride) {
        return;
    }
    const auto glStride = static_cast<GLsizei>(stride);
    for (const GLuint attribute : {PositionAttribute, NormalAttribute, TexCoordAttribute}) {
        gl.glEnableVertexAttribArray(attribute);
    }
    gl.glVertexAttribPointer(PositionAttribute, 3, GL_FLOAT, GL_FALSE, glStride, ByteOffset(0));
    gl.glVertexAttribPointer(NormalAttribute, 3, GL_FLOAT, GL_FALSE, glStride,
                             ByteOffset(DrawnNormalOffset));
    gl.glVertexAttribPointer(TexCoordAttribute, 2, GL_FLOAT, GL_FALSE, glStride,
                             ByteOffset(DrawnTexCoordOffset));
    LayoutStream = TComRef<TGLVertexBuffer>::Share(&stream);
    LayoutStride = stride;
}

void TGLDevice::UpdateConstants(const TFixedFunctionState& state, bool textureBound) {
    if (ConstantsValid && ConstantsVersion == state.Version() &&
        ConstantsTextured == textureBound) {
        return;
    }
    BuildShaderConstants(state, textureBound, Constants);
    Program.Upload(Surface->Gl(), Constants);
    ConstantsVersion = state.Version();
    ConstantsTextured = textureBound;
    ConstantsValid = true;
}
