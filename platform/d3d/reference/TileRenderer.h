#pragma once
// The back buffer, the depth buffer and the batch of triangles waiting to be drawn into
// them. Triangles are binned by screen tile (TileSize square) as they arrive; Flush then draws
// every tile on the worker crew, each tile's triangles in the order they were given, so the picture
// is the same for any number of threads. A deferred tile first runs the depth test of all its
// triangles, remembering per pixel only the fragment that stays, and then shades each pixel once
// (and not at all where the fragment shades as the last batch's did there); a blended triangle
// has the pixels so far shaded before it blends over them, so the order of the draws means what
// it always meant. Where nothing that reaches a stretch of a row can have changed since the
// last batch, the stretch keeps its colours and depths without being drawn at all.

#include "platform/d3d/reference/RasterTypes.h"
#include "platform/d3d/reference/ShadeMatcher.h"
#include "platform/d3d/reference/TileWorkers.h"
#include "platform/d3d/reference/TriangleNames.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Reference {

// Large enough that a row of a tile is a long span to shade (each span has a set-up to pay),
// small enough that a tile's depths and owners stay in the processor's cache and that two
// threads share the tiles of a small window evenly.
constexpr int TileSize = 128;
constexpr int TilePixels = TileSize * TileSize;

// A frame with more triangles than this is drawn in several batches, which bounds the
// memory a single huge frame can take; the picture is the same.
constexpr std::size_t MaxQueuedTriangles = 16384;
// Each tile's list of triangles is given room for this many when the buffers are made; a batch
// that would overfill one is drawn first, so queueing never allocates during a frame.
constexpr std::size_t MaxBinnedTriangles = 1024;

// What the tiles cost: fragments are the pixel centres triangles covered, shaded pixels those
// whose colour was worked out from a triangle (a pixel shaded twice counts twice).
struct TFillCounts {
    std::uint64_t Fragments = 0;
    std::uint64_t PixelsShaded = 0;
};

// Inclusive pixel bounds; none where X0 > X1.
struct TPixelArea {
    int X0 = 0, Y0 = 0, X1 = -1, Y1 = -1;

    bool Empty() const { return X0 > X1; }
    // Grows to hold `other` too.
    void Include(const TPixelArea& other);
};

class TTileRenderer final : private ITileJob {
public:
    TTileRenderer(int width, int height, bool hasDepth, unsigned threadCount,
                  ETileShading shading = ETileShading::Deferred);

    int Width() const { return ScreenWidth; }
    int Height() const { return ScreenHeight; }
    bool HasDepth() const { return !DepthBuffer.empty(); }
    ETileShading Shading() const { return TileShading; }

    // Queues a set-up triangle (State, Span and Texels filled in). Texels it samples must be
    // held (HoldTexels) before it is queued.
    void AddTriangle(const TTriangle& triangle);
    // Keeps texels alive until the next Flush, so queued triangles can still sample them.
    void HoldTexels(std::shared_ptr<const TTexels> texels);
    // Clears the whole target and/or depth buffer, in order with the queued triangles.
    void ClearAll(bool color, std::uint32_t colorValue, bool depth, float depthValue);
    // Clears a rectangle (pixels x1..x2-1, y1..y2-1, already inside the screen) at once.
    void ClearRect(int x1, int y1, int x2, int y2, bool color, std::uint32_t colorValue, bool depth,
                   float depthValue);
    // Draws everything queued. The buffers below are complete only after this.
    void Flush();
    // Draws what is queued, then gives both buffers the new size, opaque black and at the far
    // plane. On a failed allocation (std::bad_alloc) the renderer keeps its old size.
    void Resize(int width, int height);

    // Forgets everything queued (triangles, pending clears, held texels) without drawing it:
    // for a frame whose picture the buffers already hold.
    void DiscardQueued();
    // Moves whenever the buffers' contents change (a batch drawn, a rectangle cleared, a
    // resize), so a caller can tell whether they still hold the picture it last saw.
    std::uint64_t BufferGeneration() const { return Generation; }

    const std::vector<std::uint32_t>& Colors() const { return ColorBuffer; }
    // Per tile, the pixels that may hold another colour than at the last ForgetChanges (or
    // since the buffers were made): a window need copy no others.
    const std::vector<TPixelArea>& Changes() const { return Changed; }
    void ForgetChanges();

    // The counts of every tile drawn since the last call; they start again from zero.
    TFillCounts TakeFillCounts();

private:
    struct TPendingClear {
        bool Color = false;
        bool Depth = false;
        std::uint32_t ColorValue = 0;
        float DepthValue = 1.0f;

        bool operator==(const TPendingClear&) const = default;
    };

    // Per row of a tile, one bit per segment of columns (Visibility.h's SegmentColumns): set
    // where the row is drawn again, clear where it keeps what the last batch left.
    using TRowSegments = std::array<std::uint8_t, TileSize>;

    using TTileBounds = TPixelArea;

