#include "platform/d3d/opengl/GLTexture.h"

#include "platform/d3d/ContentStamp.h"
#include "platform/d3d/ResourceLocks.h"

#include <algorithm>
#include <utility>

TGLTexture::TGLTexture(TGLResourceLinkRef link, UINT width, UINT height)
    : Link(std::move(link)), TexelWidth(width), TexelHeight(height),
      Texels(static_cast<std::size_t>(width) * height, 0u), Stamp(NewContentStamp()) {}

TGLTexture::~TGLTexture() {
    Link->ForgetTexture(Name);
}

HRESULT TGLTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    RECT area{};
    const HRESULT checked =
        CheckTextureLock(level, locked, rect, Locked, TexelWidth, TexelHeight, area);
    if (Failed(checked)) {
        return checked;
    }
    Link->ContentChanging();
    Stamp = NewContentStamp();
    locked->Pitch = static_cast<std::int32_t>(TexelWidth * sizeof(std::uint32_t));
    locked->pBits = Texels.data() + static_cast<std::size_t>(area.top) * TexelWidth + area.left;
    Locked = true;
    const UINT top = static_cast<UINT>(area.top);
    const UINT bottom = static_cast<UINT>(area.bottom);
    if (DirtyTop == DirtyBottom) {
        DirtyTop = top;
        DirtyBottom = bottom;
    } else {
        DirtyTop = std::min(DirtyTop, top);
        DirtyBottom = std::max(DirtyBottom, bottom);
    }
    return D3D_OK;
}

HRESULT TGLTexture::UnlockRect(UINT level) {
    if (level != 0 || !Locked) {
        return D3DERR_INVALIDCALL;
    }
    Locked = false;
    // Writes may go on until here, after a draw has already seen the stamp of the lock.
    Stamp = NewContentStamp();
    return D3D_OK;
}

void TGLTexture::Bind(TGLFunctions& gl) {
    const auto width = static_cast<GLsizei>(TexelWidth);
    if (Name == 0) {
        gl.glGenTextures(1, &Name);
        gl.glBindTexture(GL_TEXTURE_2D, Name);
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, static_cast<GLsizei>(TexelHeight), 0,
                        GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, Texels.data());
        DirtyTop = DirtyBottom = 0;
        return;
    }
    gl.glBindTexture(GL_TEXTURE_2D, Name);
    if (DirtyTop != DirtyBottom) {
        gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, static_cast<GLint>(DirtyTop), width,
                           static_cast<GLsizei>(DirtyBottom - DirtyTop), GL_BGRA,
                           GL_UNSIGNED_INT_8_8_8_8_REV,
                           Texels.data() + static_cast<std::size_t>(DirtyTop) * TexelWidth);
        DirtyTop = DirtyBottom = 0;
    }
}
