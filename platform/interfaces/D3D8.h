#pragma once
// The 3D interface the renderer talks to: a Direct3D object that makes devices, the device,
// textures and vertex buffers. Two devices stand behind it: the hardware one on OpenGL and
// the reference one, our own software rasteriser. Calls made in the wrong state return the
// code the original interface would, never crash.

#include "platform/interfaces/D3D8Types.h"
#include "platform/interfaces/Unknown.h"

#include <cstdint>
#include <vector>

class IDirect3DDevice8;

class IDirect3DTexture8 : public IUnknown {
public:
    virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect(UINT level) = 0;
    virtual UINT Width() const = 0;
    virtual UINT Height() const = 0;
};

class IDirect3DVertexBuffer8 : public IUnknown {
public:
    virtual HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;
};

// What a frame cost, counted by every device (draw calls and triangles since BeginScene). The
// software device also counts its fill: pixel centres covered by triangles and pixels whose
// colour it worked out (0 on a device that cannot tell).
struct TFrameCounters {
    UINT DrawCalls = 0;
    UINT Triangles = 0;
    std::uint64_t Fragments = 0;
    std::uint64_t PixelsShaded = 0;
};

class IDirect3DDevice8 : public IUnknown {
public:
    virtual HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                          DWORD stencil) = 0;
    virtual HRESULT GetDeviceCaps(D3DCAPS8* caps) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    virtual HRESULT Present(const RECT* source, const RECT* dest, HWND overrideWindow,
                            const void* dirtyRegion) = 0;

    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                         DWORD value) = 0;
    virtual HRESULT SetLight(DWORD index, const D3DLIGHT8* light) = 0;
    virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL8* material) = 0;
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) = 0;

    virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                  D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) = 0;
    virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer8** buffer) = 0;
    virtual HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) = 0;
    virtual HRESULT SetVertexShader(DWORD fvf) = 0;
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) = 0;

    // Our own additions, for tests, screenshots and the frame counters: the last presented
    // (or, inside a frame, the current) back buffer as 0xAARRGGBB rows, top row first.
    virtual HRESULT ReadBackBuffer(std::vector<std::uint32_t>& pixels, UINT& width,
                                   UINT& height) = 0;
    virtual TFrameCounters FrameCounters() const = 0;
};

class IDirect3D8 : public IUnknown {
public:
    virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) = 0;
    // A window of null with BackBufferWidth and BackBufferHeight set makes an offscreen
    // reference device (tests, screenshots, benchmarks).
    virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow,
                                 DWORD behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                                 IDirect3DDevice8** device) = 0;
};

// The entry point of the 3D runtime; returns null for an SDK version it does not serve.
IDirect3D8* Direct3DCreate8(UINT sdkVersion);
