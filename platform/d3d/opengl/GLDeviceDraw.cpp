// The hardware device's states, resources and drawing.
#include "platform/d3d/opengl/GLDevice.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

constexpr DWORD KnownVertexParts = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
constexpr UINT PositionBytes = 12;
constexpr UINT NormalBytes = 12;
constexpr UINT TexCoordBytes = 8;

// The vertex formats this device draws: a position, optionally a normal, optionally one pair
// of texture coordinates, in that order.
bool IsDrawableFormat(DWORD fvf) {
    return (fvf & ~KnownVertexParts) == 0 && (fvf & D3DFVF_XYZ) != 0;
}

UINT VertexSize(DWORD fvf) {
    return PositionBytes + ((fvf & D3DFVF_NORMAL) != 0 ? NormalBytes : 0) +
           ((fvf & D3DFVF_TEX1) != 0 ? TexCoordBytes : 0);
}

bool IsPool(D3DPOOL pool) {
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED || pool == D3DPOOL_SYSTEMMEM;
}

UINT FullChainLength(UINT width, UINT height) {
    UINT levels = 1;
    for (UINT size = std::max(width, height); size > 1; size /= 2) {
        ++levels;
    }
    return levels;
}

const void* ByteOffset(UINT offset) {
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offset));
}

} // namespace

HRESULT TGLDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    return State.SetRenderState(state, value);
}

HRESULT TGLDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    return State.SetTextureStageState(stage, type, value);
}

HRESULT TGLDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
    return State.SetLight(index, light);
}

HRESULT TGLDevice::LightEnable(DWORD index, BOOL enable) {
    return State.LightEnable(index, enable);
}

HRESULT TGLDevice::SetMaterial(const D3DMATERIAL8* material) {
    return State.SetMaterial(material);
}

HRESULT TGLDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    return State.SetTransform(state, matrix);
}

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

HRESULT TGLDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                 D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) {
    if (texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const auto limit = static_cast<UINT>(MaxTextureSize);
    if (width == 0 || height == 0 || width > limit || height > limit || usage != 0 ||
        levels > FullChainLength(width, height) || !IsPool(pool) ||
        (format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8)) {
        return D3DERR_INVALIDCALL;
    }
    // Only the top level is made: nothing samples the others.
    try {
        *texture = new TGLTexture(Link, width, height, format);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT TGLDevice::CreateVertexBuffer(UINT length, DWORD, DWORD fvf, D3DPOOL pool,
                                      IDirect3DVertexBuffer8** buffer) {
    if (buffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *buffer = nullptr;
    // Usage flags only hint at how the buffer is used; any is accepted.
    if (length == 0 || !IsPool(pool) ||
        (fvf != 0 && (!IsDrawableFormat(fvf) || length < VertexSize(fvf)))) {
        return D3DERR_INVALIDCALL;
    }
    try {
        *buffer = new TGLVertexBuffer(Link, length);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT TGLDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    auto* own = dynamic_cast<TGLVertexBuffer*>(buffer);
    if (stream != 0 ||
        (buffer != nullptr && (own == nullptr || !own->BelongsTo(Link.get()) || stride == 0))) {
        return D3DERR_INVALIDCALL;
    }
    Stream = TComRef<TGLVertexBuffer>::Share(own);
    StreamStride = stride;
    StreamLayoutChanged = true;
    return D3D_OK;
}

HRESULT TGLDevice::SetVertexShader(DWORD fvf) {
    if (!IsDrawableFormat(fvf)) {
        return D3DERR_INVALIDCALL;
    }
    if (fvf != VertexFormat) {
        VertexFormat = fvf;
        StreamLayoutChanged = true;
    }
    return D3D_OK;
}

HRESULT TGLDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    if (!InScene || type != D3DPT_TRIANGLELIST || primitiveCount == 0 || !Stream ||
        VertexFormat == 0 || Stream->IsLocked() || StreamStride < VertexSize(VertexFormat)) {
        return D3DERR_INVALIDCALL;
    }
    const std::uint64_t vertexCount = std::uint64_t{primitiveCount} * 3;
    const std::uint64_t lastVertex = std::uint64_t{startVertex} + vertexCount - 1;
    if (lastVertex * StreamStride + VertexSize(VertexFormat) > Stream->Length()) {
        return D3DERR_INVALIDCALL;
    }
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
                    static_cast<GLsizei>(vertexCount));
    ++Counters.DrawCalls;
    Counters.Triangles += primitiveCount;
    return D3D_OK;
}

void TGLDevice::BindVertexStream() {
    TGLFunctions& gl = Surface->Gl();
    Stream->Bind(gl); // uploads what was written since the last draw
    if (!StreamLayoutChanged) {
        return;
    }
    const auto stride = static_cast<GLsizei>(StreamStride);
    gl.glEnableVertexAttribArray(PositionAttribute);
    gl.glVertexAttribPointer(PositionAttribute, 3, GL_FLOAT, GL_FALSE, stride, ByteOffset(0));
    UINT offset = PositionBytes;
    if ((VertexFormat & D3DFVF_NORMAL) != 0) {
        gl.glEnableVertexAttribArray(NormalAttribute);
        gl.glVertexAttribPointer(NormalAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                                 ByteOffset(offset));
        offset += NormalBytes;
    } else {
        gl.glDisableVertexAttribArray(NormalAttribute);
    }
    if ((VertexFormat & D3DFVF_TEX1) != 0) {
        gl.glEnableVertexAttribArray(TexCoordAttribute);
        gl.glVertexAttribPointer(TexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                                 ByteOffset(offset));
    } else {
        gl.glDisableVertexAttribArray(TexCoordAttribute);
    }
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
