#pragma once
// The hardware device's object. Frames go: Clear (outside a scene it first follows the
// window's size), BeginScene, states and draws, EndScene, Present (copies the back buffer to
// the window and swaps). Calls in the wrong state, or with arguments the interface rejects,
// answer D3DERR_INVALIDCALL and change nothing; once the window is gone, calls that need
// OpenGL answer D3DERR_DEVICELOST.

#include "platform/d3d/D3D8.h"
#include "platform/d3d/opengl/FixedFunctionProgram.h"
#include "platform/d3d/opengl/FixedFunctionState.h"
#include "platform/d3d/opengl/GLBackBuffer.h"
#include "platform/d3d/opengl/GLPipelineState.h"
#include "platform/d3d/opengl/GLResourceLink.h"
#include "platform/d3d/opengl/GLSurfaceContext.h"
#include "platform/d3d/opengl/GLTexture.h"
#include "platform/d3d/opengl/GLVertexBuffer.h"

#include <memory>

class TGLDevice final : public IDirect3DDevice8 {
public:
    TGLDevice(const D3DPRESENT_PARAMETERS& params, HWND window);
    // Makes the context, the shader and the back buffer; a failure leaves the object to be
    // released by the caller.
    HRESULT Initialise();

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
    ~TGLDevice() override;

    // Makes the context current and deletes what dead resources left; false once the window
    // is gone.
    bool MakeCurrent();
    // Outside a scene, gives the back buffer the window's current client size.
    HRESULT FollowClientSize();
    void BindVertexStream();
    void UpdateConstants(bool textureBound);

    HWND Window;
    UINT RequestedWidth;
    UINT RequestedHeight;
    bool HasAlpha;
    bool HasDepth;
    bool Vsync;

    std::unique_ptr<TGLSurfaceContext> Surface;
    TGLResourceLinkRef Link;
    TFixedFunctionState State;
    TFixedFunctionProgram Program;
    TGLPipelineState Pipeline;
    TGLBackBuffer BackBuffer;
    GLuint VertexArray = 0;
    GLint MaxTextureSize = 0;

    TComRef<TGLTexture> BoundTexture;
    TComRef<TGLVertexBuffer> Stream;
    UINT StreamStride = 0;
    DWORD VertexFormat = 0;
    bool StreamLayoutChanged = true;

    TShaderConstants Constants{};
    std::uint64_t ConstantsVersion = 0;
    bool ConstantsTextured = false;
    bool ConstantsValid = false;

    bool InScene = false;
    TFrameCounters Counters;
};
