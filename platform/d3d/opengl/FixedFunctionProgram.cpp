#include "platform/d3d/opengl/FixedFunctionProgram.h"

namespace {

constexpr GLuint ConstantsBinding = 0;

// The interface's values for operations (2 select the texture, 3 select the lit diffuse
// colour, 4 modulate, 5 modulate 2x) and light types (1 point, 3 directional) are used as they
// are.
constexpr const char* ConstantsBlock = R"(
struct TLight {
    vec4 PositionType;
    vec4 Direction;
    vec4 Diffuse;
    vec4 Ambient;
    vec4 Attenuation;
};
layout(std140) uniform FixedFunction {
    mat4 WorldViewProjection;
    mat4 WorldView;
    mat4 NormalMatrix;
    vec4 MaterialDiffuse;
    vec4 MaterialAmbient;
    vec4 MaterialEmissive;
    vec4 GlobalAmbient;
    vec4 Switches;
    ivec4 Counts;
    TLight Lights[8];
};
)";

constexpr const char* VertexShaderBody = R"(
layout(location = 0) in vec3 Position;
layout(location = 1) in vec3 Normal;
layout(location = 2) in vec2 TexCoord;
out vec4 LitDiffuse;
out vec2 Uv;

const int PointLight = 1;

void main() {
    vec4 clip = WorldViewProjection * vec4(Position, 1.0);
    // The interface maps depth to 0..w, OpenGL to -w..w.
    gl_Position = vec4(clip.xy, 2.0 * clip.z - clip.w, clip.w);
    Uv = TexCoord;
    if (Switches.x == 0.0) {
        LitDiffuse = vec4(1.0);
        return;
    }
    vec3 p = (WorldView * vec4(Position, 1.0)).xyz;
    vec3 n = mat3(NormalMatrix) * Normal;
    if (Switches.y != 0.0 && dot(n, n) > 0.0) {
        n = normalize(n);
    }
    vec3 ambient = GlobalAmbient.rgb;
    vec3 diffuse = vec3(0.0);
    for (int i = 0; i < Counts.x; ++i) {
        vec3 toLight = -Lights[i].Direction.xyz;
        float attenuation = 1.0;
        if (int(Lights[i].PositionType.w) == PointLight) {
            vec3 offset = Lights[i].PositionType.xyz - p;
            float distance = length(offset);
            if (distance > Lights[i].Attenuation.w) {
                continue;
            }
            toLight = distance > 0.0 ? offset / distance : vec3(0.0);
            vec3 a = Lights[i].Attenuation.xyz;
            attenuation = 1.0 / (a.x + a.y * distance + a.z * distance * distance);
        }
        ambient += Lights[i].Ambient.rgb * attenuation;
        diffuse += Lights[i].Diffuse.rgb * max(dot(n, toLight), 0.0) * attenuation;
    }
    vec3 lit = MaterialEmissive.rgb + MaterialAmbient.rgb * ambient +
               MaterialDiffuse.rgb * diffuse;
    LitDiffuse = vec4(clamp(lit, 0.0, 1.0), clamp(MaterialDiffuse.a, 0.0, 1.0));
}
)";

constexpr const char* FragmentShaderBody = R"(
in vec4 LitDiffuse;
in vec2 Uv;
out vec4 FragColor;
uniform sampler2D Texture0;

const int SelectArg1 = 2;
const int Modulate = 4;
const int Modulate2x = 5;

vec4 Combine(int op, vec4 texel) {
    if (op == SelectArg1) {
        return texel;
    }
    if (op == Modulate) {
        return texel * LitDiffuse;
    }
    if (op == Modulate2x) {
        return min(texel * LitDiffuse * 2.0, vec4(1.0));
    }
    return LitDiffuse;
}

void main() {
    vec4 texel = texture(Texture0, Uv);
    FragColor = vec4(Combine(Counts.y, texel).rgb, Combine(Counts.z, texel).a);
}
)";

GLuint CompileShader(TGLFunctions& gl, GLenum type, const char* body) {
    const char* sources[] = {"#version 330 core\n", ConstantsBlock, body};
    const GLuint shader = gl.glCreateShader(type);
    gl.glShaderSource(shader, 3, sources, nullptr);
    gl.glCompileShader(shader);
    GLint compiled = GL_FALSE;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        gl.glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

bool TFixedFunctionProgram::Create(TGLFunctions& gl) {
    const GLuint vertex = CompileShader(gl, GL_VERTEX_SHADER, VertexShaderBody);
    const GLuint fragment = CompileShader(gl, GL_FRAGMENT_SHADER, FragmentShaderBody);
    if (vertex != 0 && fragment != 0) {
        Program = gl.glCreateProgram();
        gl.glAttachShader(Program, vertex);
        gl.glAttachShader(Program, fragment);
        gl.glLinkProgram(Program);
    }
    gl.glDeleteShader(vertex);
    gl.glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    if (Program != 0) {
        gl.glGetProgramiv(Program, GL_LINK_STATUS, &linked);
    }
    const GLuint block =
        linked == GL_TRUE ? gl.glGetUniformBlockIndex(Program, "FixedFunction") : GL_INVALID_INDEX;
    GLint blockSize = 0;
    if (block != GL_INVALID_INDEX) {
        gl.glGetActiveUniformBlockiv(Program, block, GL_UNIFORM_BLOCK_DATA_SIZE, &blockSize);
    }
    // The processor fills the block by its own layout; a driver that lays it out otherwise
    // would light the scene with garbage, so it is refused here instead.
    if (blockSize != static_cast<GLint>(sizeof(TShaderConstants))) {
        Destroy(gl);
        return false;
    }
    gl.glUniformBlockBinding(Program, block, ConstantsBinding);
    gl.glUseProgram(Program);
    gl.glUniform1i(gl.glGetUniformLocation(Program, "Texture0"), 0);
    gl.glGenBuffers(1, &ConstantBuffer);
    gl.glBindBuffer(GL_UNIFORM_BUFFER, ConstantBuffer);
    gl.glBufferData(GL_UNIFORM_BUFFER, sizeof(TShaderConstants), nullptr, GL_DYNAMIC_DRAW);
    return true;
}

void TFixedFunctionProgram::Destroy(TGLFunctions& gl) {
    if (ConstantBuffer != 0) {
        gl.glDeleteBuffers(1, &ConstantBuffer);
        ConstantBuffer = 0;
    }
    if (Program != 0) {
        gl.glDeleteProgram(Program);
        Program = 0;
    }
}

void TFixedFunctionProgram::Use(TGLFunctions& gl) const {
    gl.glUseProgram(Program);
    gl.glBindBufferBase(GL_UNIFORM_BUFFER, ConstantsBinding, ConstantBuffer);
}

void TFixedFunctionProgram::Upload(TGLFunctions& gl, const TShaderConstants& constants) const {
    gl.glBindBuffer(GL_UNIFORM_BUFFER, ConstantBuffer);
    gl.glBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof constants, &constants);
}
