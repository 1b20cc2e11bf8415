#pragma once
// The fixed-function state of the software device: render states, texture stage 0, lights,
// material and transforms, with the checks that turn an unknown state or value into the
// result code the 3D interface gives. Defaults are those of a freshly created device.

#include "platform/d3d/D3D8Types.h"

#include <array>

namespace Reference {

constexpr DWORD MaxLights = 8;

struct TLightSlot {
    D3DLIGHT8 Light{};
    bool Enabled = false;
};

struct TDeviceStates {
    explicit TDeviceStates(bool hasDepthBuffer);

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    HRESULT SetLight(DWORD index, const D3DLIGHT8* light);
    HRESULT LightEnable(DWORD index, BOOL enable);
    HRESULT SetMaterial(const D3DMATERIAL8* material);
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix);

    // Render states.
    bool ZEnable;
    D3DCULL CullMode = D3DCULL_CCW;
    bool Lighting = true;
    bool NormalizeNormals = false;
    bool AlphaBlend = false;
    D3DBLEND SrcBlend = D3DBLEND_ONE;
    D3DBLEND DestBlend = D3DBLEND_ZERO;
    D3DCOLOR Ambient = 0;

    // Texture stage 0; the arguments stay texture first, lit diffuse second.
    D3DTEXTUREOP ColorOp = D3DTOP_MODULATE;
    D3DTEXTUREOP AlphaOp = D3DTOP_SELECTARG1;
    D3DTEXTUREFILTERTYPE MagFilter = D3DTEXF_POINT;
    D3DTEXTUREFILTERTYPE MinFilter = D3DTEXF_POINT;

    std::array<TLightSlot, MaxLights> Lights{};
    D3DMATERIAL8 Material{};
    D3DMATRIX World;
    D3DMATRIX View;
    D3DMATRIX Projection;
};

} // namespace Reference
