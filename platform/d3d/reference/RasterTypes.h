#pragma once
// The records the software device passes between its stages: vertices after transform and
// lighting, set-up triangles ready for the tiles, and the pixel target of one span.

#include <cstdint>
#include <memory>
#include <vector>

namespace Reference {

// A vertex in clip space with everything interpolated across a triangle.
struct TClipVertex {
    float X, Y, Z, W;
    float U, V;
    float R, G, B, A; // lit diffuse colour, 0..1
};

// Texels of one texture level, 0xAARRGGBB, row 0 first. Shared so that a frame still being
// drawn keeps the texels it was given even if the texture is rewritten or released.
struct TTexels {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::vector<std::uint32_t> Pixels;
};

// How the stage combines texture and lit diffuse colour, resolved at draw time.
enum class EColorMode : std::uint8_t { Diffuse, Texture, Modulate, Modulate2x };

enum class EBlendFactor : std::uint8_t { Zero, One, SrcAlpha, InvSrcAlpha };

// An attribute that varies linearly over the screen: value = At + Dx * dx + Dy * dy, where
// dx, dy are measured from the triangle's origin (its first vertex). Double precision so
// that a span far from the origin still starts from an exact value.
struct TPlane {
    double At = 0, Dx = 0, Dy = 0;
};

struct TSpanTarget;
struct TTriangle;
using TSpanRoutine = void (*)(const TTriangle& triangle, const TSpanTarget& target, int y, int x0,
                              int x1);

// Pixel-format state every pixel of a triangle shares.
struct TPixelState {
    EColorMode ColorMode = EColorMode::Diffuse;
    EColorMode AlphaMode = EColorMode::Diffuse;
    bool DepthTest = false;
    bool Blend = false;
    bool Linear = false;
    EBlendFactor SrcBlend = EBlendFactor::One;
    EBlendFactor DestBlend = EBlendFactor::Zero;
};

// A triangle set up for rasterising: fixed-point edge functions (1/256 pixel) with the
// top-left rule folded into C, its pixel bounds and the planes of its attributes.
struct TTriangle {
    // Edge i covers the pixel centre (X, Y) in subpixels when A*X + B*Y + C >= 0.
    std::int64_t EdgeA[3], EdgeB[3], EdgeC[3];
    int MinX, MinY, MaxX, MaxY; // inclusive pixel bounds
    double OriginX, OriginY;
    TPlane Depth, InvW, UoverW, VoverW, RoverW, GoverW, BoverW, AoverW;
    const TTexels* Texels;
    TPixelState State;
    TSpanRoutine Span;
};

// One tile's rows of the back buffer and depth buffer; a span writes pixels x0..x1 of row y.
struct TSpanTarget {
    std::uint32_t* Color;
    float* Depth; // null without a depth buffer
    int Pitch;    // pixels per row of both buffers
};

constexpr int SubpixelBits = 8;
constexpr int SubpixelScale = 1 << SubpixelBits;

} // namespace Reference
