#pragma once
// Names that follow a triangle from batch to batch for as long as each batch repeats it
// outright, so that what the tiles keep of a pixel (the triangle its colour came from) stays
// true without renaming every pixel when triangles before it come and go.

#include "platform/d3d/reference/ShadeMatcher.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Reference {

class TTriangleNames {
public:
    // Names for batches of up to `capacity` triangles, enough that a name is never given again
    // while a pixel may still hold it; naming never allocates in a frame.
    explicit TTriangleNames(std::size_t capacity);

    // Names a batch of `count` triangles that `matcher` has just paired with the last batch: a
    // repeat takes the name of the triangle it repeats, any other a free one. A name of the last
    // batch that nothing repeats is free again from the batch after this one, as by then no
    // pixel holds it.
    void NameBatch(const TShadeMatcher& matcher, std::size_t count);

    std::uint32_t Current(std::uint32_t index) const { return Names[index]; }
    std::uint32_t Previous(std::uint32_t index) const { return PreviousNames[index]; }

private:
    std::vector<std::uint32_t> Names;
    std::vector<std::uint32_t> PreviousNames;
    std::vector<std::uint32_t> Free;
    std::vector<std::uint32_t> Retiring; // the last batch's names this batch did not repeat
};

} // namespace Reference
