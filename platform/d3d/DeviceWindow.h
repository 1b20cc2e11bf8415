#pragma once
// The window a 3D device presents into (the device's HWND). The presenting layer makes the
// concrete window; a software device hands it finished frames, a hardware device draws into
// it directly.

#include "platform/interfaces/D3D8Types.h"

#include <cstddef>
#include <cstdint>

// A part of a frame: pixels Left..Right-1 of rows Top..Bottom-1.
struct TFrameArea {
    int Left, Top, Right, Bottom;
};

class TDeviceWindow {
public:
    virtual ~TDeviceWindow() = default;
    // The client area in device pixels: the size a back buffer takes when none is named.
    virtual void ClientSize(UINT& width, UINT& height) const = 0;
    // Shows a finished frame: 0xAARRGGBB pixels, top row first, `width` pixels a row. Where
    // `changed` is not null, only its `changedCount` areas differ from the last frame shown (of
    // the same size); with a null `changed` any pixel may.
    virtual void ShowPixels(const std::uint32_t* pixels, UINT width, UINT height,
                            const TFrameArea* changed, std::size_t changedCount) = 0;
};
