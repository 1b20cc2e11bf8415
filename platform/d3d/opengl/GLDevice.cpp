#include "platform/d3d/opengl/GLDevice.h"

#include "platform/d3d/opengl/OpenGLDevice.h"
#include "platform/d3d/opengl/SoftwareRasterizer.h"

#include <QtGlobal>

#include <algorithm>

namespace {

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
                           const TPresentTiming& timing, IDirect3DDevice8** device) {
    *device = nullptr;
    if (WantsReferenceDevice()) {
        return D3DERR_NOTAVAILABLE;
    }
    if (window == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    auto* made = new TGLDevice(params, window, timing);
    const HRESULT result = made->Initialise();
    if (Failed(result)) {
        made->Release();
        return result;
    }
    *device = made;
    return D3D_OK;
}

TGLDevice::TGLDevice(const D3DPRESENT_PARAMETERS& params, HWND window, const TPresentTiming& timing)
    : TFixedFunctionDevice(D3DDEVTYPE_HAL, params.EnableAutoDepthStencil != 0), Window(window),
      RequestedWidth(params.BackBufferWidth), RequestedHeight(params.BackBufferHeight),
      Vsync(params.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE),
      Link(std::make_shared<TGLResourceLink>()),
      Pacing(Vsync ? std::make_unique<TSwapPacing>(timing) : nullptr) {
    Link->BeforeContentChange = [this] { DrawQueuedEarly(); };
}

HRESULT TGLDevice::Initialise() {
    Surface = TGLSurfaceContext::Create(Window, Vsync);
    if (Surface == nullptr || !Program.Create(Surface->Gl())) {
        return D3DERR_NOTAVAILABLE;
    }
    TGLFunctions& gl = Surface->Gl();
    const auto* renderer = reinterpret_cast<const char*>(gl.glGetString(GL_RENDERER));
    RasterizesInHardware = renderer != nullptr && !NamesSoftwareRasterizer(renderer);
    Pipeline.Create(gl);
    gl.glGenVertexArrays(1, &VertexArray);
    gl.glBindVertexArray(VertexArray);
    // A vertex without normals or texture coordinates reads OpenGL's initial attribute
    // values, (0, 0, 0): a normal that catches no light and the texture's corner.
    gl.glActiveTexture(GL_TEXTURE0);
    gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &MaxTextureSize);
    Program.Use(gl);
    const HRESULT sized = FollowWindow();
    if (Failed(sized)) {
        return sized;
    }
    return DrainGLErrors(gl) == D3D_OK ? D3D_OK : D3DERR_NOTAVAILABLE;
}

