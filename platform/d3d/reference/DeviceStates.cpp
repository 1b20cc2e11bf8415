#include "platform/d3d/reference/DeviceStates.h"

#include <cmath>

namespace Reference {
namespace {

D3DMATRIX Identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

bool IsSupportedBlend(DWORD value) {
    return value == D3DBLEND_ZERO || value == D3DBLEND_ONE || value == D3DBLEND_SRCALPHA ||
           value == D3DBLEND_INVSRCALPHA;
}

bool IsSupportedOp(DWORD value) {
    return value == D3DTOP_DISABLE || value == D3DTOP_SELECTARG1 || value == D3DTOP_SELECTARG2 ||
           value == D3DTOP_MODULATE || value == D3DTOP_MODULATE2X;
}

bool IsSupportedFilter(DWORD value) {
    return value == D3DTEXF_POINT || value == D3DTEXF_LINEAR;
}

bool IsFiniteColor(const D3DCOLORVALUE& c) {
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

// The light as a fresh device makes it when a light never set is enabled.
D3DLIGHT8 DefaultLight() {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DCOLORVALUE{1, 1, 1, 0};
    light.Direction = D3DVECTOR{0, 0, 1};
    return light;
}

} // namespace

TDeviceStates::TDeviceStates(bool hasDepthBuffer)
    : ZEnable(hasDepthBuffer), World(Identity()), View(Identity()), Projection(Identity()) {}

HRESULT TDeviceStates::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    switch (state) {
    case D3DRS_ZENABLE:
        // Only plain z buffering (no w buffering).
        if (value > 1) {
            return D3DERR_INVALIDCALL;
        }
        ZEnable = value != 0;
        return D3D_OK;
    case D3DRS_CULLMODE:
        if (value != D3DCULL_NONE && value != D3DCULL_CW && value != D3DCULL_CCW) {
            return D3DERR_INVALIDCALL;
        }
        CullMode = static_cast<D3DCULL>(value);
        return D3D_OK;
    case D3DRS_LIGHTING:
        Lighting = value != 0;
        return D3D_OK;
    case D3DRS_NORMALIZENORMALS:
        NormalizeNormals = value != 0;
        return D3D_OK;
    case D3DRS_ALPHABLENDENABLE:
        AlphaBlend = value != 0;
        return D3D_OK;
    case D3DRS_SPECULARENABLE:
        // Specular highlights are not drawn; switching them on is refused, not ignored.
        return value == 0 ? D3D_OK : D3DERR_INVALIDCALL;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
        if (!IsSupportedBlend(value)) {
            return D3DERR_INVALIDCALL;
        }
        (state == D3DRS_SRCBLEND ? SrcBlend : DestBlend) = static_cast<D3DBLEND>(value);
        return D3D_OK;
    case D3DRS_AMBIENT:
        Ambient = value;
        return D3D_OK;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT TDeviceStates::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                            DWORD value) {
    if (stage != 0) {
        return D3DERR_INVALIDCALL;
    }
    switch (type) {
    case D3DTSS_COLOROP:
    case D3DTSS_ALPHAOP:
        if (!IsSupportedOp(value)) {
            return type == D3DTSS_COLOROP ? D3DERR_UNSUPPORTEDCOLOROPERATION
                                          : D3DERR_UNSUPPORTEDALPHAOPERATION;
        }
        (type == D3DTSS_COLOROP ? ColorOp : AlphaOp) = static_cast<D3DTEXTUREOP>(value);
        return D3D_OK;
    case D3DTSS_COLORARG1:
    case D3DTSS_ALPHAARG1:
        if (value != D3DTA_TEXTURE) {
            return type == D3DTSS_COLORARG1 ? D3DERR_UNSUPPORTEDCOLORARG
                                            : D3DERR_UNSUPPORTEDALPHAARG;
        }
        return D3D_OK;
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG2:
        // On the first stage the current colour is the lit diffuse colour.
        if (value != D3DTA_DIFFUSE && value != D3DTA_CURRENT) {
            return type == D3DTSS_COLORARG2 ? D3DERR_UNSUPPORTEDCOLORARG
                                            : D3DERR_UNSUPPORTEDALPHAARG;
        }
        return D3D_OK;
    case D3DTSS_MAGFILTER:
    case D3DTSS_MINFILTER:
        if (!IsSupportedFilter(value)) {
            return D3DERR_UNSUPPORTEDTEXTUREFILTER;
        }
        (type == D3DTSS_MAGFILTER ? MagFilter : MinFilter) =
            static_cast<D3DTEXTUREFILTERTYPE>(value);
        return D3D_OK;
    case D3DTSS_MIPFILTER:
        // Textures have one level, so every mipmap filter samples the same texels.
        return value <= D3DTEXF_LINEAR ? D3D_OK : D3DERR_UNSUPPORTEDTEXTUREFILTER;
    case D3DTSS_ADDRESSU:
    case D3DTSS_ADDRESSV:
        return value == D3DTADDRESS_WRAP ? D3D_OK : D3DERR_INVALIDCALL;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT TDeviceStates::SetLight(DWORD index, const D3DLIGHT8* light) {
    if (index >= MaxLights || light == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (light->Type != D3DLIGHT_POINT && light->Type != D3DLIGHT_DIRECTIONAL) {
        return D3DERR_INVALIDCALL;
    }
    if (!IsFiniteColor(light->Diffuse) || !IsFiniteColor(light->Ambient)) {
        return D3DERR_INVALIDCALL;
    }
    if (light->Type == D3DLIGHT_POINT) {
        // Negative terms or all-zero attenuation would divide by zero or light backwards.
        if (!(light->Range >= 0) || !(light->Attenuation0 >= 0) || !(light->Attenuation1 >= 0) ||
            !(light->Attenuation2 >= 0) ||
            light->Attenuation0 + light->Attenuation1 + light->Attenuation2 <= 0) {
            return D3DERR_INVALIDCALL;
        }
    } else if (light->Direction.x == 0 && light->Direction.y == 0 && light->Direction.z == 0) {
        return D3DERR_INVALIDCALL;
    }
    Lights[index].Light = *light;
    return D3D_OK;
}

HRESULT TDeviceStates::LightEnable(DWORD index, BOOL enable) {
    if (index >= MaxLights) {
        return D3DERR_INVALIDCALL;
    }
    TLightSlot& slot = Lights[index];
    if (slot.Light.Type == 0) {
        slot.Light = DefaultLight();
    }
    slot.Enabled = enable != 0;
    return D3D_OK;
}

HRESULT TDeviceStates::SetMaterial(const D3DMATERIAL8* material) {
    if (material == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    Material = *material;
    return D3D_OK;
}

HRESULT TDeviceStates::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (matrix == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    switch (state) {
    case D3DTS_WORLD:
        World = *matrix;
        return D3D_OK;
    case D3DTS_VIEW:
        View = *matrix;
        return D3D_OK;
    case D3DTS_PROJECTION:
        Projection = *matrix;
        return D3D_OK;
    }
    return D3DERR_INVALIDCALL;
}

} // namespace Reference
