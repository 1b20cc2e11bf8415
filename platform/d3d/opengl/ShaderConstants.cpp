#include "platform/d3d/opengl/ShaderConstants.h"

#include "platform/interfaces/D3DMatrix.h"

#include <cmath>
#include <cstring>

namespace {

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

void BuildLight(const D3DLIGHT8& light, const D3DMATRIX& view, TShaderLight& out) {
    const D3DVECTOR position = TransformPoint(light.Position, view);
    const D3DVECTOR direction = Normalised(TransformDirection(light.Direction, view));
    out = {{position.x, position.y, position.z, static_cast<float>(light.Type)},
           {direction.x, direction.y, direction.z, 0.0f},
           {},
           {},
           {light.Attenuation0, light.Attenuation1, light.Attenuation2, light.Range}};
    CopyColor(light.Diffuse, out.Diffuse);
    CopyColor(light.Ambient, out.Ambient);
}

} // namespace

D3DTEXTUREOP EffectiveOperation(D3DTEXTUREOP op, D3DTEXTUREOP colorOp, bool textureBound) {
    // A disabled colour operation switches the whole stage off, alpha included.
    if (!textureBound || op == D3DTOP_DISABLE || colorOp == D3DTOP_DISABLE) {
        return D3DTOP_SELECTARG2;
    }
    return op;
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
    CopyColor(material.Emissive, constants.MaterialEmissive);

    const TRenderStates& states = state.RenderStates();
    const D3DCOLOR ambient = states.Ambient;
    constants.GlobalAmbient[0] = static_cast<float>((ambient >> 16) & 0xFF) / 255.0f;
    constants.GlobalAmbient[1] = static_cast<float>((ambient >> 8) & 0xFF) / 255.0f;
    constants.GlobalAmbient[2] = static_cast<float>(ambient & 0xFF) / 255.0f;
    constants.GlobalAmbient[3] = static_cast<float>(ambient >> 24) / 255.0f;
    constants.Switches[0] = states.Lighting ? 1.0f : 0.0f;
    constants.Switches[1] = states.NormalizeNormals ? 1.0f : 0.0f;

    std::int32_t lightCount = 0;
    for (const TLightSlot& slot : state.Lights()) {
        if (states.Lighting && slot.Enabled) {
            BuildLight(slot.Light, state.View(), constants.Lights[lightCount++]);
        }
    }
    const TTextureStage& stage = state.Stage();
    constants.Counts[0] = lightCount;
    constants.Counts[1] = EffectiveOperation(stage.ColorOp, stage.ColorOp, textureBound);
    constants.Counts[2] = EffectiveOperation(stage.AlphaOp, stage.ColorOp, textureBound);
}
