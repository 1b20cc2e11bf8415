// Every texture keeps a turned copy of its texels for the eight-pixel sampler; a stale copy
// would draw texels the texture no longer has, so the copy must follow every unlock and a
// frame still holding the old texels must keep the old copy too.

#include "platform/d3d/reference/Resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace {

using Reference::TTexels;
using Reference::TTexture;

// Transposed[x * Height + y] is Pixels[y * Width + x] for every texel.
void ExpectTurned(const TTexels& texels) {
    ASSERT_EQ(texels.Transposed.size(), texels.Pixels.size());
    for (std::uint32_t y = 0; y < texels.Height; ++y) {
        for (std::uint32_t x = 0; x < texels.Width; ++x) {
            EXPECT_EQ(texels.Transposed[std::size_t{x} * texels.Height + y],
                      texels.Pixels[std::size_t{y} * texels.Width + x])
                << "texel " << x << ", " << y;
        }
    }
}

TEST(TurnedTexels, FollowEveryUnlockWhileHeldFramesKeepTheirOwn) {
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
    ExpectTurned(*drawn);

    // Rewriting one texel of a part of the texture while a frame holds the texels.
    const RECT part{3, 1, 5, 3};
    ASSERT_EQ(texture.LockRect(0, &locked, &part, 0), D3D_OK);
    *static_cast<std::uint32_t*>(locked.pBits) = 0xFFABCDEFu;
    ASSERT_EQ(texture.UnlockRect(0), D3D_OK);
    const std::shared_ptr<const TTexels> now = texture.Snapshot();
    ExpectTurned(*now);
    EXPECT_EQ(now->Transposed[3 * 3 + 1], 0xFFABCDEFu);
    ExpectTurned(*drawn);
    EXPECT_EQ(drawn->Transposed[3 * 3 + 1], 0xFF000103u);
}

} // namespace
