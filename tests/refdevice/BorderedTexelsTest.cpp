// Every texture keeps copies of its texels bordered by their own first row and column, one
// turned, for the wide samplers; a stale copy would draw texels the texture no longer has, so the
// copy must follow every unlock and a frame still holding the old texels must keep the old copy
// too.

#include "platform/d3d/reference/Resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace {

using Reference::TTexels;
using Reference::TTexture;

// Bordered[y * (Width + 1) + x] and Turned[x * (Height + 1) + y] are texel (x, y), both
// wrapping: the extra column is column 0, the extra row is row 0.
void ExpectBordered(const TTexels& texels) {
    const std::size_t width = texels.Width;
    const std::size_t height = texels.Height;
    ASSERT_EQ(texels.Bordered.size(), (width + 1) * (height + 1));
    ASSERT_EQ(texels.Turned.size(), texels.Bordered.size());
    for (std::uint32_t y = 0; y <= height; ++y) {
        for (std::uint32_t x = 0; x <= width; ++x) {
            const std::uint32_t texel = texels.Pixels[(y % height) * width + x % width];
            EXPECT_EQ(texels.Bordered[y * (width + 1) + x], texel) << "texel " << x << ", " << y;
            EXPECT_EQ(texels.Turned[x * (height + 1) + y], texel) << "texel " << x << ", " << y;
        }
    }
}

TEST(BorderedTexels, FollowEveryUnlockWhileHeldFramesKeepTheirOwn) {
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
    ExpectBordered(*drawn);

    // Rewriting one texel of a part of the texture while a frame holds the texels.
    const RECT part{3, 1, 5, 3};
    ASSERT_EQ(texture.LockRect(0, &locked, &part, 0), D3D_OK);
    *static_cast<std::uint32_t*>(locked.pBits) = 0xFFABCDEFu;
    ASSERT_EQ(texture.UnlockRect(0), D3D_OK);
    const std::shared_ptr<const TTexels> now = texture.Snapshot();
    ExpectBordered(*now);
    EXPECT_EQ(now->Bordered[1 * 6 + 3], 0xFFABCDEFu);
    ExpectBordered(*drawn);
    EXPECT_EQ(drawn->Bordered[1 * 6 + 3], 0xFF000103u);
}

} // namespace
