#pragma once
// The constants the fixed-function shader reads, laid out exactly as its std140 uniform block.
// Built on the processor from the device state once per change, so the shader does only the
// per-vertex and per-pixel work. Matrices keep the row-vector layout of the 3D interface;
// the shader reads them transposed and multiplies from the left, which is the same product.

#include "platform/d3d/FixedFunctionState.h"

#include <cstdint>

struct alignas(16) TShaderLight {
    float PositionType[4]; // camera-space position; w holds the light type
    float Direction[4];    // camera-space unit direction the light shines along
    float Diffuse[4];
    float Ambient[4];
    float Attenuation[4]; // a0, a1, a2, range
};

struct alignas(16) TShaderConstants {
    float WorldViewProjection[16];
    float WorldView[16];
    float NormalMatrix[16]; // inverse transpose of the world-view matrix (upper 3 x 3)
    float MaterialDiffuse[4];
    float MaterialAmbient[4];
    float MaterialEmissive[4];
    float GlobalAmbient[4];
    float Switches[4];      // lighting on, normals normalised
    std::int32_t Counts[4]; // lights in use, colour operation, alpha operation
    TShaderLight Lights[MaxLights];
};
static_assert(sizeof(TShaderLight) == 5 * 16);
static_assert(sizeof(TShaderConstants) == 3 * 64 + 6 * 16 + MaxLights * 5 * 16);

// What the stage computes from the texture (argument 1) and the lit diffuse colour (argument
// 2): a disabled stage, or any operation when no texture is bound, passes the diffuse through.
D3DTEXTUREOP EffectiveOperation(D3DTEXTUREOP op, D3DTEXTUREOP colorOp, bool textureBound);

void BuildShaderConstants(const TFixedFunctionState& state, bool textureBound,
                          TShaderConstants& constants);
