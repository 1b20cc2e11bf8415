#include "platform/d3d/FixedFunctionDevice.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr DWORD KnownClearFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;

bool IsResourcePool(D3DPOOL pool) {
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED || pool == D3DPOOL_SYSTEMMEM;
}

} // namespace

HRESULT CheckTextureRequest(UINT width, UINT height, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            UINT sideLimit, IDirect3DTexture8** texture) {
    if (texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    const UINT limit = std::min(sideLimit, MaxTextureSide);
    if (width == 0 || height == 0 || width > limit || height > limit || usage != 0 ||
        format != D3DFMT_A8R8G8B8 || pool != D3DPOOL_MANAGED) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT CheckVertexBufferRequest(UINT length, DWORD fvf, D3DPOOL pool,
                                 IDirect3DVertexBuffer8** buffer) {
    if (buffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *buffer = nullptr;
    // Usage flags only hint at how the buffer is used; any is accepted.
    if (length == 0 || (fvf == DrawnVertexFormat && length < DrawnVertexSize) ||
        !IsResourcePool(pool)) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

bool ClipToBackBuffer(const D3DRECT& rect, int width, int height, TPixelRect& clipped) {
    clipped.Left = std::clamp(rect.x1, 0, width);
    clipped.Top = std::clamp(rect.y1, 0, height);
    clipped.Right = std::clamp(rect.x2, 0, width);
    clipped.Bottom = std::clamp(rect.y2, 0, height);
    return clipped.Left < clipped.Right && clipped.Top < clipped.Bottom;
}

TFixedFunctionDevice::TFixedFunctionDevice(D3DDEVTYPE type, bool hasDepthBuffer)
    : DeviceType(type), HasDepth(hasDepthBuffer), State(hasDepthBuffer) {}

HRESULT TFixedFunctionDevice::GetDeviceCaps(D3DCAPS8* caps) {
    if (caps == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *caps = D3DCAPS8{};
    caps->DeviceType = DeviceType;
    caps->AdapterOrdinal = D3DADAPTER_DEFAULT;
    caps->DevCaps = RasterizesInHardware ? D3DDEVCAPS_HWRASTERIZATION : 0;
    return D3D_OK;
}

HRESULT TFixedFunctionDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color,
                                    float z, DWORD) {
    const bool clearDepth = (flags & D3DCLEAR_ZBUFFER) != 0;
    // There is never a stencil buffer, and a depth clear needs a depth buffer.
    if (flags == 0 || (flags & ~KnownClearFlags) != 0 || (flags & D3DCLEAR_STENCIL) != 0 ||
        (clearDepth && !HasDepth) || (count != 0 && rects == nullptr) ||
        !(z >= 0.0f && z <= 1.0f)) {
        return D3DERR_INVALIDCALL;
    }
    if (!SceneOpen) {
        const HRESULT sized = FollowWindow();
        if (Failed(sized)) {
            return sized;
        }
    }
    return ClearBuffers(count, count != 0 ? rects : nullptr, (flags & D3DCLEAR_TARGET) != 0, color,
                        clearDepth, z);
}

HRESULT TFixedFunctionDevice::BeginScene() {
    if (SceneOpen) {
        return D3DERR_INVALIDCALL;
    }
    HRESULT result = FollowWindow();
    if (Succeeded(result)) {
        result = StartScene();
    }
    if (Failed(result)) {
        return result;
    }
    SceneOpen = true;
    Counters = TFrameCounters{};
    return D3D_OK;
}

HRESULT TFixedFunctionDevice::EndScene() {
    if (!SceneOpen) {
        return D3DERR_INVALIDCALL;
    }
    SceneOpen = false;
    FinishScene();
    return D3D_OK;
}

HRESULT TFixedFunctionDevice::Present(const RECT* source, const RECT* dest, HWND overrideWindow,
                                      const void* dirtyRegion) {
    if (source != nullptr || dest != nullptr || overrideWindow != nullptr ||
        dirtyRegion != nullptr || SceneOpen) {
        return D3DERR_INVALIDCALL;
    }
    return ShowFrame();
}

HRESULT TFixedFunctionDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    return State.SetRenderState(state, value);
}

HRESULT TFixedFunctionDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD value) {
    return State.SetTextureStageState(stage, type, value);
}

HRESULT TFixedFunctionDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
    return State.SetLight(index, light);
}

HRESULT TFixedFunctionDevice::LightEnable(DWORD index, BOOL enable) {
    return State.LightEnable(index, enable);
}

HRESULT TFixedFunctionDevice::SetMaterial(const D3DMATERIAL8* material) {
    return State.SetMaterial(material);
}

HRESULT TFixedFunctionDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    return State.SetTransform(state, matrix);
}

HRESULT TFixedFunctionDevice::SetVertexShader(DWORD fvf) {
    if (fvf != DrawnVertexFormat) {
        return D3DERR_INVALIDCALL;
    }
    VertexFormat = fvf;
    return D3D_OK;
}

HRESULT TFixedFunctionDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex,
                                            UINT primitiveCount) {
    const TStreamView stream = Stream();
    if (!SceneOpen || type != D3DPT_TRIANGLELIST || !stream.Bound || stream.Locked ||
        VertexFormat != DrawnVertexFormat) {
        return D3DERR_INVALIDCALL;
    }
    if (primitiveCount == 0) {
        return D3D_OK;
    }
    // In 64 bits, so that no start and count can wrap round into the buffer.
    const std::uint64_t lastVertex = std::uint64_t{startVertex} + 3ull * primitiveCount - 1;
    if (lastVertex * stream.Stride + DrawnVertexSize > stream.Length) {
        return D3DERR_INVALIDCALL;
    }
    const HRESULT drawn = DrawTriangleList(startVertex, primitiveCount);
    if (Succeeded(drawn)) {
        ++Counters.DrawCalls;
        Counters.Triangles += primitiveCount;
    }
    return drawn;
}
