// Every texture keeps a copy of its texels laid out as bilinear footprints for the eight-pixel
// sampler; a stale copy would draw texels the texture no longer has, so the copy must follow
// every unlock and a frame still holding the old texels must keep the old copy too.

#include "platform/d3d/reference/Resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace {

using Reference::TTexels;
using Reference::TTexture;

// Entry (x, y) of each row, one longer than the texture's, holds texel (x, y) and the one below
// it, both wrapping: the last row's partner is the first row, the last entry is column 0.
void ExpectFootprints(const TTexels& texels) {
    const std::size_t width = texels.Width;
    ASSERT_EQ(texels.Footprints.size(), (width + 1) * texels.Height);
    for (std::uint32_t y = 0; y < texels.Height; ++y) {
        for (std::uint32_t x = 0; x <= width; ++x) {
            const std::size_t column = x % width;
            const std::size_t below = (y + 1) % texels.Height;
            const std::uint64_t footprint = texels.Footprints[y * (width + 1) + x];
            EXPECT_EQ(footprint & 0xFFFFFFFFu, texels.Pixels[y * width + column])
                << "texel " << x << ", " << y;
            EXPECT_EQ(footprint >> 32, texels.Pixels[below * width + column])
                << "texel below " << x << ", " << y;
        }
    }
}

TEST(FootprintTexels, FollowEveryUnlockWhileHeldFramesKeepTheirOwn) {
    TTexture texture(5, 3); // not square, so rows and columns cannot be confused
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture.LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (std::uint32_t y = 0; y < 3; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) +
                                                     std::ptrdiff_t{locked.Pitch} * y);
        for (std::uint32_t x = 0; x < 5; ++x) {
            row[x] = 0xFF000000u | (y << 8) | x;
        }
    }
    ASSERT_EQ(texture.UnlockRect(0), D3D_OK);
    const std::shared_ptr<const TTexels> drawn = texture.Snapshot();
    ExpectFootprints(*drawn);

    // Rewriting one texel of a part of the texture while a frame holds the texels.
    const RECT part{3, 1, 5, 3};
    ASSERT_EQ(texture.LockRect(0, &locked, &part, 0), D3D_OK);
    *static_cast<std::uint32_t*>(locked.pBits) = 0xFFABCDEFu;
    ASSERT_EQ(texture.UnlockRect(0), D3D_OK);
    const std::shared_ptr<const TTexels> now = texture.Snapshot();
    ExpectFootprints(*now);
    EXPECT_EQ(now->Footprints[1 * 6 + 3] & 0xFFFFFFFFu, 0xFFABCDEFu);
    ExpectFootprints(*drawn);
    EXPECT_EQ(drawn->Footprints[1 * 6 + 3] & 0xFFFFFFFFu, 0xFF000103u);
}

} // namespace
