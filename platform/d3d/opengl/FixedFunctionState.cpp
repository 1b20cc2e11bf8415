#include "platform/d3d/opengl/FixedFunctionState.h"

#include <cmath>
#include <limits>
#include <numbers>

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

bool IsTextureArg(DWORD value) {
    return value == D3DTA_DIFFUSE || value == D3DTA_CURRENT || value == D3DTA_TEXTURE;
}

bool IsZeroVector(const D3DVECTOR& v) {
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

// The limits the original runtime puts on a light: a known type, a usable direction for the
// lights that have one, and for lights with a position a finite range and an attenuation
// that can never divide by zero.
bool IsValidLight(const D3DLIGHT8& light) {
    const bool positioned = light.Type == D3DLIGHT_POINT || light.Type == D3DLIGHT_SPOT;
    const bool directed = light.Type == D3DLIGHT_DIRECTIONAL || light.Type == D3DLIGHT_SPOT;
    if (!positioned && !directed) {
        return false;
    }
    if (directed && IsZeroVector(light.Direction)) {
        return false;
    }
    if (positioned) {
        const float maxRange = std::sqrt(std::numeric_limits<float>::max());
        if (!(light.Range >= 0.0f && light.Range <= maxRange)) {
            return false;
        }
        if (!(light.Attenuation0 >= 0.0f && light.Attenuation1 >= 0.0f &&
              light.Attenuation2 >= 0.0f)) {
            return false;
        }
        if (light.Attenuation0 == 0.0f && light.Attenuation1 == 0.0f &&
            light.Attenuation2 == 0.0f) {
            return false;
        }
    }
    if (light.Type == D3DLIGHT_SPOT) {
        const float pi = std::numbers::pi_v<float>;
        if (!(light.Phi >= 0.0f && light.Phi <= pi && light.Theta >= 0.0f &&
              light.Theta <= light.Phi)) {
            return false;
        }
    }
    return true;
}

D3DLIGHT8 DefaultLight() {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
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
        States.SpecularEnable = value != 0;
        break;
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
    if (stage != 0) {
        return D3DERR_INVALIDCALL;
    }
    TTextureStage& s = TextureStage;
    switch (type) {
    case D3DTSS_COLOROP:
    case D3DTSS_ALPHAOP:
        if (!IsTextureOp(value)) {
            return D3DERR_INVALIDCALL;
        }
        (type == D3DTSS_COLOROP ? s.ColorOp : s.AlphaOp) = static_cast<D3DTEXTUREOP>(value);
        break;
    case D3DTSS_COLORARG1:
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG1:
    case D3DTSS_ALPHAARG2:
        if (!IsTextureArg(value)) {
            return D3DERR_INVALIDCALL;
        }
        (type == D3DTSS_COLORARG1   ? s.ColorArg1
         : type == D3DTSS_COLORARG2 ? s.ColorArg2
         : type == D3DTSS_ALPHAARG1 ? s.AlphaArg1
                                    : s.AlphaArg2) = value;
        break;
    case D3DTSS_ADDRESSU:
    case D3DTSS_ADDRESSV:
        if (value != D3DTADDRESS_WRAP && value != D3DTADDRESS_CLAMP) {
            return D3DERR_INVALIDCALL;
        }
        (type == D3DTSS_ADDRESSU ? s.AddressU : s.AddressV) = static_cast<D3DTEXTUREADDRESS>(value);
        break;
    case D3DTSS_MAGFILTER:
    case D3DTSS_MINFILTER:
        if (value != D3DTEXF_POINT && value != D3DTEXF_LINEAR) {
            return D3DERR_INVALIDCALL;
        }
        (type == D3DTSS_MAGFILTER ? s.MagFilter : s.MinFilter) =
            static_cast<D3DTEXTUREFILTERTYPE>(value);
        break;
    case D3DTSS_MIPFILTER:
        // Accepted for completeness; textures have one level, so it never shows.
        if (value > D3DTEXF_LINEAR) {
            return D3DERR_INVALIDCALL;
        }
        s.MipFilter = static_cast<D3DTEXTUREFILTERTYPE>(value);
        break;
    default:
        return D3DERR_INVALIDCALL;
    }
    ++ChangeCount;
    return D3D_OK;
}

HRESULT TFixedFunctionState::SetLight(DWORD index, const D3DLIGHT8* light) {
    if (light == nullptr || !IsValidLight(*light)) {
        return D3DERR_INVALIDCALL;
    }
    Lights[index] = *light;
    ++ChangeCount;
    return D3D_OK;
}

HRESULT TFixedFunctionState::LightEnable(DWORD index, BOOL enable) {
    DWORD slot = 0;
    while (slot < ActiveCount && ActiveIndex[slot] != index) {
        ++slot;
    }
    const bool isActive = slot < ActiveCount;
    if (enable != 0 && !isActive) {
        if (ActiveCount == MaxActiveLights) {
            return D3DERR_INVALIDCALL;
        }
        auto found = Lights.find(index);
        if (found == Lights.end()) {
            found = Lights.emplace(index, DefaultLight()).first;
        }
        Active[ActiveCount] = &found->second;
        ActiveIndex[ActiveCount] = index;
        ++ActiveCount;
    } else if (enable == 0 && isActive) {
        --ActiveCount;
        Active[slot] = Active[ActiveCount];
        ActiveIndex[slot] = ActiveIndex[ActiveCount];
    }
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
