#pragma once
// The OpenGL switches behind the render and sampler states: culling, depth test, blending and
// the sampler of texture unit 0. Remembers what OpenGL holds and changes only what differs,
// since the game flips some of these states several times a frame.

#include "platform/d3d/FixedFunctionState.h"
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
    void ApplySampler(TGLFunctions& gl, const TTextureStage& stage);

    GLuint Sampler = 0;
    // What OpenGL holds, in the states' own terms; DepthEnable is whether the test is on.
    TRenderStates Applied;
    TTextureStage AppliedStage;
};
