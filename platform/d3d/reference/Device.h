#pragma once
// The software device: keeps the state the 3D interface sets, transforms, lights and clips
// each draw as it is made, and queues the triangles on the tile renderer, which draws them
// when the picture is needed (a clear, Present, a read-back). A device sized by its window
// follows the window's client size at the next Clear or BeginScene outside a scene.
// A frame that repeats the picture the back buffer already holds is not rasterised again,
// and Present hands the window a picture only when it has changed; with a pacer, Present
// waits for the display's next refresh.

#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/FixedFunctionDevice.h"
#include "platform/d3d/FramePacer.h"
#include "platform/d3d/FrameSignature.h"
#include "platform/d3d/reference/DrawReuse.h"
#include "platform/d3d/reference/Resources.h"
#include "platform/d3d/reference/TileRenderer.h"
#include "platform/d3d/reference/VertexPipeline.h"

#include <vector>

namespace Reference {

// Largest back buffer side; keeps guard-band coordinates inside exact fixed point.
constexpr UINT MaxBackBufferSize = 4096;

class TDevice final : public TFixedFunctionDevice {
public:
    // A `requestedWidth` or `requestedHeight` of 0 makes that side follow the window's client
    // size; `width` and `height` are the size to start with. Without a pacer (null) Present
    // never waits.
    TDevice(int width, int height, UINT requestedWidth, UINT requestedHeight, bool hasDepth,
            HWND window, unsigned threadCount, ETileShading shading,
            std::unique_ptr<TFramePacer> pacer);

    HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture8** texture) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** buffer) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
    HRESULT ReadBackBuffer(std::vector<std::uint32_t>& pixels, UINT& width, UINT& height) override;

    // True when the latest EndScene found its frame equal to the picture already drawn and
    // kept that picture instead of rasterising the frame.
    bool LastSceneReused() const { return SceneReused; }

private:
    HRESULT FollowWindow() override;
    void FinishScene() override;
    HRESULT ClearBuffers(DWORD count, const D3DRECT* rects, bool color, D3DCOLOR value, bool depth,
                         float z) override;
    HRESULT ShowFrame() override;
    TStreamView Stream() const override;
    HRESULT DrawTriangleList(UINT startVertex, UINT primitiveCount) override;

    // DeviceDraw.cpp: what a draw does once its call has been checked.
    TPixelState ResolvePixelState(bool textured) const;
    void QueueTriangle(const TClipVertex (&corners)[3], TTriangle& prototype,
                       std::vector<TTriangle>& setUp);
    // Opens the draw's record in Reuse; true when a draw of the last scene set up its
    // triangles already, which are then queued.
    bool QueueRepeatedDraw(const TDrawSources& sources);
    // Opens the frame's record with its first clear or draw.
    void RecordFrameStart();

    HWND Window;
    UINT RequestedWidth;
    UINT RequestedHeight;
    TTileRenderer Renderer;
    TVertexPipeline Pipeline;
    TComRef<TTexture> Texture;
    TComRef<TVertexBuffer> StreamBuffer;
    UINT StreamStride = 0;
    std::unique_ptr<TFramePacer> Pacer;
    TFrameSignature Signature;
    TDrawReuse Reuse;
    bool FrameRecorded = false;
    bool SceneReused = false;
    // The renderer's buffer generation when the signature last described the buffers, and
    // when the window was last handed the picture.
    std::uint64_t DescribedGeneration = 0;
    std::uint64_t ShownGeneration = NeverShown;
    static constexpr std::uint64_t NeverShown = ~std::uint64_t{0};
    // What changed since the window was last handed the picture; kept to reuse its room.
    std::vector<TFrameArea> ChangedAreas;
};

} // namespace Reference
