#pragma once
// The one shader program that stands in for the fixed-function pipeline: per-vertex lighting
// in camera space, one texture stage, and the conversion of the interface's clip space
// (depth 0..1) to OpenGL's (-1..1). Its constants live in one uniform buffer.

#include "platform/d3d/opengl/GLFunctions.h"
#include "platform/d3d/opengl/ShaderConstants.h"

// Attribute slots the device binds its vertex streams to.
constexpr GLuint PositionAttribute = 0;
constexpr GLuint NormalAttribute = 1;
constexpr GLuint TexCoordAttribute = 2;

class TFixedFunctionProgram {
public:
    // Compiles and links; false (nothing left behind) when the driver refuses.
    bool Create(TGLFunctions& gl);
    // Frees the program and its buffer; the context must be current.
    void Destroy(TGLFunctions& gl);
    // Makes the program current with its constants and texture unit 0 bound.
    void Use(TGLFunctions& gl) const;
    void Upload(TGLFunctions& gl, const TShaderConstants& constants) const;

private:
    GLuint Program = 0;
    GLuint ConstantBuffer = 0;
};
