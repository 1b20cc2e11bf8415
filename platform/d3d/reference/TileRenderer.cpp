#include "platform/d3d/reference/TileRenderer.h"

#include "platform/d3d/reference/Fill.h"
#include "platform/d3d/reference/IntegerDivision.h"
#include "platform/d3d/reference/Visibility.h"

#include <algorithm>
#include <bit>

namespace Reference {
namespace {

// The pixels of row y inside the triangle and inside left..right: first..last, or false.
bool RowSpan(const TTriangle& triangle, int y, int left, int right, int& first, int& last) {
    std::int64_t from = left;
    std::int64_t to = right;
    for (int edge = 0; edge < 3 && from <= to; ++edge) {
        // Pixels x of this row with a*x + atRowStart >= 0. Only an edge that cuts off the end
        // it faces needs the division; most rows of a large triangle lie whole within most of
        // its edges.
        const std::int64_t a = triangle.EdgeA[edge];
        const std::int64_t atRowStart = triangle.EdgeB[edge] * y + triangle.EdgeC[edge];
        if (a > 0) {
            if (a * from + atRowStart < 0) {
                from = CeilDivide(-atRowStart, a);
            }
        } else if (a < 0) {
            if (a * to + atRowStart < 0) {
                to = FloorDivide(atRowStart, -a);
            }
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
static_assert(2 * MaxQueuedTriangles < (std::size_t{1} << (32 - OwnerStartBits)) - 2);
constexpr std::uint32_t KeepsColor = 0xFFFFFFFFu; // the back buffer already holds its colour
constexpr std::uint32_t TakesClear = 0xFFFFFFFEu; // the pending clear colour is still owed
// A shaded key that names no triangle: the pixel's colour is not known to be any triangle's.
constexpr std::uint32_t NoShadedKey = 0xFFFFFFFFu;

static_assert(TileSize / SegmentColumns == RowSegments && RowSegments == 8,
              "a row's segments are the bits of a byte");
constexpr std::uint8_t EverySegment = 0xFF;
constexpr int SegmentsPerRow = RowSegments;
constexpr int SegmentsPerTile = TileSize * SegmentsPerRow;

// The bit of SegmentNames a key's triangle name sets.
std::uint32_t NameBit(std::uint32_t name) {
    return 1u << (name & 31);
}

// Calls visit(from, to) for each stretch of columns first..last lying in segments of `mask`.
template <typename Visit>
void ForEachSegmentRun(std::uint32_t mask, int first, int last, const Visit& visit) {
    std::uint32_t segments = mask & SegmentsOf(first, last);
    while (segments != 0) {
        const int from = std::countr_zero(segments);
        const int to = from + std::countr_one(segments >> from); // one past the stretch
        visit(std::max(first, from * SegmentColumns), std::min(last, to * SegmentColumns - 1));
        segments &= ~((1u << to) - 1);
    }
}

// For each row of the triangle within `tile` that `wanted(row, reach)` accepts (row counted
// from the tile's top, reach the segments the triangle's bounds cover there) and that the
// triangle covers: visit(y, first, last) with its span in screen columns.
template <typename Wanted, typename Visit>
void ForEachRowSpan(const TTriangle& triangle, const TPixelArea& tile, const Wanted& wanted,
                    const Visit& visit) {
    const int left = std::max(triangle.MinX, tile.X0);
    const int right = std::min(triangle.MaxX, tile.X1);
    const std::uint8_t reach = SegmentsOf(left - tile.X0, right - tile.X0);
    for (int y = std::max(triangle.MinY, tile.Y0); y <= std::min(triangle.MaxY, tile.Y1); ++y) {
        int first = 0;
        int last = 0;
        if (wanted(y - tile.Y0, reach) && RowSpan(triangle, y, left, right, first, last)) {
            visit(y, first, last);
        }
    }
}

// The pixels of a tile within `bounds` that rows of segments `redrawn` (one a row) reach.
TPixelArea RedrawnArea(const TPixelArea& bounds, const std::uint8_t* redrawn) {
    std::uint8_t segments = 0;
    int top = bounds.Y1 + 1;
    int bottom = bounds.Y0 - 1;
    for (int y = bounds.Y0; y <= bounds.Y1; ++y) {
        if (redrawn[y - bounds.Y0] != 0) {
            segments |= redrawn[y - bounds.Y0];
            top = std::min(top, y);
            bottom = y;
        }
    }
    if (segments == 0) {
        return TPixelArea{};
    }
    return TPixelArea{
        bounds.X0 + std::countr_zero(segments) * SegmentColumns, top,
        std::min(bounds.X1, bounds.X0 + (8 - std::countl_zero(segments)) * SegmentColumns - 1),
        bottom};
}

} // namespace

void TPixelArea::Include(const TPixelArea& other) {
    if (other.Empty()) {
        return;
    }
    if (Empty()) {
        *this = other;
        return;
    }
    X0 = std::min(X0, other.X0);
    Y0 = std::min(Y0, other.Y0);
    X1 = std::max(X1, other.X1);
    Y1 = std::max(Y1, other.Y1);
}

TTileRenderer::TTileRenderer(int width, int height, bool hasDepth, unsigned threadCount,
                             ETileShading shading)
    : ScreenWidth(width), ScreenHeight(height), TilesX((width + TileSize - 1) / TileSize),
      TilesY((height + TileSize - 1) / TileSize),
      ColorBuffer(static_cast<std::size_t>(width) * height, 0xFF000000u),
      Changed(static_cast<std::size_t>(TilesX) * TilesY),
      DepthBuffer(hasDepth ? static_cast<std::size_t>(TilesX) * TilesY * TilePixels : 0, 1.0f),
      ShadedKeys(MakeShadedKeys(shading, TilesX * TilesY)),
      SegmentNames(SegmentCount(shading, TilesX * TilesY)),
      SegmentFarthest(hasDepth ? SegmentCount(shading, TilesX * TilesY) : 0),
      Bins(MakeBins(TilesX * TilesY)), PreviousBins(MakeBins(TilesX * TilesY)),
      Matcher(MaxQueuedTriangles), Names(MaxQueuedTriangles), TileShading(shading),
      Workers(threadCount), Scratch(Workers.ThreadCount()) {
    ChangeAll();
}

void TTileRenderer::ChangeAll() {
    for (int tile = 0; tile < TilesX * TilesY; ++tile) {
        Changed[static_cast<std::size_t>(tile)] = BoundsOf(tile);
    }
}

void TTileRenderer::ForgetChanges() {
    std::fill(Changed.begin(), Changed.end(), TPixelArea{});
}

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

std::size_t TTileRenderer::SegmentCount(ETileShading shading, int tileCount) {
    return shading == ETileShading::Deferred ? static_cast<std::size_t>(tileCount) * SegmentsPerTile
                                             : 0;
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
    if (color) {
        for (int tile = 0; tile < TilesX * TilesY; ++tile) {
            const TPixelArea bounds = BoundsOf(tile);
            Changed[static_cast<std::size_t>(tile)].Include(
                TPixelArea{std::max(x1, bounds.X0), std::max(y1, bounds.Y0),
                           std::min(x2 - 1, bounds.X1), std::min(y2 - 1, bounds.Y1)});
        }
    }
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
    std::vector<std::vector<std::uint32_t>> previousBins = MakeBins(tilesX * tilesY);
    std::vector<std::uint32_t> keys = MakeShadedKeys(TileShading, tilesX * tilesY);
    std::vector<std::uint32_t> segmentNames(SegmentCount(TileShading, tilesX * tilesY));
    std::vector<float> segmentFarthest(HasDepth() ? segmentNames.size() : 0);
    std::vector<TPixelArea> changed(static_cast<std::size_t>(tilesX) * tilesY);
    ColorBuffer.swap(colors);
    Changed.swap(changed);
    DepthBuffer.swap(depths);
    Bins.swap(bins);
    PreviousBins.swap(previousBins);
    ShadedKeys.swap(keys);
    SegmentNames.swap(segmentNames);
    SegmentFarthest.swap(segmentFarthest);
    KeysNamePrevious = false;
    ScreenWidth = width;
    ScreenHeight = height;
    TilesX = tilesX;
    TilesY = tilesY;
    ChangeAll();
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
        Names.NameBatch(Matcher, Triangles.size());
        KeepsUnchanged = KeysNamePrevious && HasDepth() && PendingClear.Color &&
                         PendingClear.Depth && PendingClear == LastClear;
    }
    Workers.RunAll(*this, TilesX * TilesY);
    ++Generation;
    LastClear = PendingClear;
    // The keys the tiles wrote name this batch's triangles; the older ones are let go.
    PreviousTriangles.swap(Triangles);
    PreviousBins.swap(Bins);
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
    TPixelArea& changed = Changed[static_cast<std::size_t>(tile)];
    if (TileShading == ETileShading::Deferred) {
        DrawTileDeferred(tile, bounds, target, scratch);
        changed.Include(RedrawnArea(bounds, scratch.Redrawn.data()));
        return;
    }
    changed.Include(bounds);
    ClearTile(tile, bounds, PendingClear.Color);
    for (const std::uint32_t index : Bins[static_cast<std::size_t>(tile)]) {
        DrawTriangleInTile(Triangles[index], bounds, target, nullptr, scratch.Counts);
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
                                       const TSpanTarget& target, const std::uint8_t* redrawn,
                                       TFillCounts& counts) {
    const auto segmentsOf = [&](int row) {
        return redrawn != nullptr ? redrawn[row] : EverySegment;
    };
    ForEachRowSpan(
        triangle, tile, [&](int row, std::uint8_t) { return segmentsOf(row) != 0; },
        [&](int y, int first, int last) {
            ForEachSegmentRun(
                segmentsOf(y - tile.Y0), first - tile.X0, last - tile.X0, [&](int from, int to) {
                    counts.Fragments += static_cast<std::uint64_t>(to - from + 1);
                    counts.PixelsShaded += static_cast<std::uint64_t>(
                        triangle.Span(triangle, target, y, first, tile.X0 + from, tile.X0 + to));
                });
        });
}

void TTileRenderer::DrawTileDeferred(int tile, const TTileBounds& bounds, const TSpanTarget& target,
                                     TTileScratch& scratch) {
    scratch.Keys = ShadedKeys.data() + static_cast<std::size_t>(tile) * TilePixels;
    scratch.SegmentNames = SegmentNames.data() + static_cast<std::size_t>(tile) * SegmentsPerTile;
    scratch.FirstResolve = true;
    if (KeepsUnchanged) {
        FindRedrawnSegments(tile, bounds, target, scratch);
    } else {
        std::fill_n(scratch.Redrawn.begin(), bounds.Y1 - bounds.Y0 + 1, EverySegment);
    }
    StartRedrawn(tile, bounds, scratch);
    for (const std::uint32_t index : Bins[static_cast<std::size_t>(tile)]) {
        const TTriangle& triangle = Triangles[index];
        if (triangle.State.Blend) {
            // A blend reads the colour beneath it, so what lies there is shaded first.
            ShadeResolved(bounds, target, scratch);
            ForgetShaded(triangle, bounds, scratch);
            DrawTriangleInTile(triangle, bounds, target, scratch.Redrawn.data(), scratch.Counts);
        } else {
            MarkVisible(triangle, index, bounds, target, scratch);
        }
    }
    ShadeResolved(bounds, target, scratch);
    if (HasDepth()) {
        NoteFarthestDepths(tile, bounds, scratch);
    }
}

// Most of a game's picture is the same from frame to frame, and the pixels that stay need no
// depth test and no shading. A segment keeps what the last batch left only where that is sure
// to be what this batch would draw: no pixel holds the colour of a triangle this batch does not
// repeat outright (a repeat still lies in front of whatever else repeats, in the same order),
// no triangle drawn out of depth order (blended, or without a depth test) reaches it in either
// batch, and no triangle new to this batch would pass the depth test against the depths it
// holds. A pixel no triangle took keeps the clear colour, which is the same.
void TTileRenderer::FindRedrawnSegments(int tile, const TTileBounds& bounds,
                                        const TSpanTarget& target, TTileScratch& scratch) const {
    const int width = bounds.X1 - bounds.X0 + 1;
    const std::uint32_t* names = scratch.SegmentNames;
    const float* farthest =
        SegmentFarthest.data() + static_cast<std::size_t>(tile) * SegmentsPerTile;
    std::fill_n(scratch.Redrawn.begin(), bounds.Y1 - bounds.Y0 + 1, std::uint8_t{0});
    // The rows of the triangle that reach a segment not yet known to be drawn again.
    const auto forEachRow = [&](const TTriangle& triangle, const auto& visit) {
        ForEachRowSpan(
            triangle, bounds,
            [&](int row, std::uint8_t reach) { return (scratch.Redrawn[row] & reach) != reach; },
            [&](int y, int first, int last) {
                visit(y - bounds.Y0, first - bounds.X0, last - bounds.X0);
            });
    };
    const auto redrawReach = [&](int row, int first, int last) {
        scratch.Redrawn[row] |= SegmentsOf(first, last);
    };
    for (const std::uint32_t index : PreviousBins[static_cast<std::size_t>(tile)]) {
        const TTriangle& triangle = PreviousTriangles[index];
        if (triangle.State.Blend || !triangle.State.DepthTest) {
            if (Matcher.RepeatedBy(index) == TShadeMatcher::NoMatch) {
                forEachRow(triangle, redrawReach); // a repeat is found among this batch's
            }
        } else if (Matcher.RepeatedBy(index) == TShadeMatcher::NoMatch) {
            // Where it kept pixels: its key, from its row's start, in their keys.
            const std::uint32_t name = Names.Previous(index);
            const std::uint32_t nameBit = NameBit(name);
            forEachRow(triangle, [&](int row, int first, int last) {
                const std::uint32_t* keys = scratch.Keys + row * TileSize;
                const std::uint32_t* rowNames = names + row * SegmentsPerRow;
                const std::uint32_t key =
                    name << OwnerStartBits | static_cast<std::uint32_t>(first);
                ForEachSegmentRun(~scratch.Redrawn[row], first, last, [&](int from, int to) {
                    for (int start = from; start <= to;) {
                        const int segment = start / SegmentColumns;
                        const int end = std::min(to + 1, (segment + 1) * SegmentColumns);
                        if ((rowNames[segment] & nameBit) != 0 &&
                            HoldsWord(keys, start, end, key)) {
                            redrawReach(row, start, start);
                        }
                        start = end;
                    }
                });
            });
        }
    }
    for (const std::uint32_t index : Bins[static_cast<std::size_t>(tile)]) {
        const TTriangle& triangle = Triangles[index];
        if (triangle.State.Blend || !triangle.State.DepthTest) {
            forEachRow(triangle, redrawReach);
        } else if (!Matcher.Repeats(index)) {
            forEachRow(triangle, [&](int row, int first, int last) {
                const std::uint8_t known = scratch.Redrawn[row];
                const std::uint8_t reached = SegmentsOf(first, last);
                if ((known & reached) != reached) {
                    const int y = bounds.Y0 + row;
                    const TTileRow tileRow{y, bounds.X0, width,
                                           target.Depth + y * TileSize + bounds.X0, nullptr};
                    const std::uint32_t behind = SegmentsBeyond(
                        triangle, tileRow, first, first, last, known,
                        farthest + static_cast<std::ptrdiff_t>(row) * SegmentsPerRow);
                    if (((known | behind) & reached) != reached) {
                        scratch.Redrawn[row] = static_cast<std::uint8_t>(
                            known |
                            SegmentsTaken(triangle, tileRow, first, first, last, known | behind));
                    }
                }
            });
        }
    }
}

// The segments drawn again start from the pending clears, with no fragment taken yet.
void TTileRenderer::StartRedrawn(int tile, const TTileBounds& bounds, TTileScratch& scratch) {
    const std::uint32_t untouched = PendingClear.Color ? TakesClear : KeepsColor;
    const int width = bounds.X1 - bounds.X0 + 1;
    float* depths = PendingClear.Depth
                        ? DepthBuffer.data() + static_cast<std::size_t>(tile) * TilePixels
                        : nullptr;
    for (int row = 0; row <= bounds.Y1 - bounds.Y0; ++row) {
        ForEachSegmentRun(scratch.Redrawn[row], 0, width - 1, [&](int from, int to) {
            FillWords(scratch.Owners.data() + row * TileSize + from, to - from + 1, untouched);
            FillWords(scratch.SegmentNames + row * SegmentsPerRow + from / SegmentColumns,
                      to / SegmentColumns - from / SegmentColumns + 1, 0);
            if (depths != nullptr) {
                FillDepths(depths + row * TileSize + from, to - from + 1, PendingClear.DepthValue);
            }
        });
    }
}

// The farthest depths of the segments this batch drew again; no others changed.
void TTileRenderer::NoteFarthestDepths(int tile, const TTileBounds& bounds,
                                       const TTileScratch& scratch) {
    float* farthest = SegmentFarthest.data() + static_cast<std::size_t>(tile) * SegmentsPerTile;
    const float* depths = DepthBuffer.data() + static_cast<std::size_t>(tile) * TilePixels;
    for (int row = 0; row <= bounds.Y1 - bounds.Y0; ++row) {
        for (std::uint32_t segments = scratch.Redrawn[row]; segments != 0;
             segments &= segments - 1) {
            const int segment = std::countr_zero(segments);
            farthest[row * SegmentsPerRow + segment] =
                FarthestDepth(depths + row * TileSize + segment * SegmentColumns, SegmentColumns);
        }
    }
}

// A blend leaves colours no single triangle gives where it reaches. Elsewhere the keys stay:
// they tell which triangle's colour a pixel holds, which a later batch needs to know.
void TTileRenderer::ForgetShaded(const TTriangle& triangle, const TTileBounds& tile,
                                 TTileScratch& scratch) {
    ForEachRowSpan(
        triangle, tile, [&](int row, std::uint8_t) { return scratch.Redrawn[row] != 0; },
        [&](int y, int first, int last) {
            std::uint32_t* keys = scratch.Keys + (y - tile.Y0) * TileSize;
            ForEachSegmentRun(
                scratch.Redrawn[y - tile.Y0], first - tile.X0, last - tile.X0,
                [&](int from, int to) { FillWords(keys + from, to - from + 1, NoShadedKey); });
        });
}

void TTileRenderer::MarkVisible(const TTriangle& triangle, std::uint32_t index,
                                const TTileBounds& tile, const TSpanTarget& target,
                                TTileScratch& scratch) {
    const bool depthTest = triangle.State.DepthTest;
    ForEachRowSpan(
        triangle, tile,
        [&](int row, std::uint8_t reach) { return (scratch.Redrawn[row] & reach) != 0; },
        [&](int y, int first, int last) {
            const int origin = first - tile.X0;
            const std::uint32_t key = index << OwnerStartBits | static_cast<std::uint32_t>(origin);
            const TTileRow row{y, tile.X0, tile.X1 - tile.X0 + 1,
                               depthTest ? target.Depth + y * TileSize + tile.X0 : nullptr,
                               scratch.Owners.data() + (y - tile.Y0) * TileSize};
            ForEachSegmentRun(
                scratch.Redrawn[y - tile.Y0], origin, last - tile.X0, [&](int from, int to) {
                    scratch.Counts.Fragments += static_cast<std::uint64_t>(to - from + 1);
                    triangle.Visibility(triangle, row, origin, from, to, key);
                });
        });
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
        std::uint32_t* names = scratch.SegmentNames + (y - tile.Y0) * SegmentsPerRow;
        std::uint32_t* colors = ColorBuffer.data() + static_cast<std::size_t>(y) * ScreenWidth;
        ForEachSegmentRun(scratch.Redrawn[y - tile.Y0], 0, width - 1, [&](int from, int to) {
            for (int start = from; start <= to;) {
                const std::uint32_t owner = owners[start];
                const int end = RunEnd(owners, start, to + 1);
                if (owner == TakesClear || owner == KeepsColor) {
                    if (owner == TakesClear) {
                        FillWords(colors + tile.X0 + start, end - start, PendingClear.ColorValue);
                    }
                    if (first) {
                        FillWords(keys + start, end - start, NoShadedKey);
                    }
                } else {
                    const std::uint32_t name = Names.Current(owner >> OwnerStartBits);
                    const std::uint32_t key = name << OwnerStartBits | (owner & (TileSize - 1));
                    for (int segment = start / SegmentColumns;
                         segment <= (end - 1) / SegmentColumns; ++segment) {
                        names[segment] |= NameBit(name);
                    }
                    if (mayKeep && HoldsShade(keys, start, end, owner)) {
                        // The keys name this batch's triangle from here on; most keep its name.
                        if (keys[start] != key) {
                            FillWords(keys + start, end - start, key);
                        }
                    } else {
                        const TTriangle& triangle = Triangles[owner >> OwnerStartBits];
                        const int origin = tile.X0 + static_cast<int>(owner & (TileSize - 1));
                        scratch.Counts.PixelsShaded += static_cast<std::uint64_t>(triangle.Shade(
                            triangle, target, y, origin, tile.X0 + start, tile.X0 + end - 1));
                        FillWords(keys + start, end - start, key);
                    }
                }
                start = end;
            }
            FillWords(owners + from, to - from + 1, KeepsColor);
        });
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
           keys[start] == (Names.Previous(match) << OwnerStartBits | (owner & (TileSize - 1))) &&
           RunEnd(keys, start, end) == end;
}

} // namespace Reference
