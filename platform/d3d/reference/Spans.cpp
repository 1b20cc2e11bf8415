#include "platform/d3d/reference/Spans.h"

#include "platform/d3d/reference/Sampler.h"
#include "platform/d3d/reference/SixteenWideSpans.h"
#include "platform/d3d/reference/Visibility.h"
#include "platform/d3d/reference/WideSpans.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace Reference {
namespace {

constexpr std::uint32_t OpaqueAlpha = 0xFF000000u;

// One attribute along a span: its value at the first pixel and its change per pixel. The
// value at pixel i is formed afresh each time rather than summed, so no error builds up.
struct TSpanValue {
    float Start = 0, Step = 0;
    float At(float i) const { return Start + Step * i; }
};

inline TSpanValue StartSpan(const TPlane& plane, double dx, double dy) {
    return TSpanValue{static_cast<float>(plane.At + plane.Dx * dx + plane.Dy * dy),
                      static_cast<float>(plane.Dx)};
}

inline std::uint32_t ToByte(float value) {
    const float scaled = value * 255.0f + 0.5f;
    if (!(scaled > 0.0f)) {
        return 0; // also catches a colour that is not a number
    }
    return scaled >= 255.0f ? 255u : static_cast<std::uint32_t>(scaled);
}

inline std::uint32_t Channel(std::uint32_t color, int shift) {
    return (color >> shift) & 0xFFu;
}

inline std::uint32_t Modulate(std::uint32_t a, std::uint32_t b) {
    return (a * b + 127u) / 255u;
}

inline std::uint32_t Modulate2x(std::uint32_t a, std::uint32_t b) {
    return std::min(255u, (2u * a * b + 127u) / 255u);
}

inline std::uint32_t BlendWeight(EBlendFactor factor, std::uint32_t sourceAlpha) {
    switch (factor) {
    case EBlendFactor::Zero:
        return 0;
    case EBlendFactor::One:
        return 255;
    case EBlendFactor::SrcAlpha:
        return sourceAlpha;
    case EBlendFactor::InvSrcAlpha:
        return 255 - sourceAlpha;
    }
    return 0;
}

inline std::uint32_t BlendPixel(const TPixelState& state, std::uint32_t source,
                                std::uint32_t sourceAlpha, std::uint32_t destination) {
    const std::uint32_t sourceWeight = BlendWeight(state.SrcBlend, sourceAlpha);
    const std::uint32_t destWeight = BlendWeight(state.DestBlend, sourceAlpha);
    std::uint32_t result = OpaqueAlpha;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t mixed = (Channel(source, shift) * sourceWeight +
                                     Channel(destination, shift) * destWeight + 127u) /
                                    255u;
        result |= std::min(255u, mixed) << shift;
    }
    return result;
}

// The stage's alpha, for the blending routines only (the back buffer keeps no alpha).
inline std::uint32_t StageAlpha(EColorMode mode, std::uint32_t texel, std::uint32_t diffuseAlpha) {
    switch (mode) {
    case EColorMode::Diffuse:
        return diffuseAlpha;
    case EColorMode::Texture:
        return texel >> 24;
    case EColorMode::Modulate:
        return Modulate(texel >> 24, diffuseAlpha);
    case EColorMode::Modulate2x:
        return Modulate2x(texel >> 24, diffuseAlpha);
    }
    return 255;
}

