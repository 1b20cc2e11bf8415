#pragma once
// The lock rules both devices' textures and vertex buffers follow: one lock at a time, of level
// 0 only, and never of anything outside the resource.

#include "platform/interfaces/D3D8Types.h"

#include <cstddef>

// Checks a LockRect of a `width` x `height` texture; on success `area` is the part locked
// (the whole texture for a null `rect`).
HRESULT CheckTextureLock(UINT level, const D3DLOCKED_RECT* locked, const RECT* rect,
                         bool alreadyLocked, UINT width, UINT height, RECT& area);

// Checks a Lock of `size` bytes (0: to the end) from `offset` of a `length`-byte buffer; on
// success `end` is one past the last byte locked. An offset at or past the end is refused, so
// the pointer handed out always points into the buffer.
HRESULT CheckBufferLock(UINT offset, UINT size, BYTE* const* data, bool alreadyLocked,
                        std::size_t length, std::size_t& end);
