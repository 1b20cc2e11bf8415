#include "platform/d3d/opengl/GLBackBuffer.h"

#include <algorithm>

bool TGLBackBuffer::Allocate(TGLFunctions& gl, UINT width, UINT height, bool withAlpha,
                             bool withDepth) {
    Destroy(gl);
    const auto w = static_cast<GLsizei>(width);
    const auto h = static_cast<GLsizei>(height);
    gl.glGenFramebuffers(1, &Framebuffer);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, Framebuffer);
    gl.glGenRenderbuffers(1, &ColorBuffer);
    gl.glBindRenderbuffer(GL_RENDERBUFFER, ColorBuffer);
    // Without alpha the buffer reads back opaque, as a back buffer without alpha should.
    gl.glRenderbufferStorage(GL_RENDERBUFFER, withAlpha ? GL_RGBA8 : GL_RGB8, w, h);
    gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                 ColorBuffer);
    if (withDepth) {
        // 24 bits rather than the 16 asked for: the far drum and the near field share the
        // range from 0.01 to 200, where 16 bits would let surfaces close together flicker.
        gl.glGenRenderbuffers(1, &DepthBuffer);
        gl.glBindRenderbuffer(GL_RENDERBUFFER, DepthBuffer);
        gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
        gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                     DepthBuffer);
    }
    if (gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Destroy(gl);
        return false;
    }
    BufferWidth = width;
    BufferHeight = height;
    Bind(gl);
    return true;
}

void TGLBackBuffer::Destroy(TGLFunctions& gl) {
    if (Framebuffer != 0) {
        gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
        gl.glDeleteFramebuffers(1, &Framebuffer);
    }
    if (ColorBuffer != 0) {
        gl.glDeleteRenderbuffers(1, &ColorBuffer);
    }
    if (DepthBuffer != 0) {
        gl.glDeleteRenderbuffers(1, &DepthBuffer);
    }
    Framebuffer = ColorBuffer = DepthBuffer = 0;
    BufferWidth = BufferHeight = 0;
}

void TGLBackBuffer::Bind(TGLFunctions& gl) const {
    gl.glBindFramebuffer(GL_FRAMEBUFFER, Framebuffer);
    gl.glViewport(0, 0, static_cast<GLsizei>(BufferWidth), static_cast<GLsizei>(BufferHeight));
}

void TGLBackBuffer::CopyTo(TGLFunctions& gl, GLuint target, UINT targetWidth,
                           UINT targetHeight) const {
    const bool sameSize = targetWidth == BufferWidth && targetHeight == BufferHeight;
    gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer);
    gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
    gl.glBlitFramebuffer(0, 0, static_cast<GLint>(BufferWidth), static_cast<GLint>(BufferHeight), 0,
                         0, static_cast<GLint>(targetWidth), static_cast<GLint>(targetHeight),
                         GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, Framebuffer);
}

void TGLBackBuffer::Read(TGLFunctions& gl, std::vector<std::uint32_t>& pixels) const {
    const std::size_t rowLength = BufferWidth;
    pixels.resize(rowLength * BufferHeight);
    gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer);
    gl.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    gl.glReadPixels(0, 0, static_cast<GLsizei>(BufferWidth), static_cast<GLsizei>(BufferHeight),
                    GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    // OpenGL keeps the bottom row first.
    for (std::size_t top = 0, bottom = BufferHeight; top + 1 < bottom; ++top, --bottom) {
        std::swap_ranges(pixels.begin() + static_cast<std::ptrdiff_t>(top * rowLength),
                         pixels.begin() + static_cast<std::ptrdiff_t>((top + 1) * rowLength),
                         pixels.begin() + static_cast<std::ptrdiff_t>((bottom - 1) * rowLength));
    }
}
