#include "platform/d3d/ResourceLocks.h"

#include <cstdint>

HRESULT CheckTextureLock(UINT level, const D3DLOCKED_RECT* locked, const RECT* rect,
                         bool alreadyLocked, UINT width, UINT height, RECT& area) {
    if (level != 0 || locked == nullptr || alreadyLocked) {
        return D3DERR_INVALIDCALL;
    }
    area = RECT{0, 0, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
    if (rect != nullptr) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
            rect->top >= rect->bottom || rect->right > area.right || rect->bottom > area.bottom) {
            return D3DERR_INVALIDCALL;
        }
        area = *rect;
    }
    return D3D_OK;
}

HRESULT CheckBufferLock(UINT offset, UINT size, BYTE* const* data, bool alreadyLocked,
                        std::size_t length, std::size_t& end) {
    if (data == nullptr || alreadyLocked || offset >= length || size > length - offset) {
        return D3DERR_INVALIDCALL;
    }
    end = size == 0 ? length : std::size_t{offset} + size;
    return D3D_OK;
}
