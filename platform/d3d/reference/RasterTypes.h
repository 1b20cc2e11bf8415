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
    // The texels bordered by their own first column after the last and their first row after
    // the bottom one (rows of Width + 1, Height + 1 of them), so that the four texels a bilinear
    // sample blends are two pairs of neighbours, at (x, y) and one row on, wrapping already.
    // The wide sampling reads it: every texture makes it with its texels.
    std::vector<std::uint32_t> Bordered;
    // Bordered turned about its diagonal: Turned[x * (Height + 1) + y] is Bordered's (x, y), so
    // that a span whose texels run down the texture reads it along its rows, as a span running
    // across reads Bordered. Its pairs of neighbours are a texel and the one below it.
    std::vector<std::uint32_t> Turned;

    // The copy the wide sampling reads, and the texels a row of it.
    const std::uint32_t* SampledCopy(bool turned) const {
        return turned ? Turned.data() : Bordered.data();
    }
    std::int32_t SampledPitch(bool turned) const {
        return static_cast<std::int32_t>((turned ? Height : Width) + 1);
    }
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
// Draws pixels x0..x1 of row y and answers how many it wrote. Attributes are interpolated from
// the span's start `origin` (at most x0): the start of the triangle's row in its tile, so a
// pixel has the same value whether its row is drawn whole or in pieces.
using TSpanRoutine = int (*)(const TTriangle& triangle, const TSpanTarget& target, int y,
                             int origin, int x0, int x1);
// One row y of a tile whose left column is screen column X0: Depth[k] (null without a depth
// test) and Owners[k] belong to pixel X0 + k, for k below Columns.
struct TTileRow {
    int Y, X0, Columns;
    float* Depth;
    std::uint32_t* Owners;
};
// For the row's pixels X0 + first .. X0 + last: where the triangle's depth passes the
// less-or-equal test, or everywhere when its state tests no depth, Owners[k] := key and, with
// a depth test, Depth[k] := its depth. Depths are interpolated from column `origin` (at most
// first), as the spans interpolate colours, so a row taken in pieces takes what it would whole.
// It may read and store back unchanged any other column of the row.
using TVisibilityRoutine = void (*)(const TTriangle& triangle, const TTileRow& row, int origin,
                                    int first, int last, std::uint32_t key);

// Pixel-format state every pixel of a triangle shares.
struct TPixelState {
    EColorMode ColorMode = EColorMode::Diffuse;
    EColorMode AlphaMode = EColorMode::Diffuse;
    bool DepthTest = false;
    bool Blend = false;
    bool Linear = false;
    EBlendFactor SrcBlend = EBlendFactor::One;
    EBlendFactor DestBlend = EBlendFactor::Zero;

    bool operator==(const TPixelState&) const = default;
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
    // The texture's content stamp at the draw (0 without texels): names their content in a way
    // no later content shares, so two triangles with the same stamp sample the same texels.
    std::uint64_t TexelsStamp;
    // Whether the wide spans read Texels->Turned rather than Texels->Bordered: the same texels,
    // from the copy that keeps the triangle's neighbouring pixels nearer in memory.
    bool ReadsTurned;
    TPixelState State;
    TSpanRoutine Span;  // tests depth as State says; used where fragments are drawn in order
    TSpanRoutine Shade; // the same colours without any depth work, for pixels already resolved
    TVisibilityRoutine Visibility; // the depth test of Span, recording instead of shading
};

// One tile's rows of the back buffer and depth buffer; a span writes pixels x0..x1 of row y,
// at Color[y * Pitch + x] and Depth[y * DepthPitch + x]. The depth buffer is kept tile by
// tile, so its rows are a tile wide and Depth is placed for the tile being drawn.
struct TSpanTarget {
    std::uint32_t* Color;
    float* Depth; // null without a depth buffer
    int Pitch;    // pixels per row of the back buffer
    int DepthPitch;
};

// How a tile is drawn. Deferred resolves which fragment each pixel keeps first and shades
// every pixel once, with the widest span routines the processor has; Immediate shades every
// fragment that passes the depth test as it comes, one pixel at a time: the plain way, kept as
// the reference the deferred tiles and the wide routines must match pixel for pixel.
enum class ETileShading : std::uint8_t { Deferred, Immediate };

constexpr int SubpixelBits = 8;
constexpr int SubpixelScale = 1 << SubpixelBits;

} // namespace Reference
