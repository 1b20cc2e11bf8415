#pragma once
// The software device: keeps the state the 3D interface sets, transforms, lights and clips
// each draw as it is made, and queues the triangles on the tile renderer, which draws them
// when the picture is needed (a clear, Present, a read-back).

#include "platform/d3d/D3D8.h"
#include "platform/d3d/reference/DeviceStates.h"
#include "platform/d3d/reference/Resources.h"
#include "platform/d3d/reference/TileRenderer.h"
#include "platform/d3d/reference/VertexPipeline.h"

namespace Reference {

// Largest back buffer side; keeps guard-band coordinates inside exact fixed point.
constexpr UINT MaxBackBufferSize = 4096;

class TDevice final : public IDirect3DDevice8 {
public:
    TDevice(int width, int height, bool hasDepth, HWND window, unsigned threadCount);

    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* source, const RECT* dest, HWND overrideWindow,
                    const void* dirtyRegion) override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT8* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT SetMaterial(const D3DMATERIAL8* material) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture8** texture) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** buffer) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
    HRESULT SetVertexShader(DWORD fvf) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;

    HRESULT ReadBackBuffer(std::vector<std::uint32_t>& pixels, UINT& width, UINT& height) override;
    TFrameCounters FrameCounters() const override { return Counters; }

private:
    // DeviceDraw.cpp: what a draw does once its call has been checked.
    void DrawTriangles(const BYTE* first, UINT stride, UINT count);
    TPixelState ResolvePixelState(bool textured) const;
    void QueueTriangle(const TClipVertex (&corners)[3], TTriangle& prototype);

    HWND Window;
    TTileRenderer Renderer;
    TDeviceStates States;
    TVertexPipeline Pipeline;
    TComRef<TTexture> Texture;
    TComRef<TVertexBuffer> Stream;
    UINT StreamStride = 0;
    DWORD VertexFormat = 0;
    bool InScene = false;
    TFrameCounters Counters;
};

} // namespace Reference
