#pragma once
// The fixed-function state both devices draw with: render states, the one texture stage, eight
// lights, the material and the three transforms. Every setter checks its arguments and answers
// the interface's code for what it rejects, leaving the state unchanged; both devices keep their
// state here, so the game meets the same rules on either. Plain data: the hardware device turns
// it into shader constants and OpenGL switches, the software device into its vertex and pixel
// work.

#include "platform/interfaces/D3D8Types.h"

#include <array>
#include <cstdint>

// Light indices run from 0 to 7.
constexpr DWORD MaxLights = 8;

struct TRenderStates {
    bool DepthEnable = false;
    D3DBLEND SourceBlend = D3DBLEND_ONE;
    D3DBLEND DestBlend = D3DBLEND_ZERO;
    D3DCULL CullMode = D3DCULL_CCW;
    bool BlendEnable = false;
    bool Lighting = true;
    D3DCOLOR Ambient = 0;
    bool NormalizeNormals = false;
};

// Stage 0: its arguments stay texture first and lit diffuse second; textures always wrap.
struct TTextureStage {
    D3DTEXTUREOP ColorOp = D3DTOP_MODULATE;
    D3DTEXTUREOP AlphaOp = D3DTOP_SELECTARG1;
    D3DTEXTUREFILTERTYPE MagFilter = D3DTEXF_POINT;
    D3DTEXTUREFILTERTYPE MinFilter = D3DTEXF_POINT;
};

struct TLightSlot {
    D3DLIGHT8 Light{};
    bool Enabled = false;
};

class TFixedFunctionState {
public:
    // Depth testing starts switched on exactly when the device has a depth buffer.
    explicit TFixedFunctionState(bool hasDepthBuffer);

    // Specular highlights are not drawn: switching them on is refused rather than ignored.
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    // Point and directional lights only.
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
    const std::array<TLightSlot, MaxLights>& Lights() const { return LightSlots; }

    // Moves with every accepted change, so a device can tell when to rebuild what it derived.
    std::uint64_t Version() const { return ChangeCount; }

private:
    TRenderStates States;
    TTextureStage TextureStage;
    D3DMATERIAL8 CurrentMaterial{};
    D3DMATRIX WorldMatrix;
    D3DMATRIX ViewMatrix;
    D3DMATRIX ProjectionMatrix;
    std::array<TLightSlot, MaxLights> LightSlots{};
    std::uint64_t ChangeCount = 0;
};
