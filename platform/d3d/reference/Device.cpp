#include "platform/d3d/reference/Device.h"

#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/reference/ReferenceDevice.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace Reference {

TDevice::TDevice(int width, int height, bool hasDepth, HWND window, unsigned threadCount)
    : Window(window), Renderer(width, height, hasDepth, threadCount), States(hasDepth) {}

HRESULT TDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                       DWORD) {
    constexpr DWORD KnownFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    const bool clearDepth = (flags & D3DCLEAR_ZBUFFER) != 0;
    // There is never a stencil buffer, and a depth clear needs a depth buffer.
    if (flags == 0 || (flags & ~KnownFlags) != 0 || (flags & D3DCLEAR_STENCIL) != 0 ||
        (clearDepth && !Renderer.HasDepth()) || (count != 0 && rects == nullptr) ||
        !(z >= 0.0f && z <= 1.0f)) {
        return D3DERR_INVALIDCALL;
    }
    const bool clearColor = (flags & D3DCLEAR_TARGET) != 0;
    // The back buffer has no alpha channel of its own: pixels are always opaque.
    const std::uint32_t value = color | 0xFF000000u;
    if (count == 0) {
        Renderer.ClearAll(clearColor, value, clearDepth, z);
        return D3D_OK;
    }
    for (DWORD i = 0; i < count; ++i) {
        const D3DRECT& r = rects[i];
        const int x1 = std::clamp(r.x1, 0, Renderer.Width());
        const int y1 = std::clamp(r.y1, 0, Renderer.Height());
        const int x2 = std::clamp(r.x2, 0, Renderer.Width());
        const int y2 = std::clamp(r.y2, 0, Renderer.Height());
        if (x1 < x2 && y1 < y2) {
            Renderer.ClearRect(x1, y1, x2, y2, clearColor, value, clearDepth, z);
        }
    }
    return D3D_OK;
}

HRESULT TDevice::BeginScene() {
    if (InScene) {
        return D3DERR_INVALIDCALL;
    }
    InScene = true;
    Counters = TFrameCounters{};
    return D3D_OK;
}

HRESULT TDevice::EndScene() {
    if (!InScene) {
        return D3DERR_INVALIDCALL;
    }
    InScene = false;
    Renderer.Flush();
    return D3D_OK;
}

HRESULT TDevice::Present(const RECT*, const RECT*, HWND overrideWindow, const void*) {
    if (InScene) {
        return D3DERR_INVALIDCALL;
    }
    Renderer.Flush();
    TDeviceWindow* target = overrideWindow != nullptr ? overrideWindow : Window;
    if (target != nullptr) {
        target->ShowPixels(Renderer.Colors().data(), static_cast<UINT>(Renderer.Width()),
                           static_cast<UINT>(Renderer.Height()));
    }
    return D3D_OK;
}

HRESULT TDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    return States.SetRenderState(state, value);
}

HRESULT TDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    return States.SetTextureStageState(stage, type, value);
}

HRESULT TDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
    return States.SetLight(index, light);
}

HRESULT TDevice::LightEnable(DWORD index, BOOL enable) {
    return States.LightEnable(index, enable);
}

HRESULT TDevice::SetMaterial(const D3DMATERIAL8* material) {
    return States.SetMaterial(material);
}

HRESULT TDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    return States.SetTransform(state, matrix);
}

HRESULT TDevice::SetTexture(DWORD stage, IDirect3DTexture8* texture) {
    if (stage != 0) {
        return D3DERR_INVALIDCALL;
    }
    if (texture == nullptr) {
        Texture.Reset();
        return D3D_OK;
    }
    auto* own = dynamic_cast<TTexture*>(texture);
    if (own == nullptr) {
        return D3DERR_INVALIDCALL; // a texture of another device
    }
    Texture = TComRef<TTexture>::Share(own);
    return D3D_OK;
}

