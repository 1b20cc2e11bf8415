#include "platform/d3d/opengl/ShaderConstants.h"

#include <cmath>
#include <cstring>

namespace {

constexpr float SingularDeterminant = 1e-20f;

void CopyMatrix(const D3DMATRIX& m, float (&out)[16]) {
    std::memcpy(out, m.m, sizeof out);
}

void CopyColor(const D3DCOLORVALUE& c, float (&out)[4]) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

D3DVECTOR TransformPoint(const D3DVECTOR& p, const D3DMATRIX& m) {
    return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41,
            p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
            p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
}

D3DVECTOR TransformDirection(const D3DVECTOR& d, const D3DMATRIX& m) {
    return {d.x * m._11 + d.y * m._21 + d.z * m._31, d.x * m._12 + d.y * m._22 + d.z * m._32,
            d.x * m._13 + d.y * m._23 + d.z * m._33};
}

D3DVECTOR Normalised(const D3DVECTOR& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f) {
        return v;
    }
    return {v.x / length, v.y / length, v.z / length};
}

bool ReadsTexture(D3DTEXTUREOP op, DWORD arg1, DWORD arg2) {
    const bool readsArg1 = op != D3DTOP_SELECTARG2 && arg1 == D3DTA_TEXTURE;
    const bool readsArg2 = op != D3DTOP_SELECTARG1 && arg2 == D3DTA_TEXTURE;
    return readsArg1 || readsArg2;
}

constexpr TStageOperation PassDiffuse{D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_DIFFUSE};

void BuildLight(const D3DLIGHT8& light, const D3DMATRIX& view, TShaderLight& out) {
    const D3DVECTOR position = TransformPoint(light.Position, view);
    const D3DVECTOR direction = Normalised(TransformDirection(light.Direction, view));
    out = {{position.x, position.y, position.z, static_cast<float>(light.Type)},
           {direction.x, direction.y, direction.z, 0.0f},
           {},
           {},
           {},
           {light.Attenuation0, light.Attenuation1, light.Attenuation2, light.Range},
           {std::cos(light.Theta / 2.0f), std::cos(light.Phi / 2.0f), light.Falloff, 0.0f}};
    CopyColor(light.Diffuse, out.Diffuse);
    CopyColor(light.Specular, out.Specular);
    CopyColor(light.Ambient, out.Ambient);
}

} // namespace

D3DMATRIX MultiplyMatrices(const D3DMATRIX& first, const D3DMATRIX& second) {
    D3DMATRIX product{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += first.m[i][k] * second.m[k][j];
            }
            product.m[i][j] = sum;
        }
    }
    return product;
}

D3DMATRIX NormalMatrixOf(const D3DMATRIX& m) {
    // Cofactor (i, j) of the 3 x 3 block; the inverse transpose is the cofactor matrix over
    // the determinant.
    const auto cofactor = [&m](int i, int j) {
        const int r0 = (i + 1) % 3, r1 = (i + 2) % 3, c0 = (j + 1) % 3, c1 = (j + 2) % 3;
        return m.m[r0][c0] * m.m[r1][c1] - m.m[r0][c1] * m.m[r1][c0];
    };
    D3DMATRIX normal{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            normal.m[i][j] = cofactor(i, j);
        }
    }
    const float determinant =
        m.m[0][0] * normal.m[0][0] + m.m[0][1] * normal.m[0][1] + m.m[0][2] * normal.m[0][2];
    if (std::fabs(determinant) > SingularDeterminant) {
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                normal.m[i][j] /= determinant;
            }
        }
    }
    normal._44 = 1.0f;
    return normal;
}

TStageOperation EffectiveColorOperation(const TTextureStage& stage, bool textureBound) {
    if (stage.ColorOp == D3DTOP_DISABLE ||
        (!textureBound && ReadsTexture(stage.ColorOp, stage.ColorArg1, stage.ColorArg2))) {
        return PassDiffuse;
    }
    return {stage.ColorOp, stage.ColorArg1, stage.ColorArg2};
}

TStageOperation EffectiveAlphaOperation(const TTextureStage& stage, bool textureBound) {
    // A disabled colour operation switches the whole stage off, alpha included.
    if (stage.ColorOp == D3DTOP_DISABLE || stage.AlphaOp == D3DTOP_DISABLE ||
        (!textureBound && ReadsTexture(stage.AlphaOp, stage.AlphaArg1, stage.AlphaArg2))) {
        return PassDiffuse;
    }
    return {stage.AlphaOp, stage.AlphaArg1, stage.AlphaArg2};
}

void BuildShaderConstants(const TFixedFunctionState& state, bool textureBound,
                          TShaderConstants& constants) {
    const D3DMATRIX worldView = MultiplyMatrices(state.World(), state.View());
    CopyMatrix(MultiplyMatrices(worldView, state.Projection()), constants.WorldViewProjection);
    CopyMatrix(worldView, constants.WorldView);
    CopyMatrix(NormalMatrixOf(worldView), constants.NormalMatrix);

    const D3DMATERIAL8& material = state.Material();
    CopyColor(material.Diffuse, constants.MaterialDiffuse);
    CopyColor(material.Ambient, constants.MaterialAmbient);
    CopyColor(material.Specular, constants.MaterialSpecular);
    CopyColor(material.Emissive, constants.MaterialEmissive);

    const TRenderStates& states = state.RenderStates();
    const D3DCOLOR ambient = states.Ambient;
    constants.GlobalAmbient[0] = static_cast<float>((ambient >> 16) & 0xFF) / 255.0f;
    constants.GlobalAmbient[1] = static_cast<float>((ambient >> 8) & 0xFF) / 255.0f;
    constants.GlobalAmbient[2] = static_cast<float>(ambient & 0xFF) / 255.0f;
    constants.GlobalAmbient[3] = static_cast<float>(ambient >> 24) / 255.0f;
    constants.Switches[0] = states.Lighting ? 1.0f : 0.0f;
    constants.Switches[1] = states.NormalizeNormals ? 1.0f : 0.0f;
    constants.Switches[2] = states.SpecularEnable ? 1.0f : 0.0f;
    constants.Switches[3] = material.Power;

    const TStageOperation color = EffectiveColorOperation(state.Stage(), textureBound);
    const TStageOperation alpha = EffectiveAlphaOperation(state.Stage(), textureBound);
    const DWORD lightCount = states.Lighting ? state.ActiveLightCount() : 0;
    constants.ColorStage[0] = static_cast<std::int32_t>(lightCount);
    constants.ColorStage[1] = static_cast<std::int32_t>(color.Op);
    constants.ColorStage[2] = static_cast<std::int32_t>(color.Arg1);
    constants.ColorStage[3] = static_cast<std::int32_t>(color.Arg2);
    constants.AlphaStage[0] = static_cast<std::int32_t>(alpha.Op);
    constants.AlphaStage[1] = static_cast<std::int32_t>(alpha.Arg1);
    constants.AlphaStage[2] = static_cast<std::int32_t>(alpha.Arg2);
    constants.AlphaStage[3] = 0;

    for (DWORD i = 0; i < lightCount; ++i) {
        BuildLight(state.ActiveLight(i), state.View(), constants.Lights[i]);
    }
}
