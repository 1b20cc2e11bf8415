// Properties of the pictures a player would notice: seams where textures repeat, and balls
// that look alike.

#include "tests/imagegen/ImageTestSupport.h"

#include "render/ScenePlacements.h"
#include "tools/imagegen/BallTextures.h"
#include "tools/imagegen/SurfaceTextures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {
// Seamless textures measure below 5 channel levels (sharp-veined marble comes closest);
// cutting 13 pixels off any of them measures 8 or more.
constexpr double MaxSeamMismatch = 6;
} // namespace

// The scene repeats these textures across the drum, the board and the rims.
TEST(SurfaceTextures, RepeatWithoutAVisibleSeamEitherWay) {
    const struct {
        const char* Name;
        QImage Picture;
    } textures[] = {
        {"drum", MakeDrumTexture()}, {"field", MakeFieldTexture()}, {"frame", MakeFrameTexture()}};
    for (const auto& texture : textures) {
        EXPECT_LT(SeamMismatch(texture.Picture, Qt::Horizontal), MaxSeamMismatch) << texture.Name;
        EXPECT_LT(SeamMismatch(texture.Picture, Qt::Vertical), MaxSeamMismatch) << texture.Name;
    }
}

// Each ball picture wraps once around the ball, so its left and right edges meet.
TEST(BallTextures, WrapAroundTheBallWithoutASeam) {
    for (int look = 0; look < BallLookCount; ++look) {
        EXPECT_LT(SeamMismatch(MakeBallTexture(look), Qt::Horizontal), MaxSeamMismatch) << look;
    }
}

// The player tells balls apart by their looks, and the two bonus balls must stand out from
// every ordinary one.
TEST(BallTextures, EveryLookIsDistinctAndTheBonusLooksStandOut) {
    std::vector<QImage> looks;
    for (int look = 0; look < BallLookCount; ++look) {
        looks.push_back(MakeBallTexture(look));
        ASSERT_EQ(looks.back().size(), QSize(BallTextureSize, BallTextureSize));
    }
    for (int a = 0; a < BallLookCount; ++a) {
        for (int b = a + 1; b < BallLookCount; ++b) {
            const double threshold = b >= 6 ? 60 : 35;
            EXPECT_GT(MeanDifference(looks[a], looks[b]), threshold) << a << " vs " << b;
        }
    }
    EXPECT_TRUE(MakeBallTexture(BallLookCount).isNull());
}

// A bonus ball must be seen on whichever lane it rolls down: on every lane's colour, a good
// part of its surface is of a plainly different colour. (A ball all of gold measured 0.05 on
// the yellow lane.)
TEST(BallTextures, BonusLooksStandOutOnEveryLane) {
    constexpr double differentColour = 50;
    constexpr double enoughOfTheBall = 0.4;
    const char* const lanes[] = {"blue", "green", "yellow", "red"};
    for (const int look : {6, 7}) {
        const QImage picture = MakeBallTexture(look);
        for (int lane = 0; lane < LanePanelCount; ++lane) {
            const TLaneColour& colour = LanePanelColours[static_cast<std::size_t>(lane)];
            const double share = ShareFarFrom(
                picture, QColor(colour.Red, colour.Green, colour.Blue), differentColour);
            std::printf("look %d on the %s lane: %.2f of the ball far in colour\n", look,
                        lanes[lane], share);
            EXPECT_GT(share, enoughOfTheBall) << "look " << look << " on the " << lanes[lane];
        }
    }
}
