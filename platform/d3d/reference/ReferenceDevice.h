#pragma once
// The reference device: our own software rasteriser behind the 3D interface.

#include "platform/d3d/FramePacer.h"
#include "platform/d3d/reference/RasterTypes.h"
#include "platform/interfaces/D3D8.h"

#include <memory>

// A device with a window waits at Present for the display's next refresh (TPresentTiming)
// unless params.FullScreen_PresentationInterval is IMMEDIATE (the benchmarks); one without a
// window never waits.

// Creates the software device. With a window, the back buffer takes the window's client
// size when params.BackBufferWidth/Height are 0, and Present hands the frame to
// window->ShowPixels, paced at an unknown refresh rate. Without a window (null), params must name
// the size: an offscreen device whose back buffer is read with ReadBackBuffer. The device draws on
// one thread per core; the picture does not depend on the number of threads.
HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              IDirect3DDevice8** device);

// The same with a chosen number of drawing threads (0: one per core), for tests and
// benchmarks that compare thread counts.
HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              unsigned threadCount, IDirect3DDevice8** device);

// The same, paced by `timing`.
HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              unsigned threadCount, const TPresentTiming& timing,
                              IDirect3DDevice8** device);

// The same drawing its tiles the way named: the tests draw with both and compare.
HRESULT CreateReferenceDevice(const D3DPRESENT_PARAMETERS& params, HWND window,
                              unsigned threadCount, Reference::ETileShading shading,
                              IDirect3DDevice8** device);