HRESULT TDevice::CreateTexture(UINT width, UINT height, UINT, DWORD usage, D3DFORMAT format,
                               D3DPOOL pool, IDirect3DTexture8** texture) {
    if (texture == nullptr || width == 0 || height == 0 || width > MaxTextureSize ||
        height > MaxTextureSize || usage != 0 || format != D3DFMT_A8R8G8B8 ||
        pool != D3DPOOL_MANAGED) {
        return D3DERR_INVALIDCALL;
    }
    try {
        *texture = new TTexture(width, height);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT TDevice::CreateVertexBuffer(UINT length, DWORD, DWORD fvf, D3DPOOL pool,
                                    IDirect3DVertexBuffer8** buffer) {
    if (buffer == nullptr || length == 0 ||
        (fvf == SupportedVertexFormat && length < SupportedVertexSize) ||
        (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED && pool != D3DPOOL_SYSTEMMEM)) {
        return D3DERR_INVALIDCALL;
    }
    try {
        *buffer = new TVertexBuffer(length);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT TDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    if (stream != 0) {
        return D3DERR_INVALIDCALL;
    }
    if (buffer == nullptr) {
        Stream.Reset();
        StreamStride = 0;
        return D3D_OK;
    }
    auto* own = dynamic_cast<TVertexBuffer*>(buffer);
    if (own == nullptr || stride < SupportedVertexSize) {
        return D3DERR_INVALIDCALL;
    }
    Stream = TComRef<TVertexBuffer>::Share(own);
    StreamStride = stride;
    return D3D_OK;
}

HRESULT TDevice::SetVertexShader(DWORD fvf) {
    if (fvf != SupportedVertexFormat) {
        return D3DERR_INVALIDCALL;
    }
    VertexFormat = fvf;
    return D3D_OK;
}

HRESULT TDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    if (!InScene || type != D3DPT_TRIANGLELIST || !Stream || Stream->IsLocked() ||
        VertexFormat != SupportedVertexFormat) {
        return D3DERR_INVALIDCALL;
    }
    if (primitiveCount == 0) {
        return D3D_OK;
    }
    const std::uint64_t vertexCount = 3ull * primitiveCount;
    const std::uint64_t lastByte =
        (static_cast<std::uint64_t>(startVertex) + vertexCount - 1) * StreamStride +
        SupportedVertexSize;
    const std::vector<BYTE>& bytes = Stream->Bytes();
    if (lastByte > bytes.size()) {
        return D3DERR_INVALIDCALL;
    }
    ++Counters.DrawCalls;
    Counters.Triangles += primitiveCount;
    DrawTriangles(bytes.data() + static_cast<std::size_t>(startVertex) * StreamStride, StreamStride,
                  primitiveCount);
    return D3D_OK;
}

HRESULT TDevice::ReadBackBuffer(std::vector<std::uint32_t>& pixels, UINT& width, UINT& height) {
    Renderer.Flush();
    pixels = Renderer.Colors();
    width = static_cast<UINT>(Renderer.Width());
    height = static_cast<UINT>(Renderer.Height());
    return D3D_OK;
}

} // namespace Reference

HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              unsigned threadCount, IDirect3DDevice8** device) {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *device = nullptr;
    UINT width = params.BackBufferWidth;
    UINT height = params.BackBufferHeight;
    if ((width == 0 || height == 0) && window != nullptr) {
        UINT clientWidth = 0;
        UINT clientHeight = 0;
        window->ClientSize(clientWidth, clientHeight);
        width = width == 0 ? clientWidth : width;
        height = height == 0 ? clientHeight : height;
    }
    const bool hasDepth = params.EnableAutoDepthStencil != 0;
    if (width == 0 || height == 0 || width > Reference::MaxBackBufferSize ||
        height > Reference::MaxBackBufferSize ||
        (hasDepth && params.AutoDepthStencilFormat != D3DFMT_D16)) {
        return D3DERR_INVALIDCALL;
    }
    try {
        *device = new Reference::TDevice(static_cast<int>(width), static_cast<int>(height),
                                         hasDepth, window, threadCount);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::system_error&) {
        return E_FAIL; // no threads to be had
    }
    return D3D_OK;
}

HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              IDirect3DDevice8** device) {
    return CreateReferenceDevice(params, window, 0, device);
}
