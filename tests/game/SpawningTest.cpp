#include "GameTestSupport.h"

#include "game/GameResources.h"

#include <numbers>
#include <set>

namespace {
struct TFakeTexture final : IDirect3DTexture8 {
    HRESULT LockRect(UINT, D3DLOCKED_RECT*, const RECT*, DWORD) override { return E_FAIL; }
    HRESULT UnlockRect(UINT) override { return E_FAIL; }
    UINT Width() const override { return 1; }
    UINT Height() const override { return 1; }
};
using SpawningTest = GameTest;
} // namespace

// Guards the one table every per-side rule reads: start point, angle, kick tilt and key.
TEST(SideTable, HoldsTheFourLanes) {
    const float table[4][7] = {{0, 1.4f, 3, std::numbers::pi_v<float>, 1, 0, 38},
                               {-1.4f, 0, 3, 4.712389f, 0, 1, 39},
                               {0, -1.4f, 3, 0, -1, 0, 40},
                               {1.4f, 0, 3, 1.5707964f, 0, -1, 37}};
    for (std::uint8_t side = 0; side < SideCount; ++side) {
        const TVector p = SidePosition(side);
        const float row[7] = {p.x,
                              p.y,
                              p.z,
                              SideAngle(side),
                              SideTilt(side).x,
                              SideTilt(side).y,
                              static_cast<float>(SideKey(side))};
        EXPECT_TRUE(std::equal(row, row + 7, table[side])) << int{side};
    }
}

// Guards the replay of a game from its seed: side (draws 0..3 give sides 0, 3, 2, 1), two
// turns and look are drawn in this order and nothing else; serials count from 1; each ball
// holds its look's texture, also when a removal moves it down; the 10,001st is refused
// without a draw.
TEST_F(SpawningTest, DrawsSideTurnsAndLookInOrderUpToTheBound) {
    for (auto& texture : BallTextures) {
        texture = TComRef<IDirect3DTexture8>::Attach(new TFakeTexture);
    }
    std::set<std::uint8_t> sides;
    for (int serial = 1; serial <= 40; ++serial) {
        const std::uint32_t seed = RandSeed;
        const std::uint8_t side = std::array<std::uint8_t, 4>{0, 3, 2, 1}[RandomInt(4)];
        const auto turnY = static_cast<float>(std::numbers::pi * RandomReal());
        const auto turnZ = static_cast<float>(std::numbers::pi * RandomReal());
        const std::uint32_t look = RandomInt(6);
        const std::uint32_t seedAfter = std::exchange(RandSeed, seed);
        ASSERT_TRUE(Game->SpawnBall());
        const TBall& ball = Game->Balls[serial - 1];
        EXPECT_EQ(RandSeed, seedAfter);
        EXPECT_EQ(ball.Serial, serial);
        EXPECT_EQ(ball.Side, side);
        EXPECT_EQ(ball.Obj.Matrix._42, SidePosition(side).y); // composed at once
        EXPECT_EQ(ball.Obj.Matrix._43, 3);
        EXPECT_EQ(ball.Obj.Rotation.y, turnY);
        EXPECT_EQ(ball.Obj.Rotation.z, turnZ);
        EXPECT_EQ(ball.Look, look);
        EXPECT_EQ(ball.Obj.Texture.Get(), BallTextures[look].Get());
        sides.insert(ball.Side);
    }
    EXPECT_EQ(sides.size(), 4u);
    Game->RemoveBall(0);
    EXPECT_EQ(Game->Balls[0].Obj.Texture.Get(), BallTextures[Game->Balls[0].Look].Get());
    for (auto& texture : BallTextures) { // the balls' references keep them alive
        texture.Reset();
    }

    while (Game->BallCount < TGame::MaxBalls) {
        Game->SpawnBall();
    }
    const std::uint32_t seed = RandSeed;
    EXPECT_FALSE(Game->SpawnBall());
    EXPECT_EQ(Game->BallCount, TGame::MaxBalls);
    EXPECT_EQ(RandSeed, seed);
}

// Guards Easy (any Difficulty but 1), read afresh at every spawn and key: only the lanes
// of the left and right arrows, and the up and down arrows do nothing.
TEST_F(SpawningTest, PlaysOnlyTheLeftAndRightLanesOnEasy) {
    for (const std::uint8_t difficulty : {0, 1, 7}) {
        Options->Difficulty = difficulty;
        std::set<std::uint8_t> sides;
        for (int n = 0; n < 100; ++n) {
            sides.insert(ChooseSide());
        }
        EXPECT_EQ(sides.size(), difficulty == 1 ? 4u : 2u);
        EXPECT_EQ(sides.count(1) + sides.count(3), 2u);
        Game->TurnSlot(VK_RIGHT);
        Game->TurnSlot(VK_UP);
        Game->TurnSlot('A');
        EXPECT_EQ(Game->Slot.Side, difficulty == 1 ? 0 : 1);
        Game->TurnSlot(VK_LEFT);
        Game->TurnSlot(VK_DOWN);
        EXPECT_EQ(Game->Slot.Side, difficulty == 1 ? 2 : 3);
    }
}
