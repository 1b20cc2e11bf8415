// The tiles find their runs of one owner with RunEnd, sixteen words at a time where it can:
// every place a run may end, from every start, must be found exactly.

#include "platform/d3d/reference/Fill.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(RunEnd, FindsTheFirstDifferentWordWhereverTheRunEnds) {
    constexpr int Length = 48;
    for (int start = 0; start < 4; ++start) {
        for (int runEnd = start + 1; runEnd <= Length; ++runEnd) {
            std::vector<std::uint32_t> words(Length, 7);
            if (runEnd < Length) {
                words[static_cast<std::size_t>(runEnd)] = 8;
            }
            EXPECT_EQ(Reference::RunEnd(words.data(), start, Length), runEnd)
                << "from " << start << ", ending at " << runEnd;
            // A limit before the run's end stops the search there.
            EXPECT_EQ(
                Reference::RunEnd(words.data(), start, runEnd - 1 > start ? runEnd - 1 : start + 1),
                runEnd - 1 > start ? runEnd - 1 : start + 1);
        }
    }
}
