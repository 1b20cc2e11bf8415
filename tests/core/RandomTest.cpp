#include "core/Random.h"

#include <gtest/gtest.h>

// Guards the generator: seed := seed * 134775813 + 1 (mod 2^32); integers are the upper
// 32 bits of seed * range, not seed mod range; reals are seed / 2^32. Worked by hand:
// 0 -> 1; 0xFFFFFFFF -> 2^32 - 134775812 = 4160191484 (low bits 0, top bits 3 of 4 and
// 5 of 6); 4160191484 -> 866343917.
TEST(RandomGenerator, DrawsTheDocumentedSequenceFromKnownSeeds) {
    RandSeed = 0;
    EXPECT_EQ(RandomInt(4), 0u);
    EXPECT_DOUBLE_EQ(RandomReal(), 134775814.0 / 4294967296.0);
    RandSeed = 0xFFFFFFFFu;
    EXPECT_EQ(RandomInt(4), 3u);
    EXPECT_EQ(RandSeed, 4160191484u);
    RandSeed = 0xFFFFFFFFu;
    EXPECT_EQ(RandomInt(6), 5u);
    EXPECT_DOUBLE_EQ(RandomReal(), 866343917.0 / 4294967296.0);
}