TGLDevice::~TGLDevice() {
    Link->BeforeContentChange = nullptr;
    Queue.Discard();
    BoundTexture.Reset();
    StreamBuffer.Reset();
    LayoutStream.Reset();
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

HRESULT TGLDevice::FollowWindow() {
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
    // A new buffer holds no picture yet.
    Signature.ForgetHeldPicture();
    PictureShown = false;
    if (width > limit || height > limit ||
        !BackBuffer.Allocate(Surface->Gl(), width, height, HasDepth)) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    return D3D_OK;
}

void TGLDevice::RecordFrameStart() {
    if (!FrameRecorded) {
        FrameRecorded = true;
        DrawnEarly = false;
        Signature.StartFrame(static_cast<int>(BackBuffer.Width()),
                             static_cast<int>(BackBuffer.Height()), HasDepth);
    }
}

HRESULT TGLDevice::DrawQueued() {
    if (Queue.Empty()) {
        return D3D_OK;
    }
    if (!MakeCurrent()) {
        Queue.Discard();
        return D3DERR_DEVICELOST;
    }
    Queue.Drain([this](const TGLFrameQueue::TClear& clear) { ClearNow(nullptr, clear); },
                [this](const TGLFrameQueue::TDraw& draw) { DrawNow(draw); });
    return D3D_OK;
}

HRESULT TGLDevice::DrawQueuedEarly() {
    if (Queue.Empty()) {
        return D3D_OK;
    }
    DrawnEarly = true;
    return DrawQueued();
}

HRESULT TGLDevice::ClearBuffers(DWORD count, const D3DRECT* rects, bool color, D3DCOLOR value,
                                bool depth, float z) {
    RecordFrameStart();
    Signature.AddClear(count, rects, color, value, depth, z);
    const TGLFrameQueue::TClear clear{color, value, depth, z};
    if (rects == nullptr) {
        Queue.AddClear(clear);
        return D3D_OK;
    }
    // Rectangles are rare enough to be cleared at once, after what came before them.
    const HRESULT drawn = DrawQueuedEarly();
    if (Failed(drawn)) {
        return drawn;
    }
    if (!MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    DrawnEarly = true;
    for (DWORD i = 0; i < count; ++i) {
        ClearNow(&rects[i], clear);
    }
    return D3D_OK;
}

void TGLDevice::ClearNow(const D3DRECT* rect, const TGLFrameQueue::TClear& clear) {
    TGLFunctions& gl = Surface->Gl();
    const D3DCOLOR value = clear.Value;
    gl.glClearColor(static_cast<float>((value >> 16) & 0xFF) / 255.0f,
                    static_cast<float>((value >> 8) & 0xFF) / 255.0f,
                    static_cast<float>(value & 0xFF) / 255.0f,
                    static_cast<float>(value >> 24) / 255.0f);
    gl.glClearDepth(clear.Z);
    const GLbitfield mask =
        (clear.Color ? GL_COLOR_BUFFER_BIT : 0u) | (clear.Depth ? GL_DEPTH_BUFFER_BIT : 0u);
    if (rect == nullptr) {
        gl.glClear(mask);
        return;
    }
    // Rectangles count from the top-left corner, OpenGL's scissor from the bottom-left.
    const auto width = static_cast<int>(BackBuffer.Width());
    const auto height = static_cast<int>(BackBuffer.Height());
    TPixelRect r;
    if (ClipToBackBuffer(*rect, width, height, r)) {
        gl.glEnable(GL_SCISSOR_TEST);
        gl.glScissor(r.Left, height - r.Bottom, r.Right - r.Left, r.Bottom - r.Top);
        gl.glClear(mask);
        gl.glDisable(GL_SCISSOR_TEST);
    }
}

HRESULT TGLDevice::StartScene() {
    return MakeCurrent() ? D3D_OK : D3DERR_DEVICELOST;
}

void TGLDevice::FinishScene() {
    // The record describes the back buffer only if nothing of this frame was drawn yet.
    if (FrameRecorded && !DrawnEarly && Signature.RepeatsHeldPicture()) {
        Queue.Discard();
        return;
    }
    if (Succeeded(DrawQueued()) && FrameRecorded) {
        Signature.HoldsPicture();
    }
    PictureShown = false;
}

HRESULT TGLDevice::ShowFrame() {
    if (!Queue.Empty()) {
        // A clear after the scene: the picture is no longer the one recorded.
        DrawQueued();
        Signature.ForgetHeldPicture();
        PictureShown = false;
    }
    FrameRecorded = false;
    if (!MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    TGLFunctions& gl = Surface->Gl();
    if (Surface->TakeExposure()) {
        PictureShown = false;
    }
    const bool swapped = !PictureShown && Surface->SwapsOntoWindow() && Surface->SurfaceVisible();
    if (!PictureShown) {
        PresentBackBuffer();
    }
    if (Pacing) {
        if (swapped) {
            Pacing->AfterSwap();
        } else {
            Pacing->AfterUnswappedFrame();
        }
    }
    return DrainGLErrors(gl);
}

void TGLDevice::PresentBackBuffer() {
    TGLFunctions& gl = Surface->Gl();
    if (!Surface->SwapsOntoWindow()) {
        BackBuffer.Read(gl, ShownPixels);
        BackBuffer.Bind(gl);
        Surface->ShowPixels(ShownPixels.data(), BackBuffer.Width(), BackBuffer.Height());
        PictureShown = true;
    } else if (Surface->SurfaceVisible()) {
        UINT width = 0;
        UINT height = 0;
        Surface->SurfaceSize(width, height);
        BackBuffer.CopyTo(gl, Surface->SurfaceFramebuffer(), width, height);
        Surface->SwapBuffers();
        // Swapping may leave another framebuffer bound.
        BackBuffer.Bind(gl);
        // A driver may learn of a new surface size only at a swap, so the first swap at a new
        // size can still show the old one: the next frame is swapped again.
        PictureShown = width == SwappedWidth && height == SwappedHeight;
        SwappedWidth = width;
        SwappedHeight = height;
    }
}

HRESULT TGLDevice::ReadBackBuffer(std::vector<std::uint32_t>& pixels, UINT& width, UINT& height) {
    // Inside a frame the picture so far is read.
    DrawQueuedEarly();
    if (!MakeCurrent()) {
        return D3DERR_DEVICELOST;
    }
    BackBuffer.Read(Surface->Gl(), pixels);
    width = BackBuffer.Width();
    height = BackBuffer.Height();
    BackBuffer.Bind(Surface->Gl());
    return D3D_OK;
}
