#include "platform/d3d/StateWords.h"
#include "platform/d3d/reference/Clipper.h"
#include "platform/d3d/reference/Device.h"
#include "platform/d3d/reference/Spans.h"
#include "platform/d3d/reference/TexelDirection.h"
#include "platform/d3d/reference/TriangleSetup.h"

#include <cmath>

namespace Reference {
namespace {

// How the stage resolves an operation given whether a texture is there to read. A stage
// whose texture is missing passes the lit diffuse colour on, whatever its operation.
EColorMode ResolveOp(D3DTEXTUREOP op, bool textured) {
    if (!textured) {
        return EColorMode::Diffuse;
    }
    switch (op) {
    case D3DTOP_SELECTARG1:
        return EColorMode::Texture;
    case D3DTOP_MODULATE:
        return EColorMode::Modulate;
    case D3DTOP_MODULATE2X:
        return EColorMode::Modulate2x;
    default:
        return EColorMode::Diffuse;
    }
}

EBlendFactor ResolveBlend(D3DBLEND blend) {
    switch (blend) {
    case D3DBLEND_ZERO:
        return EBlendFactor::Zero;
    case D3DBLEND_SRCALPHA:
        return EBlendFactor::SrcAlpha;
    case D3DBLEND_INVSRCALPHA:
        return EBlendFactor::InvSrcAlpha;
    default:
        return EBlendFactor::One;
    }
}

// True when a triangle shows more than one texel per pixel, judged over the whole triangle
// (corners already divided by w), to choose between the minifying and magnifying filter.
bool IsMinified(const TClipVertex (&c)[3], const TTexels& texels, int width, int height) {
    double screen[3][2];
    for (int i = 0; i < 3; ++i) {
        screen[i][0] = c[i].X / c[i].W * static_cast<float>(width) * 0.5;
        screen[i][1] = c[i].Y / c[i].W * static_cast<float>(height) * 0.5;
    }
    const double pixelArea =
        std::fabs((screen[1][0] - screen[0][0]) * (screen[2][1] - screen[0][1]) -
                  (screen[2][0] - screen[0][0]) * (screen[1][1] - screen[0][1]));
    const double texelArea = std::fabs(static_cast<double>(c[1].U - c[0].U) * (c[2].V - c[0].V) -
                                       static_cast<double>(c[2].U - c[0].U) * (c[1].V - c[0].V)) *
                             texels.Width * texels.Height;
    return texelArea > pixelArea;
}

} // namespace

TPixelState TDevice::ResolvePixelState(bool textured) const {
    const TTextureStage& stage = State.Stage();
    const TRenderStates& states = State.RenderStates();
    TPixelState state;
    if (stage.ColorOp == D3DTOP_DISABLE) {
        // A disabled first stage passes the diffuse colour and alpha straight through.
        state.ColorMode = state.AlphaMode = EColorMode::Diffuse;
    } else {
        state.ColorMode = ResolveOp(stage.ColorOp, textured);
        state.AlphaMode = ResolveOp(stage.AlphaOp, textured);
    }
    state.DepthTest = states.DepthEnable && Renderer.HasDepth();
    state.SrcBlend = ResolveBlend(states.SourceBlend);
    state.DestBlend = ResolveBlend(states.DestBlend);
    state.Blend = states.BlendEnable &&
                  !(state.SrcBlend == EBlendFactor::One && state.DestBlend == EBlendFactor::Zero);
    state.Linear = stage.MagFilter == D3DTEXF_LINEAR;
    return state;
}

bool TDevice::QueueRepeatedDraw(const TDrawSources& sources) {
    std::vector<std::uint32_t>& key = Reuse.NewKey();
    AppendStateWords(State, key);
    AppendSourceWords(sources, key);
    // Set-up depends on the target as well: its size places the triangles, and a depth
    // buffer decides the depth test.
    for (const std::uint32_t word :
         {static_cast<std::uint32_t>(Renderer.Width()),
          static_cast<std::uint32_t>(Renderer.Height()), Renderer.HasDepth() ? 1u : 0u}) {
        key.push_back(word);
    }
    const TDrawRecord* repeat = Reuse.Repeat();
    if (repeat == nullptr) {
        return false;
    }
    if (repeat->Texels != nullptr) {
        Renderer.HoldTexels(repeat->Texels);
    }
    for (const TTriangle& triangle : repeat->Triangles) {
        Renderer.AddTriangle(triangle);
    }
    return true;
}

HRESULT TDevice::DrawTriangleList(UINT startVertex, UINT count) {
    const UINT stride = StreamStride;
    const BYTE* first = StreamBuffer->Bytes().data() + std::size_t{startVertex} * stride;
    RecordFrameStart();
    const TDrawSources sources{Texture ? Texture->ContentStamp() : 0, StreamBuffer->ContentStamp(),
                               stride, startVertex, count};
    Signature.AddDraw(State, sources);
    if (QueueRepeatedDraw(sources)) {
        return D3D_OK;
    }
    TDrawRecord& record = Reuse.Opened();
    Pipeline.Prepare(State);
    std::shared_ptr<const TTexels> texels;
    if (Texture) {
        texels = Texture->Snapshot();
    }
    const TTextureStage& stage = State.Stage();
    TTriangle prototype{};
    prototype.State = ResolvePixelState(texels != nullptr);
    const bool filtersDiffer = stage.MagFilter != stage.MinFilter;
    const bool samples = prototype.State.ColorMode != EColorMode::Diffuse || prototype.State.Blend;
    if (texels != nullptr && samples) {
        prototype.Texels = texels.get();
        prototype.TexelsStamp = Texture->ContentStamp();
        record.Texels = texels;
        Renderer.HoldTexels(std::move(texels));
    }
    SelectSpanRoutines(prototype, Renderer.Shading());

    const D3DCULL cullMode = State.RenderStates().CullMode;
    const ECull cull = cullMode == D3DCULL_CCW  ? ECull::CounterClockwise
                       : cullMode == D3DCULL_CW ? ECull::Clockwise
                                                : ECull::None;
    for (UINT t = 0; t < count; ++t) {
        const BYTE* vertex = first + static_cast<std::size_t>(t) * 3 * stride;
        const TClipVertex corners[3] = {Pipeline.Process(vertex), Pipeline.Process(vertex + stride),
                                        Pipeline.Process(vertex + 2 * stride)};
        bool degenerate = false;
        const bool counterClockwise =
            IsCounterClockwise(corners[0], corners[1], corners[2], degenerate);
        if (degenerate || (cull == ECull::CounterClockwise && counterClockwise) ||
            (cull == ECull::Clockwise && !counterClockwise)) {
            continue;
        }
        if (filtersDiffer && prototype.Texels != nullptr) {
            const bool minified =
                IsMinified(corners, *prototype.Texels, Renderer.Width(), Renderer.Height());
            const bool linear = (minified ? stage.MinFilter : stage.MagFilter) == D3DTEXF_LINEAR;
            if (linear != prototype.State.Linear) {
                prototype.State.Linear = linear;
                SelectSpanRoutines(prototype, Renderer.Shading());
            }
        }
        QueueTriangle(corners, prototype, record.Triangles);
    }
    return D3D_OK;
}

void TDevice::QueueTriangle(const TClipVertex (&corners)[3], TTriangle& prototype,
                            std::vector<TTriangle>& setUp) {
    TClipVertex polygon[MaxClippedVertices];
    const int count = ClipTriangle(corners, polygon);
    for (int i = 1; i + 1 < count; ++i) {
        if (SetUpTriangle(polygon[0], polygon[i], polygon[i + 1], Renderer.Width(),
                          Renderer.Height(), prototype)) {
            prototype.ReadsTurned = prototype.Texels != nullptr && RunsDownTexture(prototype);
            Renderer.AddTriangle(prototype);
            setUp.push_back(prototype);
        }
    }
}

} // namespace Reference
