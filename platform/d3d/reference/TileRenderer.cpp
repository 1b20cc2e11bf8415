#include "platform/d3d/reference/TileRenderer.h"

#include "platform/d3d/reference/Fill.h"

#include <algorithm>

namespace Reference {
namespace {

// Ceiling and floor of n / d for d > 0, clamped into int range by the caller's bounds.
std::int64_t CeilDivide(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

std::int64_t FloorDivide(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// The pixels of row y inside the triangle and inside left..right: first..last, or false.
bool RowSpan(const TTriangle& triangle, int y, int left, int right, int& first, int& last) {
    std::int64_t from = left;
    std::int64_t to = right;
    for (int edge = 0; edge < 3 && from <= to; ++edge) {
        // Pixels x of this row with a*x + atRowStart >= 0.
        const std::int64_t a = triangle.EdgeA[edge];
        const std::int64_t atRowStart = triangle.EdgeB[edge] * y + triangle.EdgeC[edge];
        if (a > 0) {
            from = std::max(from, CeilDivide(-atRowStart, a));
        } else if (a < 0) {
            to = std::min(to, FloorDivide(atRowStart, -a));
        } else if (atRowStart < 0) {
            return false;
        }
    }
    first = static_cast<int>(from);
    last = static_cast<int>(to);
    return from <= to;
}

// Owners of a deferred tile: a triangle's index above its row's start within the tile, or one
// of two marks for a pixel no triangle has taken since the last resolve.
constexpr int OwnerStartBits = 7;
static_assert(TileSize == 1 << OwnerStartBits);
static_assert(MaxQueuedTriangles < (std::size_t{1} << (32 - OwnerStartBits)) - 2);
constexpr std::uint32_t KeepsColor = 0xFFFFFFFFu; // the back buffer already holds its colour
constexpr std::uint32_t TakesClear = 0xFFFFFFFEu; // the pending clear colour is still owed
// A shaded key that names no triangle: the pixel's colour is not known to be any triangle's.
constexpr std::uint32_t NoShadedKey = 0xFFFFFFFFu;

} // namespace

TTileRenderer::TTileRenderer(int width, int height, bool hasDepth, unsigned threadCount,
                             ETileShading shading)
    : ScreenWidth(width), ScreenHeight(height), TilesX((width + TileSize - 1) / TileSize),
      TilesY((height + TileSize - 1) / TileSize),
      ColorBuffer(static_cast<std::size_t>(width) * height, 0xFF000000u),
      DepthBuffer(hasDepth ? static_cast<std::size_t>(TilesX) * TilesY * TilePixels : 0, 1.0f),
      ShadedKeys(MakeShadedKeys(shading, TilesX * TilesY)), Bins(MakeBins(TilesX * TilesY)),
      Matcher(MaxQueuedTriangles), TileShading(shading), Workers(threadCount),
      Scratch(Workers.ThreadCount()) {}

std::vector<std::vector<std::uint32_t>> TTileRenderer::MakeBins(int tileCount) {
    std::vector<std::vector<std::uint32_t>> bins(static_cast<std::size_t>(tileCount));
    for (std::vector<std::uint32_t>& bin : bins) {
        bin.reserve(MaxBinnedTriangles);
    }
    return bins;
}

std::vector<std::uint32_t> TTileRenderer::MakeShadedKeys(ETileShading shading, int tileCount) {
    if (shading != ETileShading::Deferred) {
        return {};
    }
    return std::vector<std::uint32_t>(static_cast<std::size_t>(tileCount) * TilePixels,
                                      NoShadedKey);
}

bool TTileRenderer::AnyBinFull(int firstTileX, int lastTileX, int firstTileY, int lastTileY) const {
    for (int tileY = firstTileY; tileY <= lastTileY; ++tileY) {
        for (int tileX = firstTileX; tileX <= lastTileX; ++tileX) {
            if (Bins[static_cast<std::size_t>(tileY) * TilesX + tileX].size() >=
                MaxBinnedTriangles) {
                return true;
            }
        }
    }
    return false;
}

void TTileRenderer::AddTriangle(const TTriangle& triangle) {
    const int firstTileX = triangle.MinX / TileSize;
    const int lastTileX = triangle.MaxX / TileSize;
    const int firstTileY = triangle.MinY / TileSize;
    const int lastTileY = triangle.MaxY / TileSize;
    if (Triangles.size() >= MaxQueuedTriangles ||
        AnyBinFull(firstTileX, lastTileX, firstTileY, lastTileY)) {
        DrawQueued(); // the held texels stay: later triangles of this draw still need them
    }
    const auto index = static_cast<std::uint32_t>(Triangles.size());
    Triangles.push_back(triangle);
    const bool singleTile = firstTileX == lastTileX && firstTileY == lastTileY;
    for (int tileY = firstTileY; tileY <= lastTileY; ++tileY) {
        for (int tileX = firstTileX; tileX <= lastTileX; ++tileX) {
            const int x0 = tileX * TileSize;
            const int y0 = tileY * TileSize;
            const int x1 = std::min(x0 + TileSize, ScreenWidth) - 1;
            const int y1 = std::min(y0 + TileSize, ScreenHeight) - 1;
            if (singleTile || TouchesTile(triangle, x0, y0, x1, y1)) {
                Bins[static_cast<std::size_t>(tileY) * TilesX + tileX].push_back(index);
            }
        }
    }
}

void TTileRenderer::HoldTexels(std::shared_ptr<const TTexels> texels) {
    HeldTexels.push_back(std::move(texels));
}

bool TTileRenderer::HasWork() const {
    return !Triangles.empty() || PendingClear.Color || PendingClear.Depth;
}

void TTileRenderer::ClearAll(bool color, std::uint32_t colorValue, bool depth, float depthValue) {
    if (!Triangles.empty()) {
        Flush();
    }
    if (color) {
        PendingClear.Color = true;
        PendingClear.ColorValue = colorValue;
    }
    if (depth && HasDepth()) {
        PendingClear.Depth = true;
        PendingClear.DepthValue = depthValue;
    }
}

void TTileRenderer::ClearRect(int x1, int y1, int x2, int y2, bool color, std::uint32_t colorValue,
                              bool depth, float depthValue) {
    Flush();
    ++Generation;
    // The colours written here are no triangle's: no key may name them.
    KeysNamePrevious = false;
    for (int y = y1; y < y2; ++y) {
        if (color) {
            FillWords(ColorBuffer.data() + static_cast<std::size_t>(y) * ScreenWidth + x1, x2 - x1,
                      colorValue);
        }
        if (depth && HasDepth()) {
            // The row crosses tiles, and each tile keeps its own rows.
            for (int x = x1; x < x2;) {
                const int pieceEnd = std::min(x2, (x / TileSize + 1) * TileSize);
                const std::size_t tile =
                    static_cast<std::size_t>(y / TileSize) * TilesX + x / TileSize;
                FillDepths(DepthBuffer.data() + tile * TilePixels + (y % TileSize) * TileSize +
                               x % TileSize,
                           pieceEnd - x, depthValue);
                x = pieceEnd;
            }
        }
    }
}

void TTileRenderer::Flush() {
    DrawQueued();
    HeldTexels.clear();
}

void TTileRenderer::Resize(int width, int height) {
    Flush();
    const int tilesX = (width + TileSize - 1) / TileSize;
    const int tilesY = (height + TileSize - 1) / TileSize;
    const auto pixels = static_cast<std::size_t>(width) * height;
    std::vector<std::uint32_t> colors(pixels, 0xFF000000u);
    std::vector<float> depths(
        HasDepth() ? static_cast<std::size_t>(tilesX) * tilesY * TilePixels : 0, 1.0f);
    std::vector<std::vector<std::uint32_t>> bins = MakeBins(tilesX * tilesY);
    std::vector<std::uint32_t> keys = MakeShadedKeys(TileShading, tilesX * tilesY);
    ColorBuffer.swap(colors);
    DepthBuffer.swap(depths);
    Bins.swap(bins);
    ShadedKeys.swap(keys);
    KeysNamePrevious = false;
    ScreenWidth = width;
    ScreenHeight = height;
    TilesX = tilesX;
    TilesY = tilesY;
    ++Generation;
}

void TTileRenderer::DiscardQueued() {
    ForgetQueued();
    HeldTexels.clear();
}

TFillCounts TTileRenderer::TakeFillCounts() {
    const TFillCounts counts = Counts;
    Counts = TFillCounts{};
    return counts;
}

void TTileRenderer::DrawQueued() {
    if (!HasWork()) {
        return;
    }
    if (TileShading == ETileShading::Deferred) {
        Matcher.Match(PreviousTriangles, Triangles);
    }
    Workers.RunAll(*this, TilesX * TilesY);
    ++Generation;
    // The keys the tiles wrote name this batch's triangles; the older ones are let go.
    PreviousTriangles.swap(Triangles);
    // Every tile ran, so every deferred tile's keys now name them.
    KeysNamePrevious = TileShading == ETileShading::Deferred;
    ForgetQueued();
}

void TTileRenderer::ForgetQueued() {
    Triangles.clear();
    for (std::vector<std::uint32_t>& bin : Bins) {
        bin.clear();
    }
    PendingClear = TPendingClear{};
    for (TTileScratch& scratch : Scratch) {
        Counts.Fragments += scratch.Counts.Fragments;
        Counts.PixelsShaded += scratch.Counts.PixelsShaded;
        scratch.Counts = TFillCounts{};
    }
}

TTileRenderer::TTileBounds TTileRenderer::BoundsOf(int tile) const {
    const int x0 = (tile % TilesX) * TileSize;
    const int y0 = (tile / TilesX) * TileSize;
    return TTileBounds{x0, y0, std::min(x0 + TileSize, ScreenWidth) - 1,
                       std::min(y0 + TileSize, ScreenHeight) - 1};
}

TSpanTarget TTileRenderer::TargetOf(int tile, const TTileBounds& bounds) {
    float* depth = nullptr;
    if (HasDepth()) {
        // Placed so that Depth[y * TileSize + x] is pixel (x, y) of this tile's block; the
        // offset is never negative, as each tile's block lies past all tiles left and above.
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(tile) * TilePixels -
                                      static_cast<std::ptrdiff_t>(bounds.Y0) * TileSize - bounds.X0;
        depth = DepthBuffer.data() + offset;
    }
    return TSpanTarget{ColorBuffer.data(), depth, ScreenWidth, TileSize};
}

void TTileRenderer::RunTile(int tile, unsigned worker) {
    const TTileBounds bounds = BoundsOf(tile);
    const TSpanTarget target = TargetOf(tile, bounds);
    TTileScratch& scratch = Scratch[worker];
    if (TileShading == ETileShading::Deferred) {
        DrawTileDeferred(tile, bounds, target, scratch);
        return;
    }
    ClearTile(tile, bounds, PendingClear.Color);
    for (const std::uint32_t index : Bins[static_cast<std::size_t>(tile)]) {
        DrawTriangleInTile(Triangles[index], bounds, target, scratch.Counts);
    }
}

void TTileRenderer::ClearTile(int tile, const TTileBounds& bounds, bool color) {
    if (color) {
        for (int y = bounds.Y0; y <= bounds.Y1; ++y) {
            FillWords(ColorBuffer.data() + static_cast<std::size_t>(y) * ScreenWidth + bounds.X0,
                      bounds.X1 - bounds.X0 + 1, PendingClear.ColorValue);
        }
    }
    if (PendingClear.Depth) {
        FillDepths(DepthBuffer.data() + static_cast<std::size_t>(tile) * TilePixels, TilePixels,
                   PendingClear.DepthValue);
    }
}

bool TTileRenderer::TouchesTile(const TTriangle& triangle, int tileX0, int tileY0, int tileX1,
                                int tileY1) const {
    // The tile is missed when all four of its corner pixels lie outside one edge.
    for (int edge = 0; edge < 3; ++edge) {
        const std::int64_t a = triangle.EdgeA[edge];
        const std::int64_t b = triangle.EdgeB[edge];
        const std::int64_t x = a > 0 ? tileX1 : tileX0;
        const std::int64_t y = b > 0 ? tileY1 : tileY0;
        if (a * x + b * y + triangle.EdgeC[edge] < 0) {
            return false;
        }
    }
    return true;
}

void TTileRenderer::DrawTriangleInTile(const TTriangle& triangle, const TTileBounds& tile,
                                       const TSpanTarget& target, TFillCounts& counts) {
    const int top = std::max(triangle.MinY, tile.Y0);
    const int bottom = std::min(triangle.MaxY, tile.Y1);
    const int left = std::max(triangle.MinX, tile.X0);
    const int right = std::min(triangle.MaxX, tile.X1);
    for (int y = top; y <= bottom; ++y) {
        int first = 0;
        int last = 0;
        if (RowSpan(triangle, y, left, right, first, last)) {
            counts.Fragments += static_cast<std::uint64_t>(last - first + 1);
            counts.PixelsShaded +=
                static_cast<std::uint64_t>(triangle.Span(triangle, target, y, first, first, last));
        }
    }
}

void TTileRenderer::DrawTileDeferred(int tile, const TTileBounds& bounds, const TSpanTarget& target,
                                     TTileScratch& scratch) {
    ClearTile(tile, bounds, false);
    scratch.Keys = ShadedKeys.data() + static_cast<std::size_t>(tile) * TilePixels;
    scratch.FirstResolve = true;
    const std::uint32_t untouched = PendingClear.Color ? TakesClear : KeepsColor;
    const int width = bounds.X1 - bounds.X0 + 1;
    for (int row = 0; row <= bounds.Y1 - bounds.Y0; ++row) {
        FillWords(scratch.Owners.data() + row * TileSize, width, untouched);
    }
    for (const std::uint32_t index : Bins[static_cast<std::size_t>(tile)]) {
        const TTriangle& triangle = Triangles[index];
        if (triangle.State.Blend) {
            // A blend reads the colour beneath it, so what lies there is shaded first.
            ShadeResolved(bounds, target, scratch);
            ForgetShaded(triangle, bounds, scratch);
            DrawTriangleInTile(triangle, bounds, target, scratch.Counts);
        } else {
            MarkVisible(triangle, index, bounds, target, scratch);
        }
    }
    ShadeResolved(bounds, target, scratch);
}

// A blend leaves colours no single triangle gives, within its bounds.
void TTileRenderer::ForgetShaded(const TTriangle& triangle, const TTileBounds& tile,
                                 TTileScratch& scratch) {
    const int left = std::max(triangle.MinX, tile.X0);
    const int right = std::min(triangle.MaxX, tile.X1);
    for (int y = std::max(triangle.MinY, tile.Y0); y <= std::min(triangle.MaxY, tile.Y1); ++y) {
        FillWords(scratch.Keys + (y - tile.Y0) * TileSize + (left - tile.X0), right - left + 1,
                  NoShadedKey);
    }
}

void TTileRenderer::MarkVisible(const TTriangle& triangle, std::uint32_t index,
                                const TTileBounds& tile, const TSpanTarget& target,
                                TTileScratch& scratch) {
    const int top = std::max(triangle.MinY, tile.Y0);
    const int bottom = std::min(triangle.MaxY, tile.Y1);
    const int left = std::max(triangle.MinX, tile.X0);
    const int right = std::min(triangle.MaxX, tile.X1);
    const bool depthTest = triangle.State.DepthTest;
    for (int y = top; y <= bottom; ++y) {
        int first = 0;
        int last = 0;
        if (!RowSpan(triangle, y, left, right, first, last)) {
            continue;
        }
        scratch.Counts.Fragments += static_cast<std::uint64_t>(last - first + 1);
        const std::uint32_t key =
            index << OwnerStartBits | static_cast<std::uint32_t>(first - tile.X0);
        const TTileRow row{y, tile.X0, tile.X1 - tile.X0 + 1,
                           depthTest ? target.Depth + y * TileSize + tile.X0 : nullptr,
                           scratch.Owners.data() + (y - tile.Y0) * TileSize};
        triangle.Visibility(triangle, row, first - tile.X0, last - tile.X0, key);
    }
}

// The first resolve of a tile sees every pixel as the batch began: one whose owner shades
// alike the triangle its key names keeps its colour. Later resolves follow a blend, which has
// changed colours since.
void TTileRenderer::ShadeResolved(const TTileBounds& tile, const TSpanTarget& target,
                                  TTileScratch& scratch) {
    const int width = tile.X1 - tile.X0 + 1;
    const bool first = scratch.FirstResolve;
    const bool mayKeep = first && KeysNamePrevious;
    for (int y = tile.Y0; y <= tile.Y1; ++y) {
        std::uint32_t* owners = scratch.Owners.data() + (y - tile.Y0) * TileSize;
        std::uint32_t* keys = scratch.Keys + (y - tile.Y0) * TileSize;
        std::uint32_t* colors = ColorBuffer.data() + static_cast<std::size_t>(y) * ScreenWidth;
        for (int start = 0; start < width;) {
            const std::uint32_t owner = owners[start];
            const int end = RunEnd(owners, start, width);
            if (owner == TakesClear || owner == KeepsColor) {
                if (owner == TakesClear) {
                    FillWords(colors + tile.X0 + start, end - start, PendingClear.ColorValue);
                }
                if (first) {
                    FillWords(keys + start, end - start, NoShadedKey);
                }
            } else {
                if (mayKeep && HoldsShade(keys, start, end, owner)) {
                    // The keys name this batch's triangle from here on; most keep their number.
                    if (keys[start] != owner) {
                        FillWords(keys + start, end - start, owner);
                    }
                } else {
                    const TTriangle& triangle = Triangles[owner >> OwnerStartBits];
                    const int origin = tile.X0 + static_cast<int>(owner & (TileSize - 1));
                    scratch.Counts.PixelsShaded += static_cast<std::uint64_t>(triangle.Shade(
                        triangle, target, y, origin, tile.X0 + start, tile.X0 + end - 1));
                    FillWords(keys + start, end - start, owner);
                }
            }
            start = end;
        }
        FillWords(owners, width, KeepsColor);
    }
    scratch.FirstResolve = false;
}

// Whether pixels start..end-1 of a row, which `owner` is to shade, already hold its colours:
// their keys all name the triangle of the last batch that shades alike, from the same row
// start.
bool TTileRenderer::HoldsShade(const std::uint32_t* keys, int start, int end,
                               std::uint32_t owner) const {
    const std::uint32_t match = Matcher.MatchOf(owner >> OwnerStartBits);
    return match != TShadeMatcher::NoMatch &&
           keys[start] == (match << OwnerStartBits | (owner & (TileSize - 1))) &&
           RunEnd(keys, start, end) == end;
}

} // namespace Reference
