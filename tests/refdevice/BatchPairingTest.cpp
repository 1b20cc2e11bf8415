// Pairing each batch's triangles with the last batch's: which repeat outright, in order, and the
// names that follow a repeated triangle from batch to batch.

#include "platform/d3d/reference/ShadeMatcher.h"
#include "platform/d3d/reference/TriangleNames.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using Reference::TShadeMatcher;
using Reference::TTriangle;

constexpr std::uint32_t No = TShadeMatcher::NoMatch;

// A triangle told apart by how it shades (its colour plane) and where it lies (an edge).
using TSketch = std::pair<int, int>;

struct TBatch {
    const char* Name;
    std::vector<TSketch> Triangles;
    std::vector<std::uint32_t> Repeats; // per triangle: the last batch's one it repeats
};

} // namespace

// Each batch against the one before. A pixel may hold the name of any triangle of the last
// batch until this one is drawn, so a triangle that is not a repeat must take none of those.
TEST(BatchPairing, RepeatsKeepTheirOrderAndNamesNeverMeetAPixelsOlderOne) {
    const TBatch batches[] = {
        {"the first", {{1, 1}, {2, 2}, {3, 3}}, {No, No, No}},
        {"one gone from the middle, one new", {{1, 1}, {3, 3}, {4, 4}}, {0, 2, No}},
        {"one new at the start", {{5, 5}, {1, 1}, {3, 3}, {4, 4}}, {No, 0, 1, 2}},
        {"one moved", {{5, 5}, {1, 1}, {3, 9}, {4, 4}}, {0, 1, No, 3}},
        // Tied in depth, the later of two would win: swapped, only one may stay.
        {"two swapped", {{1, 1}, {5, 5}, {4, 4}}, {1, No, 3}},
        {"one drawn twice", {{1, 1}, {1, 1}, {4, 4}}, {0, No, 2}},
    };
    TShadeMatcher matcher(4);
    Reference::TTriangleNames names(4);
    std::vector<TTriangle> previous;
    std::set<std::uint32_t> previousNames;
    for (const TBatch& batch : batches) {
        std::vector<TTriangle> current;
        for (const auto& [shade, place] : batch.Triangles) {
            TTriangle& triangle = current.emplace_back();
            triangle.RoverW.At = shade;
            triangle.EdgeC[0] = place;
        }
        matcher.Match(previous, current);
        names.NameBatch(matcher, current.size());
        std::set<std::uint32_t> currentNames;
        for (std::uint32_t index = 0; index < current.size(); ++index) {
            const std::uint32_t repeated = batch.Repeats[index];
            const std::uint32_t name = names.Current(index);
            EXPECT_EQ(matcher.RepeatOf(index), repeated) << batch.Name << ", " << index;
            if (repeated != No) {
                EXPECT_EQ(name, names.Previous(repeated)) << batch.Name << ", " << index;
            } else {
                EXPECT_FALSE(previousNames.contains(name)) << batch.Name << ": " << name;
            }
            EXPECT_TRUE(currentNames.insert(name).second) << batch.Name << ": " << name;
        }
        previous = std::move(current);
        previousNames = std::move(currentNames);
    }
}
