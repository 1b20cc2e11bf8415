#pragma once
// The constants the fixed-function shader reads, laid out exactly as its std140 uniform block.
// Built on the processor from the device state once per change, so the shader does only the
// per-vertex and per-pixel work. Matrices keep the row-vector layout of the 3D interface;
// the shader reads them transposed and multiplies from the left, which is the same product.

#include "platform/d3d/opengl/FixedFunctionState.h"

#include <cstdint>

// The shader's names for the colour arguments and operations are the interface's values.
struct alignas(16) TShaderLight {
    float PositionType[4]; // camera-space position; w holds the light type
    float Direction[4];    // camera-space unit direction the light shines along
    float Diffuse[4];
    float Specular[4];
    float Ambient[4];
    float Attenuation[4]; // a0, a1, a2, range
    float Spot[4];        // cos(theta / 2), cos(phi / 2), falloff
};

struct alignas(16) TShaderConstants {
    float WorldViewProjection[16];
    float WorldView[16];
    float NormalMatrix[16]; // inverse transpose of the world-view matrix (upper 3 x 3)
    float MaterialDiffuse[4];
    float MaterialAmbient[4];
    float MaterialSpecular[4];
    float MaterialEmissive[4];
    float GlobalAmbient[4];
    float Switches[4];          // lighting, normalise normals, specular, material power
    std::int32_t ColorStage[4]; // light count, colour op, colour arg 1, colour arg 2
    std::int32_t AlphaStage[4]; // alpha op, alpha arg 1, alpha arg 2
    TShaderLight Lights[MaxActiveLights];
};
static_assert(sizeof(TShaderLight) == 7 * 16);
static_assert(sizeof(TShaderConstants) == 3 * 64 + 8 * 16 + MaxActiveLights * 7 * 16);

// Row-vector product: a point times the result is the point times `first`, then `second`.
D3DMATRIX MultiplyMatrices(const D3DMATRIX& first, const D3DMATRIX& second);

// The matrix that carries normals: the inverse transpose of the upper 3 x 3 of `m`. A matrix
// that flattens an axis has no inverse; its cofactors still give the limiting direction.
D3DMATRIX NormalMatrixOf(const D3DMATRIX& m);

// What a stage computes once the missing texture is accounted for: an operation that reads
// the texture when none is bound, or a disabled stage, passes the lit diffuse colour through.
struct TStageOperation {
    D3DTEXTUREOP Op;
    DWORD Arg1;
    DWORD Arg2;
};
TStageOperation EffectiveColorOperation(const TTextureStage& stage, bool textureBound);
TStageOperation EffectiveAlphaOperation(const TTextureStage& stage, bool textureBound);

void BuildShaderConstants(const TFixedFunctionState& state, bool textureBound,
                          TShaderConstants& constants);
