#pragma once
// The fixed-function state a device draws with: render states, the one texture stage, the
// lights, the material and the three transforms. Every setter checks its arguments as the
// original interface does and answers D3DERR_INVALIDCALL for what it rejects, leaving the state
// unchanged. Plain data, no GL: the device turns it into shader constants and GL switches.

#include "platform/d3d/D3D8Types.h"

#include <array>
#include <cstdint>
#include <map>

// Lights that may shine at once; enabling one more is refused.
constexpr DWORD MaxActiveLights = 8;

struct TRenderStates {
    bool DepthEnable = false;
    D3DBLEND SourceBlend = D3DBLEND_ONE;
    D3DBLEND DestBlend = D3DBLEND_ZERO;
    D3DCULL CullMode = D3DCULL_CCW;
    bool BlendEnable = false;
    bool SpecularEnable = false;
    bool Lighting = true;
    D3DCOLOR Ambient = 0;
    bool NormalizeNormals = false;
};

struct TTextureStage {
    D3DTEXTUREOP ColorOp = D3DTOP_MODULATE;
    DWORD ColorArg1 = D3DTA_TEXTURE;
    DWORD ColorArg2 = D3DTA_CURRENT;
    D3DTEXTUREOP AlphaOp = D3DTOP_SELECTARG1;
    DWORD AlphaArg1 = D3DTA_TEXTURE;
    DWORD AlphaArg2 = D3DTA_CURRENT;
    D3DTEXTUREADDRESS AddressU = D3DTADDRESS_WRAP;
    D3DTEXTUREADDRESS AddressV = D3DTADDRESS_WRAP;
    D3DTEXTUREFILTERTYPE MagFilter = D3DTEXF_POINT;
    D3DTEXTUREFILTERTYPE MinFilter = D3DTEXF_POINT;
    D3DTEXTUREFILTERTYPE MipFilter = D3DTEXF_NONE;
};

class TFixedFunctionState {
public:
    // Depth testing starts switched on exactly when the device has a depth buffer.
    explicit TFixedFunctionState(bool hasDepthBuffer);

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    // Only stage 0 exists: the device blends one texture.
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    HRESULT SetLight(DWORD index, const D3DLIGHT8* light);
    // Enabling a light never set gives it the default: white, directional, along +z.
    HRESULT LightEnable(DWORD index, BOOL enable);
    HRESULT SetMaterial(const D3DMATERIAL8* material);
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix);

    const TRenderStates& RenderStates() const { return States; }
    const TTextureStage& Stage() const { return TextureStage; }
    const D3DMATERIAL8& Material() const { return CurrentMaterial; }
    const D3DMATRIX& World() const { return WorldMatrix; }
    const D3DMATRIX& View() const { return ViewMatrix; }
    const D3DMATRIX& Projection() const { return ProjectionMatrix; }
    DWORD ActiveLightCount() const { return ActiveCount; }
    const D3DLIGHT8& ActiveLight(DWORD i) const { return *Active[i]; }

    // Moves with every accepted change, so a device can tell when to rebuild what it derived.
    std::uint64_t Version() const { return ChangeCount; }

private:
    TRenderStates States;
    TTextureStage TextureStage;
    D3DMATERIAL8 CurrentMaterial{};
    D3DMATRIX WorldMatrix;
    D3DMATRIX ViewMatrix;
    D3DMATRIX ProjectionMatrix;
    // Indices may be any number, so the lights live in a sparse table; map nodes never move,
    // which keeps the pointers of the active list valid while other lights are added.
    std::map<DWORD, D3DLIGHT8> Lights;
    std::array<D3DLIGHT8*, MaxActiveLights> Active{};
    std::array<DWORD, MaxActiveLights> ActiveIndex{};
    DWORD ActiveCount = 0;
    std::uint64_t ChangeCount = 0;
};
