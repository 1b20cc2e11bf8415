// The eight- and sixteen-pixel span routines and the wide visibility routine must give
// exactly the results of the one-pixel ones, and a row's segments found beyond their farthest
// depths must be ones the depth test takes nothing from.

#include "platform/d3d/reference/Fill.h"
#include "platform/d3d/reference/Resources.h"
#include "platform/d3d/reference/SixteenWideSpans.h"
#include "platform/d3d/reference/Spans.h"
#include "platform/d3d/reference/Visibility.h"
#include "platform/d3d/reference/WideSpans.h"
#include "tests/refdevice/TestSeries.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <vector>

namespace {

using namespace Reference;

TPlane RandomPlane(TSeries& series, float low, float high, float slope = 0.02f) {
    return TPlane{series.Next(low, high), series.Next(-slope, slope), series.Next(-slope, slope)};
}

// Textures sampled at a few texels per pixel, near one texel a pixel and magnified, turned
// (rows change faster than columns along a span), seen square-on (1/w and v the same along a
// row), and of one row or a few columns, all wrapping.
struct TTextureCase {
    std::uint32_t Width, Height;
    float SlopeU, SlopeV; // of u/w and v/w per pixel
    bool SquareOn;
};
constexpr TTextureCase TextureCases[] = {
    {37, 16, 0.02f, 0.02f, false},      // not a power of two: wrapping must not assume one
    {64, 48, 0.002f, 0.002f, false},    // a few pixels per texel
    {256, 8, 0.0005f, 0.0005f, false},  // many pixels per texel
    {64, 256, 0.0003f, 0.0025f, false}, // turned: rows change faster than columns along a span
    {64, 48, 0.002f, 0.002f, true},     // seen square-on
    {256, 8, 0.006f, 0.002f, true},     // seen square-on, near one texel a pixel
    {256, 64, 0.006f, 0.0005f, false},  // near one texel a pixel
    {5, 2, 0.02f, 0.02f, true},         // a few columns
    {9, 1, 0.004f, 0.004f, false},      // one row, which is its own next row
};

TEST(ReferenceDeviceSpans, WideRoutinesDrawExactlyWhatTheOnePixelRoutinesDraw) {
    using TSelect = TSpanRoutine (*)(const TPixelState&);
    constexpr int Width = 77; // spans of every length modulo sixteen
    constexpr int Rows = 40;
    TSeries series(2024);
    int compared = 0;
    for (const TTextureCase& texture : TextureCases) {
        TTexels texels;
        texels.Width = texture.Width;
        texels.Height = texture.Height;
        for (std::uint32_t i = 0; i < texels.Width * texels.Height; ++i) {
            texels.Pixels.push_back(series.NextBits());
        }
        MakeBordered(texels);
        for (const EColorMode mode : {EColorMode::Diffuse, EColorMode::Texture,
                                      EColorMode::Modulate, EColorMode::Modulate2x}) {
            for (const auto& [depthTest, blend, select] :
                 {std::tuple<bool, bool, TSelect>{true, false, &SelectWideSpanRoutine},
                  {false, false, &SelectWideSpanRoutine},
                  {true, true, &SelectWideSpanRoutine},
                  {false, true, &SelectWideSpanRoutine},
                  {false, false, &SelectSixteenWideSpanRoutine}}) {
                TPixelState state;
                state.ColorMode = mode;
                state.DepthTest = depthTest;
                state.Linear = true;
                // The blend the game draws with: the texture over the picture by its alpha.
                state.Blend = blend;
                state.AlphaMode = EColorMode::Texture;
                state.SrcBlend = EBlendFactor::SrcAlpha;
                state.DestBlend = EBlendFactor::InvSrcAlpha;
                const TSpanRoutine wide = select(state);
                if (wide == nullptr) {
                    continue; // this processor draws with the one-pixel routines only
                }
                TTriangle triangle{};
                triangle.OriginX = series.Next(-50, 50);
                triangle.OriginY = series.Next(-50, 50);
                // Gentle, so the depth test both passes and fails along a span.
                triangle.Depth = RandomPlane(series, 0.3f, 0.7f, 0.004f);
                triangle.InvW = TPlane{series.Next(0.5f, 2), 0.001, -0.002};
                // Includes negative coordinates.
                triangle.UoverW = RandomPlane(series, -3, 3, texture.SlopeU);
                triangle.VoverW = RandomPlane(series, -3, 3, texture.SlopeV);
                if (texture.SquareOn) {
                    triangle.InvW.Dx = 0;
                    triangle.VoverW.Dx = 0;
                }
                triangle.RoverW = RandomPlane(series, -0.2f, 1.2f); // includes out-of-range colour
                triangle.GoverW = RandomPlane(series, 0, 1);
                triangle.BoverW = RandomPlane(series, 0, 1);
                triangle.AoverW = RandomPlane(series, 0, 1);
                triangle.Texels = &texels;
                triangle.State = state;

                std::vector<float> depth(Width * Rows);
                for (float& d : depth) {
                    d = series.Next(0, 1);
                }
                std::vector<std::uint32_t> color(Width * Rows);
                for (std::uint32_t& pixel : color) {
                    pixel = series.NextBits() | 0xFF000000u;
                }
                std::vector<float> wideDepth = depth;
                std::vector<std::uint32_t> wideColor = color;
                const TSpanRoutine onePixel = SelectOnePixelSpanRoutine(state);
                for (int y = 0; y < Rows; ++y) {
                    // Either copy of the texels on alternate rows, whichever way the texture
                    // turns: the copy read must never change a pixel.
                    triangle.ReadsTurned = y % 2 != 0;
                    const int x0 = y % 9;
                    const int x1 = Width - 1 - (y * 7) % 13;
                    // Every other row starts its values left of the first pixel drawn, as a
                    // resolved piece of a longer row does.
                    const int origin = y % 2 == 0 ? x0 : x0 - y % 5;
                    EXPECT_EQ(onePixel(triangle,
                                       TSpanTarget{color.data(), depth.data(), Width, Width}, y,
                                       origin, x0, x1),
                              wide(triangle,
                                   TSpanTarget{wideColor.data(), wideDepth.data(), Width, Width}, y,
                                   origin, x0, x1));
                }
                EXPECT_EQ(wideColor, color)
                    << "mode " << static_cast<int>(mode) << ", texture " << texture.Width;
                EXPECT_EQ(wideDepth, depth);
                ++compared;
            }
        }
    }
    if (compared == 0) {
        GTEST_SKIP() << "no wide routines on this processor";
    }
}

TEST(ReferenceDeviceSpans, WideVisibilityInPiecesTakesExactlyThePixelsTheOnePixelRoutineForesaw) {
    constexpr int Columns = 61; // a tile cut short, so the last group runs past the row
    TSeries series(2024);
    TPixelState state;
    state.DepthTest = true;
    for (const auto select : {&SelectVisibilityRoutine, &SelectEightWideVisibilityRoutine}) {
        const TVisibilityRoutine wide = select(state);
        const TVisibilityRoutine onePixel = SelectOnePixelVisibilityRoutine(state);
        TTriangle triangle{};
        // Near the row, and gentle, so the depth test both passes and fails along every span.
        triangle.OriginX = series.Next(108, 148);
        triangle.OriginY = series.Next(-20, 20);
        triangle.Depth = RandomPlane(series, 0.3f, 0.7f, 0.004f);
        std::vector<float> depth(Columns);
        for (float& d : depth) {
            d = series.Next(0, 1);
        }
        std::vector<std::uint32_t> owners(Columns, 7);
        std::vector<float> wideDepth = depth;
        std::vector<std::uint32_t> wideOwners = owners;
        for (int y = 0; y < 40; ++y) {
            const int first = (y * 5) % 17;
            // Every third span short, within a group or across one boundary.
            const int last = y % 3 == 0 ? first + y % 6 : Columns - 1 - (y * 3) % 11;
            const auto key = static_cast<std::uint32_t>(y);
            const TTileRow row{y, 128, Columns, depth.data(), owners.data()};
            const std::uint32_t foreseen = SegmentsTaken(triangle, row, first, first, last, 0);
            onePixel(triangle, row, first, first, last, key);
            std::uint32_t taken = 0;
            for (int k = first; k <= last; ++k) {
                taken |=
                    owners[static_cast<std::size_t>(k)] == key ? 1u << (k / SegmentColumns) : 0u;
            }
            EXPECT_EQ(foreseen, taken) << "span " << first << ".." << last;
            // The wide routine takes the span in two pieces, which must come to the same.
            const int split = (first + last) / 2;
            const TTileRow wideRow{y, 128, Columns, wideDepth.data(), wideOwners.data()};
            wide(triangle, wideRow, first, first, split, key);
            wide(triangle, wideRow, first, split + 1, last, key);
            // After every span: a later one may take a pixel the wrong routine missed.
            ASSERT_EQ(wideDepth, depth) << "span " << first << ".." << last;
            ASSERT_EQ(wideOwners, owners) << "span " << first << ".." << last;
        }
    }
}

// A segment found beyond its farthest depth must be one the depth test takes nothing from, at
// ties and one step of rounding either side of them, for gentle and steep depths, and where
// some of the depths held are not numbers.
TEST(ReferenceDeviceSpans, NoSegmentFoundBeyondItsFarthestDepthIsTaken) {
    constexpr int Columns = 61;
    TSeries series(77);
    TPixelState state;
    state.DepthTest = true;
    int beyondFound = 0;
    for (int round = 0; round < 400; ++round) {
        TTriangle triangle{};
        triangle.OriginX = series.Next(108, 148);
        triangle.OriginY = series.Next(-20, 20);
        triangle.Depth = RandomPlane(series, 0.3f, 0.7f, round % 2 == 0 ? 0.004f : 0.3f);
        const int y = round % 40;
        // The triangle's own depths, taken over a row that holds nothing nearer; the row's block
        // holds whole segments, as a tile's does, though the row is cut short.
        std::vector<float> depth(RowSegments * SegmentColumns,
                                 std::numeric_limits<float>::infinity());
        std::vector<std::uint32_t> owners(depth.size(), 0);
        const TTileRow row{y, 128, Columns, depth.data(), owners.data()};
        SelectOnePixelVisibilityRoutine(state)(triangle, row, 0, 0, Columns - 1, 1);
        for (float& d : depth) {
            switch (series.NextBits() % 5) {
            case 0:
                d = std::nextafter(d, 0.0f);
                break;
            case 1:
                d = std::nextafter(std::nextafter(d, 0.0f), 0.0f);
                break;
            case 2:
                d = std::numeric_limits<float>::quiet_NaN();
                break;
            case 3:
                d = series.Next(0, 1);
                break;
            default:
                break; // a tie
            }
        }
        std::array<float, RowSegments> farthest{};
        for (int segment = 0; segment * SegmentColumns < Columns; ++segment) {
            const int from = segment * SegmentColumns;
            farthest[static_cast<std::size_t>(segment)] =
                FarthestDepth(depth.data() + from, std::min(SegmentColumns, Columns - from));
        }
        // Interpolated from another column than the depths above were, so rounding differs.
        const int first = round % 23;
        const int last = Columns - 1 - round % 7;
        const std::uint32_t beyond =
            SegmentsBeyond(triangle, row, first, first, last, 0, farthest.data());
        EXPECT_EQ(beyond & SegmentsTaken(triangle, row, first, first, last, 0), 0u)
            << "round " << round;
        beyondFound += std::popcount(beyond);
    }
    EXPECT_GT(beyondFound, 0);
}

} // namespace
