#pragma once
// The device's back buffer: a framebuffer object with an opaque colour buffer (blending reads
// only the source alpha) and, when asked for, a depth buffer. Drawing into our own buffer, rather
// than the window's, keeps a frame readable after Present and lets the window change size between
// frames. All calls expect the device's context to be current.

#include "platform/d3d/opengl/GLFunctions.h"
#include "platform/interfaces/D3D8Types.h"

#include <cstdint>
#include <vector>

class TGLBackBuffer {
public:
    // (Re)allocates at the given size; false when the driver cannot complete the buffer.
    bool Allocate(TGLFunctions& gl, UINT width, UINT height, bool withDepth);
    void Destroy(TGLFunctions& gl);

    // Binds it for drawing, with the viewport covering it.
    void Bind(TGLFunctions& gl) const;
    // Copies it onto the target framebuffer, stretched when the sizes differ; leaves the
    // back buffer bound.
    void CopyTo(TGLFunctions& gl, GLuint target, UINT targetWidth, UINT targetHeight) const;
    // 0xAARRGGBB pixels, top row first.
    void Read(TGLFunctions& gl, std::vector<std::uint32_t>& pixels) const;

    UINT Width() const { return BufferWidth; }
    UINT Height() const { return BufferHeight; }

private:
    GLuint Framebuffer = 0;
    GLuint ColorBuffer = 0;
    GLuint DepthBuffer = 0;
    UINT BufferWidth = 0;
    UINT BufferHeight = 0;
};
