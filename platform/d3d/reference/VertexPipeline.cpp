#include "platform/d3d/reference/VertexPipeline.h"

#include "platform/interfaces/D3DMatrix.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Reference {
namespace {

D3DCOLORVALUE ColorFromPacked(D3DCOLOR color) {
    return D3DCOLORVALUE{static_cast<float>((color >> 16) & 0xFF) / 255.0f,
                         static_cast<float>((color >> 8) & 0xFF) / 255.0f,
                         static_cast<float>(color & 0xFF) / 255.0f,
                         static_cast<float>(color >> 24) / 255.0f};
}

float Clamp01(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

} // namespace

void TVertexPipeline::Prepare(const TFixedFunctionState& state) {
    const TRenderStates& states = state.RenderStates();
    WorldView = MultiplyMatrices(state.World(), state.View());
    WorldViewProjection = MultiplyMatrices(WorldView, state.Projection());
    Lighting = states.Lighting;
    if (!Lighting) {
        return;
    }
    NormalMatrix = NormalMatrixOf(WorldView);
    NormalizeNormals = states.NormalizeNormals;
    Material = state.Material();
    GlobalAmbient = ColorFromPacked(states.Ambient);
    LightCount = 0;
    const D3DMATRIX& view = state.View();
    for (const TLightSlot& slot : state.Lights()) {
        if (!slot.Enabled) {
            continue;
        }
        const D3DLIGHT8& light = slot.Light;
        TCameraLight& out = Lights[static_cast<std::size_t>(LightCount++)];
        out.Directional = light.Type == D3DLIGHT_DIRECTIONAL;
        out.Diffuse = light.Diffuse;
        out.Ambient = light.Ambient;
        out.Range = light.Range;
        out.A0 = light.Attenuation0;
        out.A1 = light.Attenuation1;
        out.A2 = light.Attenuation2;
        if (out.Directional) {
            const D3DVECTOR& d = light.Direction;
            const float x = -(d.x * view._11 + d.y * view._21 + d.z * view._31);
            const float y = -(d.x * view._12 + d.y * view._22 + d.z * view._32);
            const float z = -(d.x * view._13 + d.y * view._23 + d.z * view._33);
            const float length = std::sqrt(x * x + y * y + z * z);
            out.X = x / length;
            out.Y = y / length;
            out.Z = z / length;
        } else {
            const D3DVECTOR& p = light.Position;
            out.X = p.x * view._11 + p.y * view._21 + p.z * view._31 + view._41;
            out.Y = p.x * view._12 + p.y * view._22 + p.z * view._32 + view._42;
            out.Z = p.x * view._13 + p.y * view._23 + p.z * view._33 + view._43;
        }
    }
}

TClipVertex TVertexPipeline::Process(const BYTE* vertex) const {
    float data[8];
    std::memcpy(data, vertex, sizeof(data));
    const float x = data[0], y = data[1], z = data[2];
    const D3DMATRIX& m = WorldViewProjection;
    TClipVertex out;
    out.X = x * m._11 + y * m._21 + z * m._31 + m._41;
    out.Y = x * m._12 + y * m._22 + z * m._32 + m._42;
    out.Z = x * m._13 + y * m._23 + z * m._33 + m._43;
    out.W = x * m._14 + y * m._24 + z * m._34 + m._44;
    out.U = data[6];
    out.V = data[7];
    if (!Lighting) {
        // The layout carries no colour, so unlit vertices are opaque white.
        out.R = out.G = out.B = out.A = 1.0f;
        return out;
    }
    const D3DMATRIX& wv = WorldView;
    const float position[3] = {x * wv._11 + y * wv._21 + z * wv._31 + wv._41,
                               x * wv._12 + y * wv._22 + z * wv._32 + wv._42,
                               x * wv._13 + y * wv._23 + z * wv._33 + wv._43};
    const auto& n = NormalMatrix.m;
    float normal[3] = {data[3] * n[0][0] + data[4] * n[1][0] + data[5] * n[2][0],
                       data[3] * n[0][1] + data[4] * n[1][1] + data[5] * n[2][1],
                       data[3] * n[0][2] + data[4] * n[1][2] + data[5] * n[2][2]};
    if (NormalizeNormals) {
        const float length =
            std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
        if (length > 0) {
            for (float& component : normal) {
                component /= length;
            }
        }
    }
    Light(position, normal, out);
    return out;
}

void TVertexPipeline::Light(const float (&position)[3], const float (&normal)[3],
                            TClipVertex& out) const {
    float ambient[3] = {GlobalAmbient.r, GlobalAmbient.g, GlobalAmbient.b};
    float diffuse[3] = {0, 0, 0};
    for (int i = 0; i < LightCount; ++i) {
        const TCameraLight& light = Lights[static_cast<std::size_t>(i)];
        float toLight[3] = {light.X, light.Y, light.Z};
        float attenuation = 1.0f;
        if (!light.Directional) {
            toLight[0] -= position[0];
            toLight[1] -= position[1];
            toLight[2] -= position[2];
            const float distance = std::sqrt(toLight[0] * toLight[0] + toLight[1] * toLight[1] +
                                             toLight[2] * toLight[2]);
            if (distance > light.Range) {
                continue;
            }
            attenuation = 1.0f / (light.A0 + light.A1 * distance + light.A2 * distance * distance);
            if (distance > 0) {
                for (float& component : toLight) {
                    component /= distance;
                }
            }
        }
        const float facing = std::max(0.0f, normal[0] * toLight[0] + normal[1] * toLight[1] +
                                                normal[2] * toLight[2]);
        ambient[0] += light.Ambient.r * attenuation;
        ambient[1] += light.Ambient.g * attenuation;
        ambient[2] += light.Ambient.b * attenuation;
        diffuse[0] += light.Diffuse.r * facing * attenuation;
        diffuse[1] += light.Diffuse.g * facing * attenuation;
        diffuse[2] += light.Diffuse.b * facing * attenuation;
    }
    const D3DMATERIAL8& mat = Material;
    out.R = Clamp01(mat.Emissive.r + mat.Ambient.r * ambient[0] + mat.Diffuse.r * diffuse[0]);
    out.G = Clamp01(mat.Emissive.g + mat.Ambient.g * ambient[1] + mat.Diffuse.g * diffuse[1]);
    out.B = Clamp01(mat.Emissive.b + mat.Ambient.b * ambient[2] + mat.Diffuse.b * diffuse[2]);
    out.A = Clamp01(mat.Diffuse.a);
}

} // namespace Reference
