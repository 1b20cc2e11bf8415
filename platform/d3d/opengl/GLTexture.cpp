#include "platform/d3d/opengl/GLTexture.h"

#include <algorithm>
#include <utility>

TGLTexture::TGLTexture(TGLResourceLinkRef link, UINT width, UINT height, D3DFORMAT format)
    : Link(std::move(link)), TexelWidth(width), TexelHeight(height),
      HasAlpha(format == D3DFMT_A8R8G8B8), Texels(static_cast<std::size_t>(width) * height, 0u) {}

TGLTexture::~TGLTexture() {
    Link->ForgetTexture(Name);
}

HRESULT TGLTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    if (level != 0 || locked == nullptr || Locked) {
        return D3DERR_INVALIDCALL;
    }
    RECT area{0, 0, static_cast<std::int32_t>(TexelWidth), static_cast<std::int32_t>(TexelHeight)};
    if (rect != nullptr) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
            rect->top >= rect->bottom || rect->right > area.right || rect->bottom > area.bottom) {
            return D3DERR_INVALIDCALL;
        }
        area = *rect;
    }
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
    return D3D_OK;
}

void TGLTexture::Bind(TGLFunctions& gl) {
    const auto width = static_cast<GLsizei>(TexelWidth);
    if (Name == 0) {
        gl.glGenTextures(1, &Name);
        gl.glBindTexture(GL_TEXTURE_2D, Name);
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        // A texel without alpha reads as opaque whatever its top byte holds.
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, HasAlpha ? GL_ALPHA : GL_ONE);
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
