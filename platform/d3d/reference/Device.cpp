#include "platform/d3d/reference/Device.h"

#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/reference/ReferenceDevice.h"

#include <new>
#include <system_error>

namespace Reference {

TDevice::TDevice(int width, int height, UINT requestedWidth, UINT requestedHeight, bool hasDepth,
                 HWND window, unsigned threadCount, ETileShading shading,
                 std::unique_ptr<TFramePacer> pacer)
    : TFixedFunctionDevice(D3DDEVTYPE_REF, hasDepth), Window(window),
      RequestedWidth(requestedWidth), RequestedHeight(requestedHeight),
      Renderer(width, height, hasDepth, threadCount, shading), Pacer(std::move(pacer)),
      DescribedGeneration(Renderer.BufferGeneration()) {}

void TDevice::RecordFrameStart() {
    if (!FrameRecorded) {
        FrameRecorded = true;
        Signature.StartFrame(Renderer.Width(), Renderer.Height(), Renderer.HasDepth());
    }
}

HRESULT TDevice::FollowWindow() {
    if (Window == nullptr || (RequestedWidth != 0 && RequestedHeight != 0)) {
        return D3D_OK;
    }
    UINT clientWidth = 0;
    UINT clientHeight = 0;
    Window->ClientSize(clientWidth, clientHeight);
    // A minimised or collapsed window keeps the last size.
    if (clientWidth == 0 || clientHeight == 0) {
        return D3D_OK;
    }
    const UINT width = RequestedWidth != 0 ? RequestedWidth : clientWidth;
    const UINT height = RequestedHeight != 0 ? RequestedHeight : clientHeight;
    if (width == static_cast<UINT>(Renderer.Width()) &&
        height == static_cast<UINT>(Renderer.Height())) {
        return D3D_OK;
    }
    if (width > MaxBackBufferSize || height > MaxBackBufferSize) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    try {
        Renderer.Resize(static_cast<int>(width), static_cast<int>(height));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT TDevice::ClearBuffers(DWORD count, const D3DRECT* rects, bool color, D3DCOLOR value,
                              bool depth, float z) {
    RecordFrameStart();
    Signature.AddClear(count, rects, color, value, depth, z);
    // The back buffer has no alpha channel of its own: pixels are always opaque.
    const std::uint32_t opaque = value | 0xFF000000u;
    if (rects == nullptr) {
        Renderer.ClearAll(color, opaque, depth, z);
        return D3D_OK;
    }
    for (DWORD i = 0; i < count; ++i) {
        TPixelRect r;
        if (ClipToBackBuffer(rects[i], Renderer.Width(), Renderer.Height(), r)) {
            Renderer.ClearRect(r.Left, r.Top, r.Right, r.Bottom, color, opaque, depth, z);
        }
    }
    return D3D_OK;
}

void TDevice::FinishScene() {
    // Draws happen only within a scene: the next scene's may repeat this one's.
    Reuse.FinishScene();
    // The record describes the buffers only if nothing has drawn into them since it last
    // did: an early batch, a rectangle clear or a resize would have.
    SceneReused = FrameRecorded && Renderer.BufferGeneration() == DescribedGeneration &&
                  Signature.RepeatsHeldPicture();
    if (SceneReused) {
        Renderer.DiscardQueued();
    } else {
        Renderer.Flush();
        const TFillCounts fill = Renderer.TakeFillCounts();
        CountFill(fill.Fragments, fill.PixelsShaded);
        if (FrameRecorded) {
            Signature.HoldsPicture();
        }
    }
    DescribedGeneration = Renderer.BufferGeneration();
}

HRESULT TDevice::ShowFrame() {
    Renderer.Flush();
    if (Renderer.BufferGeneration() != DescribedGeneration) {
        Signature.ForgetHeldPicture(); // a clear after the scene
    }
    FrameRecorded = false;
    if (Pacer) {
        Pacer->WaitForRefresh();
    }
    // The window keeps the last picture it was given and repaints it by itself.
    if (Window != nullptr && Renderer.BufferGeneration() != ShownGeneration) {
        ChangedAreas.clear();
        for (const TPixelArea& area : Renderer.Changes()) {
            if (!area.Empty()) {
                ChangedAreas.push_back(TFrameArea{area.X0, area.Y0, area.X1 + 1, area.Y1 + 1});
            }
        }
        Window->ShowPixels(Renderer.Colors().data(), static_cast<UINT>(Renderer.Width()),
                           static_cast<UINT>(Renderer.Height()), ChangedAreas.data(),
                           ChangedAreas.size());
        Renderer.ForgetChanges();
        ShownGeneration = Renderer.BufferGeneration();
    }
    return D3D_OK;
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
    return CreateChecked(
        CheckTextureRequest(width, height, usage, format, pool, MaxTextureSide, texture), texture,
        [&] { return new TTexture(width, height); });
}

HRESULT TDevice::CreateVertexBuffer(UINT length, DWORD, DWORD fvf, D3DPOOL pool,
                                    IDirect3DVertexBuffer8** buffer) {
    return CreateChecked(CheckVertexBufferRequest(length, fvf, pool, buffer), buffer,
                         [&] { return new TVertexBuffer(length); });
}

HRESULT TDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    if (stream != 0) {
        return D3DERR_INVALIDCALL;
    }
    if (buffer == nullptr) {
        StreamBuffer.Reset();
        StreamStride = 0;
        return D3D_OK;
    }
    auto* own = dynamic_cast<TVertexBuffer*>(buffer);
    if (own == nullptr || stride < DrawnVertexSize) {
        return D3DERR_INVALIDCALL;
    }
    StreamBuffer = TComRef<TVertexBuffer>::Share(own);
    StreamStride = stride;
    return D3D_OK;
}

TFixedFunctionDevice::TStreamView TDevice::Stream() const {
    if (!StreamBuffer) {
        return {};
    }
    return {true, StreamBuffer->IsLocked(), StreamBuffer->Bytes().size(), StreamStride};
}

HRESULT TDevice::ReadBackBuffer(std::vector<std::uint32_t>& pixels, UINT& width, UINT& height) {
    Renderer.Flush(); // inside a frame: the generation moves, so the frame is drawn anew
    pixels = Renderer.Colors();
    width = static_cast<UINT>(Renderer.Width());
    height = static_cast<UINT>(Renderer.Height());
    return D3D_OK;
}

} // namespace Reference

namespace {

HRESULT CreateDevice(const D3DPRESENT_PARAMETERS& params, HWND window, unsigned threadCount,
                     Reference::ETileShading shading, const TPresentTiming& timing,
                     IDirect3DDevice8** device) {
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
        std::unique_ptr<TFramePacer> pacer;
        if (window != nullptr &&
            params.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE) {
            pacer = std::make_unique<TFramePacer>(timing);
        }
        *device = new Reference::TDevice(static_cast<int>(width), static_cast<int>(height),
                                         params.BackBufferWidth, params.BackBufferHeight, hasDepth,
                                         window, threadCount, shading, std::move(pacer));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::system_error&) {
        return E_FAIL; // no threads to be had
    }
    return D3D_OK;
}

} // namespace

HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              unsigned threadCount, const TPresentTiming& timing,
                              IDirect3DDevice8** device) {
    return CreateDevice(params, window, threadCount, Reference::ETileShading::Deferred, timing,
                        device);
}

HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              unsigned threadCount, Reference::ETileShading shading,
                              IDirect3DDevice8** device) {
    return CreateDevice(params, window, threadCount, shading, TPresentTiming{}, device);
}

HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              unsigned threadCount, IDirect3DDevice8** device) {
    return CreateReferenceDevice(params, window, threadCount, TPresentTiming{}, device);
}

HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              IDirect3DDevice8** device) {
    return CreateReferenceDevice(params, window, 0, device);
}
