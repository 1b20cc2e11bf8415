#pragma once
// What the hardware and the software device have in common: the stored fixed-function state,
// the vertex format, the order of a frame (Clear, BeginScene, draws, EndScene, Present) and the
// argument checks of every call whose rules do not depend on how the picture is made. A call in
// the wrong state or with arguments the interface rejects answers D3DERR_INVALIDCALL and changes
// nothing; only checked calls reach the device's own part below.

#include "platform/d3d/FixedFunctionState.h"
#include "platform/interfaces/D3D8.h"

#include <cstddef>
#include <new>

// The one vertex layout drawn: position, normal, one (u, v) pair.
constexpr DWORD DrawnVertexFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
constexpr UINT DrawnVertexSize = 32;
constexpr UINT DrawnNormalOffset = 12;
constexpr UINT DrawnTexCoordOffset = 24;

// The largest texture side either device accepts.
constexpr UINT MaxTextureSide = 8192;

// The checks of CreateTexture and CreateVertexBuffer, each device's `sideLimit` being at most
// MaxTextureSide. They empty a given out-pointer first, so a refused call never leaves a
// stale value behind.
HRESULT CheckTextureRequest(UINT width, UINT height, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            UINT sideLimit, IDirect3DTexture8** texture);
HRESULT CheckVertexBufferRequest(UINT length, DWORD fvf, D3DPOOL pool,
                                 IDirect3DVertexBuffer8** buffer);

// Makes a resource with `make` once its request passed `checked`, answering E_OUTOFMEMORY when
// the heap is exhausted.
template <typename TInterface, typename TMake>
HRESULT CreateChecked(HRESULT checked, TInterface** resource, TMake make) {
    if (Failed(checked)) {
        return checked;
    }
    try {
        *resource = make();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

// A clear rectangle clipped to a back buffer: pixels Left..Right-1 and Top..Bottom-1, counted
// from the top-left corner.
struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};
// False when nothing of the rectangle lies on the back buffer.
bool ClipToBackBuffer(const D3DRECT& rect, int width, int height, TPixelRect& clipped);

class TFixedFunctionDevice : public IDirect3DDevice8 {
public:
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) final;
    HRESULT GetDeviceCaps(D3DCAPS8* caps) final;
    HRESULT BeginScene() final;
    HRESULT EndScene() final;
    // A discarded back buffer is presented whole, into the device's own window: rectangles,
    // another window and a dirty region are refused.
    HRESULT Present(const RECT* source, const RECT* dest, HWND overrideWindow,
                    const void* dirtyRegion) final;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) final;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) final;
    HRESULT SetLight(DWORD index, const D3DLIGHT8* light) final;
    HRESULT LightEnable(DWORD index, BOOL enable) final;
    HRESULT SetMaterial(const D3DMATERIAL8* material) final;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) final;
    HRESULT SetVertexShader(DWORD fvf) final;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) final;

    TFrameCounters FrameCounters() const final { return Counters; }

protected:
    // Depth testing starts switched on exactly when the device has a depth buffer.
    TFixedFunctionDevice(D3DDEVTYPE type, bool hasDepthBuffer);
    ~TFixedFunctionDevice() override = default;

    // What a draw can see of the bound stream 0.
    struct TStreamView {
        bool Bound = false;
        bool Locked = false;
        std::size_t Length = 0;
        UINT Stride = 0;
    };

    // Called outside a scene by Clear and by BeginScene: a device sized by its window takes
    // the window's current client size here.
    virtual HRESULT FollowWindow() = 0;
    // Called by BeginScene after FollowWindow, before the scene starts.
    virtual HRESULT StartScene() { return D3D_OK; }
    // Called by EndScene once the scene has ended.
    virtual void FinishScene() {}
    // The checked clear: `rects` holds `count` rectangles, or is null for the whole target.
    virtual HRESULT ClearBuffers(DWORD count, const D3DRECT* rects, bool color, D3DCOLOR value,
                                 bool depth, float z) = 0;
    // Shows the finished back buffer in the device's window; called outside a scene.
    virtual HRESULT ShowFrame() = 0;
    virtual TStreamView Stream() const = 0;
    // The checked draw: `primitiveCount` (at least one) triangles from `startVertex` on, all
    // inside the bound stream, with the vertex format set and inside a scene.
    virtual HRESULT DrawTriangleList(UINT startVertex, UINT primitiveCount) = 0;

    // Adds fill work done for this frame to its counters.
    void CountFill(std::uint64_t fragments, std::uint64_t pixelsShaded) {
        Counters.Fragments += fragments;
        Counters.PixelsShaded += pixelsShaded;
    }

    const D3DDEVTYPE DeviceType;
    const bool HasDepth;
    TFixedFunctionState State;
    // Whether a graphics processor draws the pixels; the hardware device finds out when it
    // has its context.
    bool RasterizesInHardware = false;

private:
    bool SceneOpen = false;
    DWORD VertexFormat = 0;
    TFrameCounters Counters;
};