    // One drawing thread's own: which fragment owns each pixel of its tile (a triangle's
    // index and its row's start, or one of the two marks below), and its counts. While a tile
    // is drawn: its block of ShadedKeys, and whether the tile's first resolve is still to come
    // (the only one that may find pixels already shaded).
    struct TTileScratch {
        std::array<std::uint32_t, TilePixels> Owners{};
        TFillCounts Counts;
        std::uint32_t* Keys = nullptr;
        std::uint32_t* SegmentNames = nullptr;
        bool FirstResolve = true;
        TRowSegments Redrawn{};
    };

    void DrawQueued();
    void ForgetQueued();
    void RunTile(int tile, unsigned worker) override;
    TTileBounds BoundsOf(int tile) const;
    TSpanTarget TargetOf(int tile, const TTileBounds& bounds);
    void ClearTile(int tile, const TTileBounds& bounds, bool color);
    // Draws the triangle's pixels in the tile, or only those of segments set in `redrawn`.
    void DrawTriangleInTile(const TTriangle& triangle, const TTileBounds& tile,
                            const TSpanTarget& target, const std::uint8_t* redrawn,
                            TFillCounts& counts);
    void DrawTileDeferred(int tile, const TTileBounds& bounds, const TSpanTarget& target,
                          TTileScratch& scratch);
    void FindRedrawnSegments(int tile, const TTileBounds& bounds, const TSpanTarget& target,
                             TTileScratch& scratch) const;
    void StartRedrawn(int tile, const TTileBounds& bounds, TTileScratch& scratch);
    void MarkVisible(const TTriangle& triangle, std::uint32_t index, const TTileBounds& tile,
                     const TSpanTarget& target, TTileScratch& scratch);
    void ShadeResolved(const TTileBounds& tile, const TSpanTarget& target, TTileScratch& scratch);
    bool HoldsShade(const std::uint32_t* keys, int start, int end, std::uint32_t owner) const;
    void ForgetShaded(const TTriangle& triangle, const TTileBounds& tile, TTileScratch& scratch);
    void NoteFarthestDepths(int tile, const TTileBounds& bounds, const TTileScratch& scratch);
    static std::vector<std::uint32_t> MakeShadedKeys(ETileShading shading, int tileCount);
    static std::size_t SegmentCount(ETileShading shading, int tileCount);
    bool TouchesTile(const TTriangle& triangle, int tileX0, int tileY0, int tileX1,
                     int tileY1) const;
    bool HasWork() const;
    bool AnyBinFull(int firstTileX, int lastTileX, int firstTileY, int lastTileY) const;
    static std::vector<std::vector<std::uint32_t>> MakeBins(int tileCount);
    void ChangeAll();

    int ScreenWidth;
    int ScreenHeight;
    int TilesX;
    int TilesY;
    std::vector<std::uint32_t> ColorBuffer;
    std::vector<TPixelArea> Changed; // per tile
    std::vector<float> DepthBuffer;  // tile by tile: TilePixels per tile, its rows in order
    TPendingClear PendingClear;
    std::vector<TTriangle> Triangles;
    // Deferred tiles only, kept tile by tile as DepthBuffer: the owner key each pixel's colour
    // was last shaded from (a triangle's name and its row's start), naming one of
    // PreviousTriangles, or a mark that it names none. A pixel the
    // next batch gives to a triangle that shades alike, from the same row start, already holds
    // its colour: most of a game's picture stays from frame to frame.
    std::vector<std::uint32_t> ShadedKeys;
    std::vector<TTriangle> PreviousTriangles;
    // Deferred tiles only, per segment of each tile row (tile by tile, row by row): a bit for
    // each triangle name its keys hold (a name's low five bits pick it) and the farthest depth
    // it holds, so that a batch that keeps the segment need not read its keys or depths to
    // tell that a triangle gone from it left no colour there, or that a new one lies behind.
    std::vector<std::uint32_t> SegmentNames;
    std::vector<float> SegmentFarthest;
    // Whether ShadedKeys name PreviousTriangles: not before the first batch, nor after a resize
    // or a rectangle cleared at once.
    bool KeysNamePrevious = false;
    // The clears the last batch began with.
    TPendingClear LastClear;
    // Whether this batch's deferred tiles keep the segments nothing changed in: the buffers
    // hold what the last batch drew, after the same clears as this one.
    bool KeepsUnchanged = false;
    std::vector<std::vector<std::uint32_t>> Bins;
    std::vector<std::vector<std::uint32_t>> PreviousBins; // PreviousTriangles, tile by tile
    TShadeMatcher Matcher; // pairs the queued triangles with PreviousTriangles
    TTriangleNames Names;  // of the queued triangles and PreviousTriangles
    std::vector<std::shared_ptr<const TTexels>> HeldTexels;
    ETileShading TileShading;
    TFillCounts Counts;
    TTileWorkers Workers;
    std::vector<TTileScratch> Scratch; // one per worker
    std::uint64_t Generation = 0;
};

} // namespace Reference