template <bool DepthTest, bool Blend, EColorMode Mode, bool Linear>
int DrawSpan(const TTriangle& triangle, const TSpanTarget& target, int y, int origin, int x0,
             int x1) {
    constexpr bool Textured = Mode != EColorMode::Diffuse;
    constexpr bool NeedsCoordinates = Textured || Blend;
    constexpr bool NeedsDiffuse = Blend || Mode != EColorMode::Texture;
    const double dx = origin + 0.5 - triangle.OriginX;
    const double dy = y + 0.5 - triangle.OriginY;
    const TSpanValue depthValue = StartSpan(triangle.Depth, dx, dy);
    const TSpanValue invW = StartSpan(triangle.InvW, dx, dy);
    TSpanValue u, v, r, g, b, a;
    if constexpr (NeedsCoordinates) {
        u = StartSpan(triangle.UoverW, dx, dy);
        v = StartSpan(triangle.VoverW, dx, dy);
    }
    if constexpr (NeedsDiffuse) {
        r = StartSpan(triangle.RoverW, dx, dy);
        g = StartSpan(triangle.GoverW, dx, dy);
        b = StartSpan(triangle.BoverW, dx, dy);
        a = StartSpan(triangle.AoverW, dx, dy);
    }
    std::uint32_t* color = target.Color + static_cast<std::ptrdiff_t>(y) * target.Pitch;
    float* depth =
        DepthTest ? target.Depth + static_cast<std::ptrdiff_t>(y) * target.DepthPitch : nullptr;
    const TTexels* texels = triangle.Texels;

    int written = 0;
    for (int x = x0; x <= x1; ++x) {
        const auto i = static_cast<float>(x - origin);
        const float z = depthValue.At(i);
        if (DepthTest && !(z <= depth[x])) {
            continue;
        }
        const float w = 1.0f / invW.At(i);
        std::uint32_t texel = 0xFFFFFFFFu;
        if constexpr (Textured) {
            texel = Linear ? SampleLinear(*texels, u.At(i) * w, v.At(i) * w)
                           : SampleNearest(*texels, u.At(i) * w, v.At(i) * w);
        } else if constexpr (Blend) {
            // The colour ignores the texture but the alpha may still read it.
            if (texels != nullptr) {
                texel = triangle.State.Linear ? SampleLinear(*texels, u.At(i) * w, v.At(i) * w)
                                              : SampleNearest(*texels, u.At(i) * w, v.At(i) * w);
            }
        }
        std::uint32_t red = 255, green = 255, blue = 255, alpha = 255;
        if constexpr (NeedsDiffuse) {
            red = ToByte(r.At(i) * w);
            green = ToByte(g.At(i) * w);
            blue = ToByte(b.At(i) * w);
            alpha = ToByte(a.At(i) * w);
        }
        std::uint32_t out = 0;
        if constexpr (Mode == EColorMode::Diffuse) {
            out = OpaqueAlpha | (red << 16) | (green << 8) | blue;
        } else if constexpr (Mode == EColorMode::Texture) {
            out = texel | OpaqueAlpha;
        } else if constexpr (Mode == EColorMode::Modulate) {
            out = OpaqueAlpha | (Modulate(Channel(texel, 16), red) << 16) |
                  (Modulate(Channel(texel, 8), green) << 8) | Modulate(Channel(texel, 0), blue);
        } else {
            out = OpaqueAlpha | (Modulate2x(Channel(texel, 16), red) << 16) |
                  (Modulate2x(Channel(texel, 8), green) << 8) | Modulate2x(Channel(texel, 0), blue);
        }
        if constexpr (Blend) {
            out = BlendPixel(triangle.State, out,
                             StageAlpha(triangle.State.AlphaMode, texel, alpha), color[x]);
        }
        color[x] = out;
        if constexpr (DepthTest) {
            depth[x] = z;
        }
        ++written;
    }
    return written;
}

template <bool DepthTest, bool Blend, EColorMode Mode> TSpanRoutine PickFilter(bool linear) {
    if constexpr (Mode == EColorMode::Diffuse) {
        return &DrawSpan<DepthTest, Blend, Mode, false>;
    } else {
        return linear ? &DrawSpan<DepthTest, Blend, Mode, true>
                      : &DrawSpan<DepthTest, Blend, Mode, false>;
    }
}

template <bool DepthTest, bool Blend> TSpanRoutine PickMode(const TPixelState& state) {
    switch (state.ColorMode) {
    case EColorMode::Diffuse:
        return PickFilter<DepthTest, Blend, EColorMode::Diffuse>(state.Linear);
    case EColorMode::Texture:
        return PickFilter<DepthTest, Blend, EColorMode::Texture>(state.Linear);
    case EColorMode::Modulate:
        return PickFilter<DepthTest, Blend, EColorMode::Modulate>(state.Linear);
    case EColorMode::Modulate2x:
        return PickFilter<DepthTest, Blend, EColorMode::Modulate2x>(state.Linear);
    }
    return PickFilter<DepthTest, Blend, EColorMode::Diffuse>(false);
}

} // namespace

TSpanRoutine SelectSpanRoutine(const TPixelState& state) {
    if (const TSpanRoutine sixteen = SelectSixteenWideSpanRoutine(state)) {
        return sixteen;
    }
    const TSpanRoutine wide = SelectWideSpanRoutine(state);
    return wide != nullptr ? wide : SelectOnePixelSpanRoutine(state);
}

TSpanRoutine SelectOnePixelSpanRoutine(const TPixelState& state) {
    if (state.DepthTest) {
        return state.Blend ? PickMode<true, true>(state) : PickMode<true, false>(state);
    }
    return state.Blend ? PickMode<false, true>(state) : PickMode<false, false>(state);
}

void SelectSpanRoutines(TTriangle& triangle, ETileShading shading) {
    TPixelState resolved = triangle.State;
    resolved.DepthTest = false;
    if (shading == ETileShading::Immediate) {
        triangle.Span = SelectOnePixelSpanRoutine(triangle.State);
        triangle.Shade = SelectOnePixelSpanRoutine(resolved);
        triangle.Visibility = SelectOnePixelVisibilityRoutine(triangle.State);
        return;
    }
    triangle.Span = SelectSpanRoutine(triangle.State);
    triangle.Shade = SelectSpanRoutine(resolved);
    triangle.Visibility = SelectVisibilityRoutine(triangle.State);
}

} // namespace Reference
