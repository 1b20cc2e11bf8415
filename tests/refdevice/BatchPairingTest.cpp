// Pairing a batch's triangles with the last batch's: which repeat outright, in order, and the
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
using Reference::TTriangleNames;

constexpr std::uint32_t No = TShadeMatcher::NoMatch;

// Triangles told apart by how they shade (their colour plane) and where they lie (an edge).
using TSketch = std::pair<int, int>;

std::vector<TTriangle> Batch(const std::vector<TSketch>& sketches) {
    std::vector<TTriangle> triangles;
    for (const auto& [shade, place] : sketches) {
        TTriangle triangle{};
        triangle.RoverW.At = shade;
        triangle.EdgeC[0] = place;
        triangles.push_back(triangle);
    }
    return triangles;
}

struct TPairingCase {
    const char* Name;
    std::vector<TSketch> Previous, Current;
    std::vector<std::uint32_t> Repeats; // per current triangle: the previous one it repeats
};

TEST(BatchPairing, RepeatsAreTheSameTrianglesInTheSameOrder) {
    const TPairingCase cases[] = {
        {"the same batch", {{1, 1}, {2, 2}, {3, 3}}, {{1, 1}, {2, 2}, {3, 3}}, {0, 1, 2}},
        {"one gone from the middle", {{1, 1}, {2, 2}, {3, 3}}, {{1, 1}, {3, 3}}, {0, 2}},
        {"one new at the start", {{1, 1}, {2, 2}}, {{7, 7}, {1, 1}, {2, 2}}, {No, 0, 1}},
        {"one moved", {{1, 1}, {2, 2}}, {{1, 1}, {2, 9}}, {0, No}},
        {"one shaded otherwise", {{1, 1}, {2, 2}}, {{1, 1}, {5, 2}}, {0, No}},
        // Tied in depth, the later of two would win: swapped, only one may stay.
        {"two swapped", {{1, 1}, {2, 2}}, {{2, 2}, {1, 1}}, {1, No}},
        {"drawn twice", {{1, 1}}, {{1, 1}, {1, 1}}, {0, No}},
    };
    for (const TPairingCase& pairing : cases) {
        const std::vector<TTriangle> previous = Batch(pairing.Previous);
        const std::vector<TTriangle> current = Batch(pairing.Current);
        TShadeMatcher matcher(16);
        matcher.Match({}, previous);
        matcher.Match(previous, current);
        for (std::uint32_t index = 0; index < current.size(); ++index) {
            const std::uint32_t repeated = pairing.Repeats[index];
            EXPECT_EQ(matcher.RepeatOf(index), repeated) << pairing.Name << ", " << index;
            if (repeated != No) {
                EXPECT_EQ(matcher.RepeatedBy(repeated), index) << pairing.Name;
            }
        }
    }
}

// A pixel may hold the name of any triangle of the last batch until this one is drawn: a new
// triangle must take none of those, and a repeat keeps its triangle's name.
TEST(BatchPairing, NamesFollowRepeatsAndNeverMeetAPixelsOlderName) {
    const std::vector<std::vector<TSketch>> batches = {
        {{1, 1}, {2, 2}, {3, 3}}, {{1, 1}, {3, 3}, {4, 4}},         {{5, 5}, {1, 1}, {4, 4}},
        {{6, 6}, {7, 7}, {8, 8}}, {{6, 6}, {9, 9}, {1, 1}, {8, 8}},
    };
    TShadeMatcher matcher(4);
    TTriangleNames names(4);
    std::vector<TTriangle> previous;
    std::set<std::uint32_t> previousNames;
    for (std::size_t batch = 0; batch < batches.size(); ++batch) {
        const std::vector<TTriangle> current = Batch(batches[batch]);
        matcher.Match(previous, current);
        names.NameBatch(matcher, current.size());
        std::set<std::uint32_t> currentNames;
        for (std::uint32_t index = 0; index < current.size(); ++index) {
            const std::uint32_t name = names.Current(index);
            if (matcher.Repeats(index)) {
                EXPECT_EQ(name, names.Previous(matcher.RepeatOf(index))) << batch;
            } else {
                EXPECT_FALSE(previousNames.contains(name)) << "batch " << batch << ": " << name;
            }
            EXPECT_TRUE(currentNames.insert(name).second) << "batch " << batch << ": " << name;
        }
        previous = current;
        previousNames = currentNames;
    }
}

} // namespace
