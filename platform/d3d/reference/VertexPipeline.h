#pragma once
// Per-vertex work of the software device: world, view and projection transforms and the
// fixed-function lighting, done in camera space. Prepare once per draw, then Process each
// vertex of the draw.

#include "platform/d3d/FixedFunctionDevice.h"
#include "platform/d3d/reference/RasterTypes.h"

#include <array>

namespace Reference {

class TVertexPipeline {
public:
    // Combines the transforms and moves the enabled lights into camera space.
    void Prepare(const TFixedFunctionState& state);
    // Transforms and lights one vertex laid out as DrawnVertexFormat.
    TClipVertex Process(const BYTE* vertex) const;

private:
    struct TCameraLight {
        bool Directional;
        float X, Y, Z; // position, or for a directional light the unit vector towards it
        float Range;
        float A0, A1, A2; // attenuation factors
        D3DCOLORVALUE Diffuse;
        D3DCOLORVALUE Ambient;
    };

    void Light(const float (&position)[3], const float (&normal)[3], TClipVertex& out) const;

    D3DMATRIX WorldView{};
    D3DMATRIX WorldViewProjection{};
    D3DMATRIX NormalMatrix{};
    bool Lighting = false;
    bool NormalizeNormals = false;
    D3DMATERIAL8 Material{};
    D3DCOLORVALUE GlobalAmbient{};
    std::array<TCameraLight, MaxLights> Lights{};
    int LightCount = 0;
};

} // namespace Reference
