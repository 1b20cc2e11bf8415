#include "math/Math3D.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {
constexpr float Pi = std::numbers::pi_v<float>;

TVector Transform(const TVector& p, const TMatrix& m) {
    return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41,
            p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
            p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
}

void ExpectNear(const TVector& a, const TVector& b) {
    EXPECT_NEAR(a.x, b.x, 1e-6);
    EXPECT_NEAR(a.y, b.y, 1e-6);
    EXPECT_NEAR(a.z, b.z, 1e-6);
}
} // namespace

// Guards the order of composition: a wrong order moves every ball and digit.
TEST(ComposeObjectMatrix, TranslatesAndTurnsInTheDocumentedOrder) {
    const TMatrix moved = ComposeObjectMatrix({1, 1, 1}, {2, 3, 4}, {0, 0, 0});
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_FLOAT_EQ(moved.m[i][j], IdentityMatrix.m[i][j]);
        }
    }
    EXPECT_FLOAT_EQ(moved._41, 2);
    EXPECT_FLOAT_EQ(moved._42, 3);
    EXPECT_FLOAT_EQ(moved._43, 4);

    ExpectNear(Transform({1, 0, 0}, ComposeObjectMatrix({1, 1, 1}, {}, {0, 0, Pi / 2})), {0, 1, 0});
    ExpectNear(Transform({0, 1, 0}, ComposeObjectMatrix({1, 1, 1}, {}, {Pi / 2, 0, 0})), {0, 0, 1});
    // About y first (x goes to -z... then about x): (1,0,0) -> (0,0,-1) -> (0,1,0).
    ExpectNear(Transform({1, 0, 0}, ComposeObjectMatrix({1, 1, 1}, {}, {Pi / 2, Pi / 2, 0})),
               {0, 1, 0});
    // Scale first: a zero scale flattens along its axis before anything turns.
    ExpectNear(Transform({1, 1, 1}, ComposeObjectMatrix({0.5f, 0.5f, 0}, {}, {Pi / 2, 0, 0})),
               {0.5f, 0, 0.5f});
}

TEST(BuildViewMatrix, LooksStraightDownWithTheYFallbackAndRejectsDegenerateEyes) {
    TMatrix view{};
    ASSERT_EQ(BuildViewMatrix({0, 0, 3}, {0, 0, 0}, {0, 0, 1}, view), D3D_OK);
    EXPECT_FLOAT_EQ(view._11, -1); // right axis is (-1, 0, 0)
    EXPECT_FLOAT_EQ(view._21, 0);
    EXPECT_FLOAT_EQ(view._22, 1); // up axis is (0, 1, 0)
    ExpectNear(Transform({0, 0, 0}, view), {0, 0, 3});

    TMatrix untouched = IdentityMatrix;
    EXPECT_EQ(BuildViewMatrix({1, 2, 3}, {1, 2, 3}, {0, 0, 1}, untouched), E_INVALIDARG);
    EXPECT_FLOAT_EQ(untouched._11, 1);
}

TEST(BuildProjectionMatrix, MapsNearToZeroAndFarToOneAndRejectsBadArguments) {
    TMatrix projection{};
    ASSERT_EQ(BuildProjectionMatrix(1.0f, 1.0f, 0.01f, 200.0f, projection), D3D_OK);
    EXPECT_NEAR(projection._11, 1.830488, 1e-5);
    EXPECT_NEAR(projection._22, 1.830488, 1e-5);
    EXPECT_FLOAT_EQ(projection._34, 1);
    const auto depth = [&](float z) { return (z * projection._33 + projection._43) / z; };
    EXPECT_NEAR(depth(0.01f), 0.0, 1e-6);
    EXPECT_NEAR(depth(200.0f), 1.0, 1e-6);

    EXPECT_EQ(BuildProjectionMatrix(1.0f, 1.0f, 5.0f, 5.0f, projection), E_INVALIDARG);
    EXPECT_EQ(BuildProjectionMatrix(0.0f, 1.0f, 0.01f, 200.0f, projection), E_INVALIDARG);
}
