#include "platform/d3d/reference/TileRenderer.h"

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

} // namespace

TTileRenderer::TTileRenderer(int width, int height, bool hasDepth, unsigned threadCount)
    : ScreenWidth(width), ScreenHeight(height), TilesX((width + TileSize - 1) / TileSize),
      TilesY((height + TileSize - 1) / TileSize),
      ColorBuffer(static_cast<std::size_t>(width) * height, 0xFF000000u),
      DepthBuffer(hasDepth ? static_cast<std::size_t>(width) * height : 0, 1.0f),
      Bins(static_cast<std::size_t>(TilesX) * TilesY), Workers(threadCount) {}

void TTileRenderer::AddTriangle(const TTriangle& triangle) {
    if (Triangles.size() >= MaxQueuedTriangles) {
        DrawQueued(); // the held texels stay: later triangles of this draw still need them
    }
    const auto index = static_cast<std::uint32_t>(Triangles.size());
    Triangles.push_back(triangle);
    const int firstTileX = triangle.MinX / TileSize;
    const int lastTileX = triangle.MaxX / TileSize;
    const int firstTileY = triangle.MinY / TileSize;
    const int lastTileY = triangle.MaxY / TileSize;
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
    for (int y = y1; y < y2; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * ScreenWidth;
        if (color) {
            std::fill(ColorBuffer.begin() + row + x1, ColorBuffer.begin() + row + x2, colorValue);
        }
        if (depth && HasDepth()) {
            std::fill(DepthBuffer.begin() + row + x1, DepthBuffer.begin() + row + x2, depthValue);
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
    std::vector<float> depths(HasDepth() ? pixels : 0, 1.0f);
    std::vector<std::vector<std::uint32_t>> bins(static_cast<std::size_t>(tilesX) * tilesY);
    ColorBuffer.swap(colors);
    DepthBuffer.swap(depths);
    Bins.swap(bins);
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

void TTileRenderer::DrawQueued() {
    if (!HasWork()) {
        return;
    }
    Workers.RunAll(*this, TilesX * TilesY);
    ++Generation;
    ForgetQueued();
}

void TTileRenderer::ForgetQueued() {
    Triangles.clear();
    for (std::vector<std::uint32_t>& bin : Bins) {
        bin.clear();
    }
    PendingClear = TPendingClear{};
}

void TTileRenderer::RunTile(int tile) {
    const int x0 = (tile % TilesX) * TileSize;
    const int y0 = (tile / TilesX) * TileSize;
    const int x1 = std::min(x0 + TileSize, ScreenWidth) - 1;
    const int y1 = std::min(y0 + TileSize, ScreenHeight) - 1;
    ClearTile(tile);
    for (const std::uint32_t index : Bins[static_cast<std::size_t>(tile)]) {
        DrawTriangleInTile(Triangles[index], x0, y0, x1, y1);
    }
}

void TTileRenderer::ClearTile(int tile) {
    const int x0 = (tile % TilesX) * TileSize;
    const int y0 = (tile / TilesX) * TileSize;
    const int x1 = std::min(x0 + TileSize, ScreenWidth);
    const int y1 = std::min(y0 + TileSize, ScreenHeight);
    for (int y = y0; y < y1; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * ScreenWidth;
        if (PendingClear.Color) {
            std::fill(ColorBuffer.begin() + row + x0, ColorBuffer.begin() + row + x1,
                      PendingClear.ColorValue);
        }
        if (PendingClear.Depth) {
            std::fill(DepthBuffer.begin() + row + x0, DepthBuffer.begin() + row + x1,
                      PendingClear.DepthValue);
        }
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

void TTileRenderer::DrawTriangleInTile(const TTriangle& triangle, int tileX0, int tileY0,
                                       int tileX1, int tileY1) {
    const int top = std::max(triangle.MinY, tileY0);
    const int bottom = std::min(triangle.MaxY, tileY1);
    const int left = std::max(triangle.MinX, tileX0);
    const int right = std::min(triangle.MaxX, tileX1);
    const TSpanTarget target{ColorBuffer.data(), HasDepth() ? DepthBuffer.data() : nullptr,
                             ScreenWidth};
    for (int y = top; y <= bottom; ++y) {
        std::int64_t first = left;
        std::int64_t last = right;
        for (int edge = 0; edge < 3 && first <= last; ++edge) {
            // Pixels x of this row with a*x + atRowStart >= 0.
            const std::int64_t a = triangle.EdgeA[edge];
            const std::int64_t atRowStart = triangle.EdgeB[edge] * y + triangle.EdgeC[edge];
            if (a > 0) {
                first = std::max(first, CeilDivide(-atRowStart, a));
            } else if (a < 0) {
                last = std::min(last, FloorDivide(atRowStart, -a));
            } else if (atRowStart < 0) {
                last = first - 1;
            }
        }
        if (first <= last) {
            triangle.Span(triangle, target, y, static_cast<int>(first), static_cast<int>(last));
        }
    }
}

} // namespace Reference
