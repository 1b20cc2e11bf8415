// A draw takes the triangles of the scene before's draw with its key, in whatever order the
// draws come, and each record only once: a second take would find its triangles gone.

#include "platform/d3d/reference/DrawReuse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Reference::TDrawReuse;
using Reference::TTriangle;

// Draws a scene of draws named by single-word keys, each setting up one triangle marked with
// its key, and answers for each draw the mark of the triangle it repeated (-1: none).
std::vector<int> DrawScene(TDrawReuse& reuse, const std::vector<std::uint32_t>& keys) {
    std::vector<int> repeated;
    for (const std::uint32_t key : keys) {
        reuse.NewKey().push_back(key);
        if (const Reference::TDrawRecord* record = reuse.Repeat()) {
            repeated.push_back(record->Triangles.size() == 1 ? record->Triangles[0].MinX : -2);
        } else {
            TTriangle triangle{};
            triangle.MinX = static_cast<int>(key);
            reuse.Opened().Triangles.push_back(triangle);
            repeated.push_back(-1);
        }
    }
    reuse.FinishScene();
    return repeated;
}

TEST(DrawReuse, DrawsRepeatTheSceneBeforesByKeyEachOnce) {
    TDrawReuse reuse;
    EXPECT_EQ(DrawScene(reuse, {1, 2, 3}), (std::vector<int>{-1, -1, -1}));
    // Out of order, one key twice, one new.
    EXPECT_EQ(DrawScene(reuse, {3, 1, 1, 4}), (std::vector<int>{3, 1, -1, -1}));
    // The second 1 set its triangle up, so both find one now.
    EXPECT_EQ(DrawScene(reuse, {1, 1, 4}), (std::vector<int>{1, 1, 4}));
}

} // namespace
