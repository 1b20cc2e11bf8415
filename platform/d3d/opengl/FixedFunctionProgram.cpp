#include "platform/d3d/opengl/FixedFunctionProgram.h"

namespace {

constexpr GLuint ConstantsBinding = 0;

// The interface's values for operations (1 disable .. 5 modulate 2x), arguments (0 diffuse,
// 1 current, 2 texture) and light types (1 point, 2 spot, 3 directional) are used as they are.
constexpr const char* ConstantsBlock = R"(
struct TLight {
    vec4 PositionType;
    vec4 Direction;
    vec4 Diffuse;
    vec4 Specular;
    vec4 Ambient;
    vec4 Attenuation;
    vec4 Spot;
};
layout(std140) uniform FixedFunction {
    mat4 WorldViewProjection;
    mat4 WorldView;
    mat4 NormalMatrix;
    vec4 MaterialDiffuse;
    vec4 MaterialAmbient;
    vec4 MaterialSpecular;
    vec4 MaterialEmissive;
    vec4 GlobalAmbient;
    vec4 Switches;
    ivec4 ColorStage;
    ivec4 AlphaStage;
    TLight Lights[8];
};
)";

constexpr const char* VertexShaderBody = R"(
layout(location = 0) in vec3 Position;
layout(location = 1) in vec3 Normal;
layout(location = 2) in vec2 TexCoord;
out vec4 LitDiffuse;
out vec3 LitSpecular;
out vec2 Uv;

const int PointLight = 1;
const int SpotLight = 2;

void main() {
    vec4 clip = WorldViewProjection * vec4(Position, 1.0);
    // The interface maps depth to 0..w, OpenGL to -w..w.
    gl_Position = vec4(clip.xy, 2.0 * clip.z - clip.w, clip.w);
    Uv = TexCoord;
    if (Switches.x == 0.0) {
        LitDiffuse = vec4(1.0);
        LitSpecular = vec3(0.0);
        return;
    }
    vec3 p = (WorldView * vec4(Position, 1.0)).xyz;
    vec3 n = mat3(NormalMatrix) * Normal;
    if (Switches.y != 0.0 && dot(n, n) > 0.0) {
        n = normalize(n);
    }
    vec3 toEye = dot(p, p) > 0.0 ? normalize(-p) : vec3(0.0, 0.0, -1.0);
    vec3 ambient = GlobalAmbient.rgb;
    vec3 diffuse = vec3(0.0);
    vec3 specular = vec3(0.0);
    for (int i = 0; i < ColorStage.x; ++i) {
        int type = int(Lights[i].PositionType.w);
        vec3 toLight = -Lights[i].Direction.xyz;
        float attenuation = 1.0;
        if (type == PointLight || type == SpotLight) {
            vec3 offset = Lights[i].PositionType.xyz - p;
            float distance = length(offset);
            if (distance > Lights[i].Attenuation.w) {
                continue;
            }
            toLight = distance > 0.0 ? offset / distance : vec3(0.0);
            vec3 a = Lights[i].Attenuation.xyz;
            attenuation = 1.0 / (a.x + a.y * distance + a.z * distance * distance);
        }
        if (type == SpotLight) {
            float rho = dot(-toLight, Lights[i].Direction.xyz);
            float inner = Lights[i].Spot.x;
            float outer = Lights[i].Spot.y;
            if (rho <= outer) {
                continue;
            }
            if (rho <= inner) {
                attenuation *= pow((rho - outer) / (inner - outer), Lights[i].Spot.z);
            }
        }
        ambient += Lights[i].Ambient.rgb * attenuation;
        diffuse += Lights[i].Diffuse.rgb * max(dot(n, toLight), 0.0) * attenuation;
        if (Switches.z != 0.0) {
            float nh = dot(n, normalize(toEye + toLight));
            if (nh > 0.0) {
                specular += Lights[i].Specular.rgb * pow(nh, Switches.w) * attenuation;
            }
        }
    }
    vec3 lit = MaterialEmissive.rgb + MaterialAmbient.rgb * ambient +
               MaterialDiffuse.rgb * diffuse;
    LitDiffuse = vec4(clamp(lit, 0.0, 1.0), clamp(MaterialDiffuse.a, 0.0, 1.0));
    LitSpecular = clamp(MaterialSpecular.rgb * specular, 0.0, 1.0);
}
)";

constexpr const char* FragmentShaderBody = R"(
in vec4 LitDiffuse;
in vec3 LitSpecular;
in vec2 Uv;
out vec4 FragColor;
uniform sampler2D Texture0;

const int SelectArg2 = 3;
const int Modulate = 4;
const int Modulate2x = 5;
const int TextureArg = 2;

vec4 Argument(int arg, vec4 texel) {
    return arg == TextureArg ? texel : LitDiffuse;
}

vec4 Combine(int op, vec4 arg1, vec4 arg2) {
    if (op == SelectArg2) {
        return arg2;
    }
    if (op == Modulate) {
        return arg1 * arg2;
    }
    if (op == Modulate2x) {
        return min(arg1 * arg2 * 2.0, vec4(1.0));
    }
    return arg1;
}

void main() {
    vec4 texel = texture(Texture0, Uv);
    vec3 rgb = Combine(ColorStage.y, Argument(ColorStage.z, texel),
                       Argument(ColorStage.w, texel)).rgb;
    float alpha = Combine(AlphaStage.x, Argument(AlphaStage.y, texel),
                          Argument(AlphaStage.z, texel)).a;
    if (Switches.z != 0.0) {
        rgb = min(rgb + LitSpecular, vec3(1.0));
    }
    FragColor = vec4(rgb, alpha);
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
