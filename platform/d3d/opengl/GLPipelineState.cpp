#include "platform/d3d/opengl/GLPipelineState.h"

namespace {

GLenum BlendFactor(D3DBLEND blend) {
    switch (blend) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_ONE:
        break;
    }
    return GL_ONE;
}

GLint Filter(D3DTEXTUREFILTERTYPE filter) {
    return filter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
}

GLint Wrap(D3DTEXTUREADDRESS address) {
    return address == D3DTADDRESS_CLAMP ? GL_CLAMP_TO_EDGE : GL_REPEAT;
}

void Switch(TGLFunctions& gl, GLenum capability, bool on) {
    if (on) {
        gl.glEnable(capability);
    } else {
        gl.glDisable(capability);
    }
}

} // namespace

void TGLPipelineState::Create(TGLFunctions& gl) {
    gl.glGenSamplers(1, &Sampler);
    gl.glBindSampler(0, Sampler);
    // Start from a known OpenGL state that matches Applied, then set the sampler from it.
    gl.glDisable(GL_CULL_FACE);
    gl.glDisable(GL_DEPTH_TEST);
    gl.glDepthFunc(GL_LEQUAL);
    gl.glDepthMask(GL_TRUE);
    gl.glDisable(GL_BLEND);
    gl.glBlendFunc(GL_ONE, GL_ZERO);
    gl.glCullFace(GL_BACK);
    Applied = {};
    gl.glSamplerParameteri(Sampler, GL_TEXTURE_MAG_FILTER, Filter(Applied.MagFilter));
    gl.glSamplerParameteri(Sampler, GL_TEXTURE_MIN_FILTER, Filter(Applied.MinFilter));
    gl.glSamplerParameteri(Sampler, GL_TEXTURE_WRAP_S, Wrap(Applied.AddressU));
    gl.glSamplerParameteri(Sampler, GL_TEXTURE_WRAP_T, Wrap(Applied.AddressV));
}

void TGLPipelineState::Destroy(TGLFunctions& gl) {
    if (Sampler != 0) {
        gl.glDeleteSamplers(1, &Sampler);
        Sampler = 0;
    }
}

void TGLPipelineState::Apply(TGLFunctions& gl, const TRenderStates& states,
                             const TTextureStage& stage, bool hasDepthBuffer) {
    if (states.CullMode != Applied.CullMode) {
        Switch(gl, GL_CULL_FACE, states.CullMode != D3DCULL_NONE);
        // Both interfaces judge the turn as the viewer sees it, so culling the triangles that
        // run counter-clockwise means treating the clockwise ones as front faces.
        if (states.CullMode != D3DCULL_NONE) {
            gl.glFrontFace(states.CullMode == D3DCULL_CCW ? GL_CW : GL_CCW);
        }
        Applied.CullMode = states.CullMode;
    }
    const bool depthTest = states.DepthEnable && hasDepthBuffer;
    if (depthTest != Applied.DepthTest) {
        Switch(gl, GL_DEPTH_TEST, depthTest);
        Applied.DepthTest = depthTest;
    }
    if (states.BlendEnable != Applied.Blend) {
        Switch(gl, GL_BLEND, states.BlendEnable);
        Applied.Blend = states.BlendEnable;
    }
    if (states.SourceBlend != Applied.SourceBlend || states.DestBlend != Applied.DestBlend) {
        gl.glBlendFunc(BlendFactor(states.SourceBlend), BlendFactor(states.DestBlend));
        Applied.SourceBlend = states.SourceBlend;
        Applied.DestBlend = states.DestBlend;
    }
    ApplySampler(gl, stage);
}

void TGLPipelineState::ApplySampler(TGLFunctions& gl, const TTextureStage& stage) {
    if (stage.MagFilter != Applied.MagFilter) {
        gl.glSamplerParameteri(Sampler, GL_TEXTURE_MAG_FILTER, Filter(stage.MagFilter));
        Applied.MagFilter = stage.MagFilter;
    }
    if (stage.MinFilter != Applied.MinFilter) {
        gl.glSamplerParameteri(Sampler, GL_TEXTURE_MIN_FILTER, Filter(stage.MinFilter));
        Applied.MinFilter = stage.MinFilter;
    }
    if (stage.AddressU != Applied.AddressU) {
        gl.glSamplerParameteri(Sampler, GL_TEXTURE_WRAP_S, Wrap(stage.AddressU));
        Applied.AddressU = stage.AddressU;
    }
    if (stage.AddressV != Applied.AddressV) {
        gl.glSamplerParameteri(Sampler, GL_TEXTURE_WRAP_T, Wrap(stage.AddressV));
        Applied.AddressV = stage.AddressV;
    }
}
