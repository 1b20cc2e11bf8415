#include "platform/d3d/StateWords.h"

#include <bit>

namespace {

void AddFloat(float value, std::vector<std::uint32_t>& words) {
    // Bit patterns: exact, and a NaN equals itself.
    words.push_back(std::bit_cast<std::uint32_t>(value));
}

void AddColor(const D3DCOLORVALUE& color, std::vector<std::uint32_t>& words) {
    for (const float value : {color.r, color.g, color.b, color.a}) {
        AddFloat(value, words);
    }
}

void AddMatrix(const D3DMATRIX& matrix, std::vector<std::uint32_t>& words) {
    for (const auto& row : matrix.m) {
        for (const float value : row) {
            AddFloat(value, words);
        }
    }
}

} // namespace

void AppendStateWords(const TFixedFunctionState& state, std::vector<std::uint32_t>& words) {
    const TRenderStates& states = state.RenderStates();
    words.push_back((states.DepthEnable ? 1u : 0u) | (states.BlendEnable ? 2u : 0u) |
                    (states.Lighting ? 4u : 0u) | (states.NormalizeNormals ? 8u : 0u));
    words.push_back(states.SourceBlend);
    words.push_back(states.DestBlend);
    words.push_back(states.CullMode);
    words.push_back(states.Ambient);
    const TTextureStage& stage = state.Stage();
    words.push_back(stage.ColorOp);
    words.push_back(stage.AlphaOp);
    words.push_back(stage.MagFilter);
    words.push_back(stage.MinFilter);
    const D3DMATERIAL8& material = state.Material();
    AddColor(material.Diffuse, words);
    AddColor(material.Ambient, words);
    AddColor(material.Specular, words);
    AddColor(material.Emissive, words);
    AddFloat(material.Power, words);
    AddMatrix(state.World(), words);
    AddMatrix(state.View(), words);
    AddMatrix(state.Projection(), words);
    for (const TLightSlot& slot : state.Lights()) {
        if (!slot.Enabled) {
            words.push_back(0);
            continue;
        }
        const D3DLIGHT8& light = slot.Light;
        words.push_back(1);
        words.push_back(light.Type);
        AddColor(light.Diffuse, words);
        AddColor(light.Specular, words);
        AddColor(light.Ambient, words);
        for (const float value :
             {light.Position.x, light.Position.y, light.Position.z, light.Direction.x,
              light.Direction.y, light.Direction.z, light.Range, light.Falloff, light.Attenuation0,
              light.Attenuation1, light.Attenuation2, light.Theta, light.Phi}) {
            AddFloat(value, words);
        }
    }
}

void AppendSourceWords(const TDrawSources& sources, std::vector<std::uint32_t>& words) {
    for (const std::uint64_t stamp : {sources.TextureStamp, sources.StreamStamp}) {
        words.push_back(static_cast<std::uint32_t>(stamp));
        words.push_back(static_cast<std::uint32_t>(stamp >> 32));
    }
    words.push_back(sources.Stride);
    words.push_back(sources.StartVertex);
    words.push_back(sources.PrimitiveCount);
}
