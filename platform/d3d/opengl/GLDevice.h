#pragma once
// The hardware device's object: the shared device rules over OpenGL. Frames go: Clear (outside
// a scene it first follows the window's size), BeginScene, states and draws, EndScene, Present
// (copies the back buffer to the window and swaps). Clears and draws are held back until
// EndScene and written down as they come; a frame whose record equals that of the picture the
// back buffer holds is neither drawn nor presented again, as on the software device. Once the
// window is gone, calls that need OpenGL answer D3DERR_DEVICELOST.

#include "platform/d3d/FixedFunctionDevice.h"
#include "platform/d3d/FrameSignature.h"
#include "platform/d3d/opengl/FixedFunctionProgram.h"
#include "platform/d3d/opengl/GLBackBuffer.h"
#include "platform/d3d/opengl/GLFrameQueue.h"
#include "platform/d3d/opengl/GLPipelineState.h"
#include "platform/d3d/opengl/GLResourceLink.h"
#include "platform/d3d/opengl/GLSurfaceContext.h"
#include "platform/d3d/opengl/GLTexture.h"
#include "platform/d3d/opengl/GLVertexBuffer.h"
#include "platform/d3d/opengl/SwapPacing.h"

#include <memory>

class TGLDevice final : public TFixedFunctionDevice {
public:
    TGLDevice(const D3DPRESENT_PARAMETERS& params, HWND window, const TPresentTiming& timing);
    // Makes the context, the shader and the back buffer; a failure leaves the object to be
    // released by the caller.
    HRESULT Initialise();

    HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture8** texture) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** buffer) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
    HRESULT ReadBackBuffer(std::vector<std::uint32_t>& pixels, UINT& width, UINT& height) override;

private:
    ~TGLDevice() override;

    // Gives the back buffer the window's current client size when none was named.
    HRESULT FollowWindow() override;
    HRESULT StartScene() override;
    // Draws the frame's queue, or drops it when the frame repeats the picture held.
    void FinishScene() override;
    HRESULT ClearBuffers(DWORD count, const D3DRECT* rects, bool color, D3DCOLOR value, bool depth,
                         float z) override;
    // Copies the back buffer to the window and swaps.
    HRESULT ShowFrame() override;
    TStreamView Stream() const override;
    HRESULT DrawTriangleList(UINT startVertex, UINT primitiveCount) override;

    // Makes the context current and deletes what dead resources left; false once the window
    // is gone.
    bool MakeCurrent();
    void RecordFrameStart();
    // Draws what is queued now, before the frame's end; the frame then cannot be dropped.
    HRESULT DrawQueuedEarly();
    HRESULT DrawQueued();
    void ClearNow(const D3DRECT* rect, const TGLFrameQueue::TClear& clear);
    void DrawNow(const TGLFrameQueue::TDraw& draw);
    void BindVertexStream(TGLVertexBuffer& stream, UINT stride);
    void UpdateConstants(const TFixedFunctionState& state, bool textureBound);
    // Shows the back buffer in the window, by a swap or through the window's own painting.
    void PresentBackBuffer();

    HWND Window;
    UINT RequestedWidth;
    UINT RequestedHeight;
    bool Vsync;

    std::unique_ptr<TGLSurfaceContext> Surface;
    TGLResourceLinkRef Link;
    TFixedFunctionProgram Program;
    TGLPipelineState Pipeline;
    TGLBackBuffer BackBuffer;
    GLuint VertexArray = 0;
    GLint MaxTextureSize = 0;

    TComRef<TGLTexture> BoundTexture;
    TComRef<TGLVertexBuffer> StreamBuffer;
    UINT StreamStride = 0;
    // The vertex layout last given to OpenGL: the buffer it points into and its stride.
    TComRef<TGLVertexBuffer> LayoutStream;
    UINT LayoutStride = 0;

    TGLFrameQueue Queue;
    TFrameSignature Signature;
    bool FrameRecorded = false;
    // Something of this frame was drawn before its end (a rectangle clear, a resource that
    // changed, a read of the back buffer).
    bool DrawnEarly = false;
    // Whether the window shows the back buffer's picture (it does not after an exposure).
    bool PictureShown = false;
    // The surface size of the last swap.
    UINT SwappedWidth = 0;
    UINT SwappedHeight = 0;
    std::unique_ptr<TSwapPacing> Pacing;

    // The last frame read back for a window that shows it itself; kept to spare an allocation
    // a frame.
    std::vector<std::uint32_t> ShownPixels;

    TShaderConstants Constants{};
    std::uint64_t ConstantsVersion = 0;
    bool ConstantsTextured = false;
    bool ConstantsValid = false;
};
