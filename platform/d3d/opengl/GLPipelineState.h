#pragma once
// The OpenGL switches behind the render and sampler states: culling, depth test, blending and
// the sampler of texture unit 0. Remembers what OpenGL holds and changes only what differs,
// since the game flips some of these states several times a frame.

#include "platform/d3d/opengl/FixedFunctionState.h"
#include "platform/d3d/opengl/GLFunctions.h"

class TGLPipelineState {
public:
    // Makes the sampler and starts from OpenGL's defaults; the context must be current.
    void Create(TGLFunctions& gl);
    void Destroy(TGLFunctions& gl);
    // Brings OpenGL in line with the states; depth testing needs a depth buffer to work on.
    void Apply(TGLFunctions& gl, const TRenderStates& states, const TTextureStage& stage,
               bool hasDepthBuffer);

private:
    struct TApplied {
        D3DCULL CullMode = D3DCULL_NONE;
        bool DepthTest = false;
        bool Blend = false;
        D3DBLEND SourceBlend = D3DBLEND_ONE;
        D3DBLEND DestBlend = D3DBLEND_ZERO;
        D3DTEXTUREFILTERTYPE MagFilter = D3DTEXF_LINEAR;
        D3DTEXTUREFILTERTYPE MinFilter = D3DTEXF_LINEAR;
        D3DTEXTUREADDRESS AddressU = D3DTADDRESS_WRAP;
        D3DTEXTUREADDRESS AddressV = D3DTADDRESS_WRAP;
    };
    void ApplySampler(TGLFunctions& gl, const TTextureStage& stage);

    GLuint Sampler = 0;
    TApplied Applied;
};
