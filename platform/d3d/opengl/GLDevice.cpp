#include "platform/d3d/opengl/GLDevice.h"

#include "platform/d3d/opengl/OpenGLDevice.h"

#include <QtGlobal>

#include <algorithm>

namespace {

constexpr DWORD ClearFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;

// OpenGL reports errors without saying which call made them; a full memory is the one the
// game can name, every other error is the driver's.
HRESULT TranslateGLError(GLenum error) {
    switch (error) {
    case GL_NO_ERROR:
        return D3D_OK;
    case GL_OUT_OF_MEMORY:
        return D3DERR_OUTOFVIDEOMEMORY;
    default:
        return D3DERR_DRIVERINTERNALERROR;
    }
}

HRESULT DrainGLErrors(TGLFunctions& gl) {
    HRESULT first = D3D_OK;
    for (GLenum error = gl.glGetError(); error != GL_NO_ERROR; error = gl.glGetError()) {
        if (first == D3D_OK) {
            first = TranslateGLError(error);
        }
    }
    return first;
}

bool WantsReferenceDevice() {
    return qEnvironmentVariable("ZORBIX_DEVICE").compare("reference", Qt::CaseInsensitive) == 0;
}

} // namespace

HRESULT CreateOpenGLDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                           IDirect3DDevice8** device) {
    *device = nullptr;
    if (WantsReferenceDevice()) {
        return D3DERR_NOTAVAILABLE;
    }
    if (window == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    auto* made = new TGLDevice(params, window);
    const HRESULT result = made->Initialise();
    if (Failed(result)) {
        made->Release();
        return result;
    }
    *device = made;
    return D3D_OK;
}

TGLDevice::TGLDevice(const D3DPRESENT_PARAMETERS& params, HWND window)
    : Window(window), RequestedWidth(params.BackBufferWidth),
      RequestedHeight(params.BackBufferHeight),
      HasAlpha(params.BackBufferFormat == D3DFMT_A8R8G8B8),
      HasDepth(params.EnableAutoDepthStencil != 0),
      Vsync(params.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE),
      Link(std::make_shared<TGLResourceLink>()), State(HasDepth) {}

HRESULT TGLDevice::Initialise() {
    Surface = TGLSurfaceContext::Create(Window, Vsync);
    if (Surface == nullptr || !Program.Create(Surface->Gl())) {
        return D3DERR_NOTAVAILABLE;
    }
    TGLFunctions& gl = Surface->Gl();
    Pipeline.Create(gl);
    gl.glGenVertexArrays(1, &VertexArray);
    gl.glBindVertexArray(VertexArray);
    // A vertex without normals or texture coordinates reads OpenGL's initial attribute
    // values, (0, 0, 0): a normal that catches no light and the texture's corner.
    gl.glActiveTexture(GL_TEXTURE0);
    gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &MaxTextureSize);
    Program.Use(gl);
    const HRESULT sized = FollowClientSize();
    if (Failed(sized)) {
        return sized;
    }
    return DrainGLErrors(gl) == D3D_OK ? D3D_OK : D3DERR_NOTAVAILABLE;
}

TGLDevice::~TGLDevice() {
    BoundTexture.Reset();
    Stream.Reset();
    if (Surface != nullptr && Surface->MakeCurrent()) {
        TGLFunctions& gl = Surface->Gl();
        Link->DeleteDead(gl);
        BackBuffer.Destroy(gl);
        Pipeline.Destroy(gl);
        Program.Destroy(gl);
        if (VertexArray != 0) {
            gl.glDeleteVertexArrays(1, &VertexArray);
        }
    }
    // The context takes the objects of resources that outlive the device with it.
    Link->DeviceAlive = false;
    Link->DeadTextures.clear();
    Link->DeadBuffers.clear();
    Surface.reset();
}

bool TGLDevice::MakeCurrent() {
    if (!Surface->MakeCurrent()) {
        return false;
    }
    Link->DeleteDead(Surface->Gl());
    return true;
}

