#include "platform/d3d/FixedFunctionState.h"

#include <cmath>

namespace {

D3DMATRIX Identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

bool IsBlendFactor(DWORD value) {
    return value == D3DBLEND_ZERO || value == D3DBLEND_ONE || value == D3DBLEND_SRCALPHA ||
           value == D3DBLEND_INVSRCALPHA;
}

bool IsTextureOp(DWORD value) {
    return value >= D3DTOP_DISABLE && value <= D3DTOP_MODULATE2X;
}

bool IsFiniteColor(const D3DCOLORVALUE& c) {
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

// A light the shader can use: a point light whose attenuation can never divide by zero, or a
// directional light with a direction.
bool IsValidLight(const D3DLIGHT8& light) {
    if (!IsFiniteColor(light.Diffuse) || !IsFiniteColor(light.Ambient)) {
        return false;
    }
    if (light.Type == D3DLIGHT_POINT) {
        return light.Range >= 0.0f && light.Attenuation0 >= 0.0f && light.Attenuation1 >= 0.0f &&
               light.Attenuation2 >= 0.0f &&
               light.Attenuation0 + light.Attenuation1 + light.Attenuation2 > 0.0f;
    }
    const D3DVECTOR& d = light.Direction;
    return light.Type == D3DLIGHT_DIRECTIONAL && (d.x != 0.0f || d.y != 0.0f || d.z != 0.0f);
}

D3DLIGHT8 DefaultLight() {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
}

HRESULT CheckStageState(D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    switch (type) {
    case D3DTSS_COLOROP:
        return IsTextureOp(value) ? D3D_OK : D3DERR_UNSUPPORTEDCOLOROPERATION;
    case D3DTSS_ALPHAOP:
        return IsTextureOp(value) ? D3D_OK : D3DERR_UNSUPPORTEDALPHAOPERATION;
    case D3DTSS_COLORARG1:
        return value == D3DTA_TEXTURE ? D3D_OK : D3DERR_UNSUPPORTEDCOLORARG;
    case D3DTSS_ALPHAARG1:
        return value == D3DTA_TEXTURE ? D3D_OK : D3DERR_UNSUPPORTEDALPHAARG;
    // On the first stage the current colour is the lit diffuse colour.
    case D3DTSS_COLORARG2:
        return value == D3DTA_DIFFUSE || value == D3DTA_CURRENT ? D3D_OK
                                                                : D3DERR_UNSUPPORTEDCOLORARG;
    case D3DTSS_ALPHAARG2:
        return value == D3DTA_DIFFUSE || value == D3DTA_CURRENT ? D3D_OK
                                                                : D3DERR_UNSUPPORTEDALPHAARG;
    case D3DTSS_MAGFILTER:
    case D3DTSS_MINFILTER:
        return value == D3DTEXF_POINT || value == D3DTEXF_LINEAR ? D3D_OK
                                                                 : D3DERR_UNSUPPORTEDTEXTUREFILTER;
    // Textures have one level, so every mipmap filter samples the same texels.
    case D3DTSS_MIPFILTER:
        return value <= D3DTEXF_LINEAR ? D3D_OK : D3DERR_UNSUPPORTEDTEXTUREFILTER;
    case D3DTSS_ADDRESSU:
    case D3DTSS_ADDRESSV:
        return value == D3DTADDRESS_WRAP ? D3D_OK : D3DERR_INVALIDCALL;
    }
    return D3DERR_INVALIDCALL;
}

} // namespace

TFixedFunctionState::TFixedFunctionState(bool hasDepthBuffer)
    : WorldMatrix(Identity()), ViewMatrix(Identity()), ProjectionMatrix(Identity()) {
    States.DepthEnable = hasDepthBuffer;
}

HRESULT TFixedFunctionState::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    switch (state) {
    case D3DRS_ZENABLE:
        if (value > 1) {
            return D3DERR_INVALIDCALL; // depth by w is not offered
        }
        States.DepthEnable = value != 0;
        break;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
        if (!IsBlendFactor(value)) {
            return D3DERR_INVALIDCALL;
        }
        (state == D3DRS_SRCBLEND ? States.SourceBlend : States.DestBlend) =
            static_cast<D3DBLEND>(value);
        break;
    case D3DRS_CULLMODE:
        if (value < D3DCULL_NONE || value > D3DCULL_CCW) {
            return D3DERR_INVALIDCALL;
        }
        States.CullMode = static_cast<D3DCULL>(value);
        break;
    case D3DRS_ALPHABLENDENABLE:
        States.BlendEnable = value != 0;
        break;
    case D3DRS_SPECULARENABLE:
        return value == 0 ? D3D_OK : D3DERR_INVALIDCALL;
    case D3DRS_LIGHTING:
        States.Lighting = value != 0;
        break;
    case D3DRS_AMBIENT:
        States.Ambient = value;
        break;
    case D3DRS_NORMALIZENORMALS:
        States.NormalizeNormals = value != 0;
        break;
    default:
        return D3DERR_INVALIDCALL;
    }
    ++ChangeCount;
    return D3D_OK;
}

HRESULT TFixedFunctionState::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                  DWORD value) {
    const HRESULT checked = stage == 0 ? CheckStageState(type, value) : D3DERR_INVALIDCALL;
    if (Failed(checked)) {
        return checked;
    }
    switch (type) {
    case D3DTSS_COLOROP:
        TextureStage.ColorOp = static_cast<D3DTEXTUREOP>(value);
        break;
    case D3DTSS_ALPHAOP:
        TextureStage.AlphaOp = static_cast<D3DTEXTUREOP>(value);
        break;
    case D3DTSS_MAGFILTER:
        TextureStage.MagFilter = static_cast<D3DTEXTUREFILTERTYPE>(value);
        break;
    case D3DTSS_MINFILTER:
        TextureStage.MinFilter = static_cast<D3DTEXTUREFILTERTYPE>(value);
        break;
    default:
        return D3D_OK; // the only accepted value of the others is the one in force
    }
    ++ChangeCount;
    return D3D_OK;
}

HRESULT TFixedFunctionState::SetLight(DWORD index, const D3DLIGHT8* light) {
    if (index >= MaxLights || light == nullptr || !IsValidLight(*light)) {
        return D3DERR_INVALIDCALL;
    }
    LightSlots[index].Light = *light;
    ++ChangeCount;
    return D3D_OK;
}

HRESULT TFixedFunctionState::LightEnable(DWORD index, BOOL enable) {
    if (index >= MaxLights) {
        return D3DERR_INVALIDCALL;
    }
    TLightSlot& slot = LightSlots[index];
    if (slot.Light.Type == 0) {
        slot.Light = DefaultLight();
    }
    slot.Enabled = enable != 0;
    ++ChangeCount;
    return D3D_OK;
}

HRESULT TFixedFunctionState::SetMaterial(const D3DMATERIAL8* material) {
    if (material == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    CurrentMaterial = *material;
    ++ChangeCount;
    return D3D_OK;
}

HRESULT TFixedFunctionState::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (matrix == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    switch (state) {
    case D3DTS_WORLD:
        WorldMatrix = *matrix;
        break;
    case D3DTS_VIEW:
        ViewMatrix = *matrix;
        break;
    case D3DTS_PROJECTION:
        ProjectionMatrix = *matrix;
        break;
    default:
        return D3DERR_INVALIDCALL;
    }
    ++ChangeCount;
    return D3D_OK;
}
