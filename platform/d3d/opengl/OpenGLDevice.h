#pragma once
// The hardware device: the 3D interface drawn with OpenGL 3.3 into a window's native surface.

#include "platform/d3d/FramePacer.h"
#include "platform/interfaces/D3D8.h"

// Makes a device presenting into `window`, which must offer an OpenGL surface (a
// TDeviceWidget does). The parameters are expected checked by the Direct3D object. Fails with
// D3DERR_NOTAVAILABLE, having released everything it made, when no OpenGL 3.3 context can be
// had or the environment sets ZORBIX_DEVICE=reference (for machines whose OpenGL is broken);
// the caller then falls back to the reference device. Present keeps to one frame per refresh
// of `timing` unless params.FullScreen_PresentationInterval is IMMEDIATE.
HRESULT CreateOpenGLDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                           const TPresentTiming& timing, IDirect3DDevice8** device);