HRESULT TGLDevice::FollowClientSize() {
    UINT width = RequestedWidth;
    UINT height = RequestedHeight;
    if (width == 0 || height == 0) {
        UINT clientWidth = 0;
        UINT clientHeight = 0;
        if (!Surface->ClientSize(clientWidth, clientHeight)) {
            return D3DERR_DEVICELOST;
        }
        // A minimised or collapsed window keeps the last size; a new device gets one pixel.
        if (clientWidth == 0 || clientHeight == 0) {
            clientWidth = std::max(BackBuffer.Width(), 1u);
            clientHeight = std::max(BackBuffer.Height(), 1u);
        }
        width = RequestedWidth != 0 ? RequestedWidth : clientWidth;
        height = RequestedHeight != 0 ? RequestedHeight : clientHeight;
    }
    if (width == BackBuffer.Width() && height == BackBuffer.Height()) {
        return D3D_OK;
    }
    if (!MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    const auto limit = static_cast<UINT>(MaxTextureSize);
    if (width > limit || height > limit ||
        !BackBuffer.Allocate(Surface->Gl(), width, height, HasAlpha, HasDepth)) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    return D3D_OK;
}

HRESULT TGLDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                         DWORD) {
    if (flags == 0 || (flags & ~ClearFlags) != 0 || (flags & D3DCLEAR_STENCIL) != 0 ||
        ((flags & D3DCLEAR_ZBUFFER) != 0 && !HasDepth) || (count != 0 && rects == nullptr) ||
        !(z >= 0.0f && z <= 1.0f)) {
        return D3DERR_INVALIDCALL;
    }
    if (!InScene) {
        const HRESULT sized = FollowClientSize();
        if (Failed(sized)) {
            return sized;
        }
    }
    if (!MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    TGLFunctions& gl = Surface->Gl();
    gl.glClearColor(static_cast<float>((color >> 16) & 0xFF) / 255.0f,
                    static_cast<float>((color >> 8) & 0xFF) / 255.0f,
                    static_cast<float>(color & 0xFF) / 255.0f,
                    static_cast<float>(color >> 24) / 255.0f);
    gl.glClearDepth(z);
    const GLbitfield mask = ((flags & D3DCLEAR_TARGET) != 0 ? GL_COLOR_BUFFER_BIT : 0u) |
                            ((flags & D3DCLEAR_ZBUFFER) != 0 ? GL_DEPTH_BUFFER_BIT : 0u);
    if (count == 0) {
        gl.glClear(mask);
        return D3D_OK;
    }
    // Rectangles count from the top-left corner, OpenGL's scissor from the bottom-left.
    const auto width = static_cast<std::int32_t>(BackBuffer.Width());
    const auto height = static_cast<std::int32_t>(BackBuffer.Height());
    gl.glEnable(GL_SCISSOR_TEST);
    for (DWORD i = 0; i < count; ++i) {
        const std::int32_t left = std::clamp(rects[i].x1, 0, width);
        const std::int32_t right = std::clamp(rects[i].x2, 0, width);
        const std::int32_t top = std::clamp(rects[i].y1, 0, height);
        const std::int32_t bottom = std::clamp(rects[i].y2, 0, height);
        if (left < right && top < bottom) {
            gl.glScissor(left, height - bottom, right - left, bottom - top);
            gl.glClear(mask);
        }
    }
    gl.glDisable(GL_SCISSOR_TEST);
    return D3D_OK;
}

HRESULT TGLDevice::BeginScene() {
    if (InScene) {
        return D3DERR_INVALIDCALL;
    }
    const HRESULT sized = FollowClientSize();
    if (Failed(sized)) {
        return sized;
    }
    if (!MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    InScene = true;
    Counters = {};
    return D3D_OK;
}

HRESULT TGLDevice::EndScene() {
    if (!InScene) {
        return D3DERR_INVALIDCALL;
    }
    InScene = false;
    return D3D_OK;
}

HRESULT TGLDevice::Present(const RECT* source, const RECT* dest, HWND overrideWindow,
                           const void* dirtyRegion) {
    // A discarded back buffer is presented whole, into the device's own window.
    if (source != nullptr || dest != nullptr || overrideWindow != nullptr ||
        dirtyRegion != nullptr || InScene) {
        return D3DERR_INVALIDCALL;
    }
    if (!MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    TGLFunctions& gl = Surface->Gl();
    if (Surface->SurfaceVisible()) {
        UINT width = 0;
        UINT height = 0;
        Surface->SurfaceSize(width, height);
        BackBuffer.CopyTo(gl, Surface->SurfaceFramebuffer(), width, height);
        Surface->SwapBuffers();
        // Swapping may leave another framebuffer bound.
        BackBuffer.Bind(gl);
    }
    return DrainGLErrors(gl);
}

HRESULT TGLDevice::ReadBackBuffer(std::vector<std::uint32_t>& pixels, UINT& width, UINT& height) {
    if (!MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    BackBuffer.Read(Surface->Gl(), pixels);
    width = BackBuffer.Width();
    height = BackBuffer.Height();
    BackBuffer.Bind(Surface->Gl());
    return D3D_OK;
}
