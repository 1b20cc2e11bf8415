#pragma once
// The connection to the 3D interface: the one Direct3D object, the one device every drawing
// part uses, the one vertex buffer that holds all geometry, and the fixed render states, the
// texture stage and the two lights every frame relies on. User-interface thread only.

#include "platform/interfaces/D3D8.h"

// Written only by InitDirect3D and ReleaseDirect3D (the device bench puts its own device in
// place).
extern TComRef<IDirect3D8> Direct3DObject;
extern TComRef<IDirect3DDevice8> Direct3DDevice;
extern TComRef<IDirect3DVertexBuffer8> SceneVertexBuffer;

// What a device is made for. The game always asks for a windowed device whose back buffer
// takes the window's client size; tools and tests name a size and may have no window at all
// (only the reference device draws without one).
struct TDeviceRequest {
    HWND Window = nullptr;
    bool Hardware = true;
    UINT Width = 0;
    UINT Height = 0;
    // 0 waits for the display where the device can; benchmarks ask to present at once.
    UINT PresentationInterval = 0;
};

// Creates Direct3DObject and a windowed, depth-buffered Direct3DDevice on `window`: the
// OpenGL device when `hardware`, the software reference device otherwise. True when both
// exist; on failure whatever was made stays held until ReleaseDirect3D.
bool InitDirect3D(HWND window, bool hardware);
bool InitDirect3D(const TDeviceRequest& request);

// Whether Direct3DDevice draws on a graphics processor. An OpenGL that rasterises on the
// central processor is no 3D hardware: the game's own software device serves better there.
bool DeviceRasterizesInHardware();

// Releases the device, then the object. Safe when neither is held.
void ReleaseDirect3D();

// The scene state set-up, once right after the device is made: culling, depth, lighting
// with grey ambient light, the texture stage showing textures as they are, blending rules
// (blending itself off), light 0 on and light 1 off. Does nothing without a device.
void SetupSceneState();

// Render states the frame drawing switches and restores.
constexpr D3DCOLOR SceneAmbientLight = 0x00666666;
// The light that lights everything but the balls, and the one that lights only the balls.
constexpr DWORD SceneLight = 0;
constexpr DWORD BallLight = 1;
