#pragma once
// Plain data of the 3D interface: result codes, state names and values, and the records
// handed to the device. Values are those of the Direct3D 8 interface the game was written for.

#include <cstdint>

using HRESULT = std::int32_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using BYTE = std::uint8_t;
using BOOL = std::int32_t;
using D3DCOLOR = std::uint32_t;

constexpr bool Succeeded(HRESULT code) {
    return code >= 0;
}
constexpr bool Failed(HRESULT code) {
    return code < 0;
}
constexpr HRESULT MakeResult(std::uint32_t bits) {
    return static_cast<HRESULT>(bits);
}

constexpr HRESULT D3D_OK = 0;
constexpr HRESULT E_FAIL = MakeResult(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = MakeResult(0x8007000E);
constexpr HRESULT E_INVALIDARG = MakeResult(0x80070057);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = MakeResult(0x8876017C);
constexpr HRESULT D3DERR_WRONGTEXTUREFORMAT = MakeResult(0x88760818);
constexpr HRESULT D3DERR_UNSUPPORTEDCOLOROPERATION = MakeResult(0x88760819);
constexpr HRESULT D3DERR_UNSUPPORTEDCOLORARG = MakeResult(0x8876081A);
constexpr HRESULT D3DERR_UNSUPPORTEDALPHAOPERATION = MakeResult(0x8876081B);
constexpr HRESULT D3DERR_UNSUPPORTEDALPHAARG = MakeResult(0x8876081C);
constexpr HRESULT D3DERR_TOOMANYOPERATIONS = MakeResult(0x8876081D);
constexpr HRESULT D3DERR_CONFLICTINGTEXTUREFILTER = MakeResult(0x8876081E);
constexpr HRESULT D3DERR_UNSUPPORTEDFACTORVALUE = MakeResult(0x8876081F);
constexpr HRESULT D3DERR_CONFLICTINGRENDERSTATE = MakeResult(0x88760821);
constexpr HRESULT D3DERR_UNSUPPORTEDTEXTUREFILTER = MakeResult(0x88760822);
constexpr HRESULT D3DERR_CONFLICTINGTEXTUREPALETTE = MakeResult(0x88760826);
constexpr HRESULT D3DERR_DRIVERINTERNALERROR = MakeResult(0x88760827);
constexpr HRESULT D3DERR_NOTFOUND = MakeResult(0x88760866);
constexpr HRESULT D3DERR_MOREDATA = MakeResult(0x88760867);
constexpr HRESULT D3DERR_DEVICELOST = MakeResult(0x88760868);
constexpr HRESULT D3DERR_DEVICENOTRESET = MakeResult(0x88760869);
constexpr HRESULT D3DERR_NOTAVAILABLE = MakeResult(0x8876086A);
constexpr HRESULT D3DERR_INVALIDDEVICE = MakeResult(0x8876086B);
constexpr HRESULT D3DERR_INVALIDCALL = MakeResult(0x8876086C);

constexpr UINT D3D_SDK_VERSION = 120;
constexpr UINT D3DADAPTER_DEFAULT = 0;

enum D3DDEVTYPE : DWORD { D3DDEVTYPE_HAL = 1, D3DDEVTYPE_REF = 2 };

enum D3DFORMAT : DWORD {
    D3DFMT_UNKNOWN = 0,
    D3DFMT_A8R8G8B8 = 21,
    D3DFMT_X8R8G8B8 = 22,
    D3DFMT_R5G6B5 = 23,
    D3DFMT_D16 = 80,
};

enum D3DPOOL : DWORD { D3DPOOL_DEFAULT = 0, D3DPOOL_MANAGED = 1, D3DPOOL_SYSTEMMEM = 2 };

enum D3DSWAPEFFECT : DWORD { D3DSWAPEFFECT_DISCARD = 1 };

constexpr DWORD D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x00000020;

// FullScreen_PresentationInterval: the default and ONE wait for the display's refresh;
// IMMEDIATE presents at once (benchmarks measure the device, not the display).
constexpr UINT D3DPRESENT_INTERVAL_DEFAULT = 0x00000000;
constexpr UINT D3DPRESENT_INTERVAL_ONE = 0x00000001;
constexpr UINT D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000;

constexpr DWORD D3DCLEAR_TARGET = 0x1;
constexpr DWORD D3DCLEAR_ZBUFFER = 0x2;
constexpr DWORD D3DCLEAR_STENCIL = 0x4;

constexpr DWORD D3DFVF_XYZ = 0x002;
constexpr DWORD D3DFVF_NORMAL = 0x010;
constexpr DWORD D3DFVF_TEX1 = 0x100;

enum D3DRENDERSTATETYPE : DWORD {
    D3DRS_ZENABLE = 7,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_SPECULARENABLE = 29,
    D3DRS_LIGHTING = 137,
    D3DRS_AMBIENT = 139,
    D3DRS_NORMALIZENORMALS = 143,
};

enum D3DCULL : DWORD { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };

enum D3DBLEND : DWORD {
    D3DBLEND_ZERO = 1,
    D3DBLEND_ONE = 2,
    D3DBLEND_SRCALPHA = 5,
    D3DBLEND_INVSRCALPHA = 6,
};

enum D3DTEXTURESTAGESTATETYPE : DWORD {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
    D3DTSS_ADDRESSU = 13,
    D3DTSS_ADDRESSV = 14,
    D3DTSS_MAGFILTER = 16,
    D3DTSS_MINFILTER = 17,
    D3DTSS_MIPFILTER = 18,
};

enum D3DTEXTUREOP : DWORD {
    D3DTOP_DISABLE = 1,
    D3DTOP_SELECTARG1 = 2,
    D3DTOP_SELECTARG2 = 3,
    D3DTOP_MODULATE = 4,
    D3DTOP_MODULATE2X = 5,
};

constexpr DWORD D3DTA_DIFFUSE = 0x0;
constexpr DWORD D3DTA_CURRENT = 0x1;
constexpr DWORD D3DTA_TEXTURE = 0x2;

enum D3DTEXTUREFILTERTYPE : DWORD { D3DTEXF_NONE = 0, D3DTEXF_POINT = 1, D3DTEXF_LINEAR = 2 };
enum D3DTEXTUREADDRESS : DWORD { D3DTADDRESS_WRAP = 1, D3DTADDRESS_CLAMP = 3 };

enum D3DTRANSFORMSTATETYPE : DWORD { D3DTS_VIEW = 2, D3DTS_PROJECTION = 3, D3DTS_WORLD = 256 };

enum D3DLIGHTTYPE : DWORD { D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3 };

enum D3DPRIMITIVETYPE : DWORD { D3DPT_TRIANGLELIST = 4 };

struct D3DVECTOR {
    float x, y, z;
};

struct D3DCOLORVALUE {
    float r, g, b, a;
};

// Row-vector convention: a point (x, y, z, 1) is multiplied from the left; the translation
// sits in the fourth row.
struct D3DMATRIX {
    union {
        struct {
            float _11, _12, _13, _14;
            float _21, _22, _23, _24;
            float _31, _32, _33, _34;
            float _41, _42, _43, _44;
        };
        float m[4][4];
    };
};

struct D3DMATERIAL8 {
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Ambient;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Emissive;
    float Power;
};
static_assert(sizeof(D3DMATERIAL8) == 68);

struct D3DLIGHT8 {
    D3DLIGHTTYPE Type;
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Ambient;
    D3DVECTOR Position;
    D3DVECTOR Direction;
    float Range;
    float Falloff;
    float Attenuation0;
    float Attenuation1;
    float Attenuation2;
    float Theta;
    float Phi;
};

struct D3DDISPLAYMODE {
    UINT Width;
    UINT Height;
    UINT RefreshRate;
    D3DFORMAT Format;
};

// What a device can do; of the original record only the leading fields up to DevCaps, the
// ones the game asks about.
struct D3DCAPS8 {
    D3DDEVTYPE DeviceType;
    UINT AdapterOrdinal;
    DWORD Caps;
    DWORD Caps2;
    DWORD Caps3;
    DWORD PresentationIntervals;
    DWORD CursorCaps;
    DWORD DevCaps;
};

// DevCaps: the device rasterises on a graphics processor, not on the central one.
constexpr DWORD D3DDEVCAPS_HWRASTERIZATION = 0x00080000;

struct D3DLOCKED_RECT {
    std::int32_t Pitch;
    void* pBits;
};

struct RECT {
    std::int32_t left, top, right, bottom;
};

struct D3DRECT {
    std::int32_t x1, y1, x2, y2;
};

// The window a device presents into; defined by the presenting layer (platform/d3d).
class TDeviceWindow;
using HWND = TDeviceWindow*;

struct D3DPRESENT_PARAMETERS {
    // 0 takes the size of the device window's client area; an offscreen device (no window)
    // must name its size here.
    UINT BackBufferWidth;
    UINT BackBufferHeight;
    D3DFORMAT BackBufferFormat;
    UINT BackBufferCount;
    DWORD MultiSampleType;
    D3DSWAPEFFECT SwapEffect;
    HWND hDeviceWindow;
    BOOL Windowed;
    BOOL EnableAutoDepthStencil;
    D3DFORMAT AutoDepthStencilFormat;
    DWORD Flags;
    UINT FullScreen_RefreshRateInHz;
    UINT FullScreen_PresentationInterval;
};
