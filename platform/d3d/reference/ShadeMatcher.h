#pragma once
// Pairs each triangle of a batch with a triangle of the batch before that gives every pixel
// they both own, from the same row start, the same colour, so that the tiles can keep the
// colours that one left. Found by content, not by place in the batch: a ball whose back faces
// changed in number moves every triangle queued after it.

#include "platform/d3d/reference/RasterTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Reference {

// Whether two triangles give a pixel they both own, from the same row start, the same colour:
// the same colour planes, texels and pixel state. Their edges and depths may differ: which
// pixels they own is settled by the depth pass.
bool ShadesAlike(const TTriangle& a, const TTriangle& b);

// Whether two triangles cover the same pixels at the same depths, tested the same way.
bool CoversAlike(const TTriangle& a, const TTriangle& b);

class TShadeMatcher {
public:
    static constexpr std::uint32_t NoMatch = 0xFFFFFFFFu;

    // Room for batches of up to `capacity` triangles, so matching never allocates in a frame.
    explicit TShadeMatcher(std::size_t capacity);

    // Pairs each of `current` with one of `previous`, which must be the triangles the last
    // call's `current` were (or none).
    void Match(const std::vector<TTriangle>& previous, const std::vector<TTriangle>& current);
    // The index in `previous` shading alike current triangle `index`, or NoMatch.
    std::uint32_t MatchOf(std::uint32_t index) const { return Matches[index]; }
    // Whether current triangle `index` repeats its match outright: the same pixels at the same
    // depths too, and in the same order among the repeats as the batch before had them.
    bool Repeats(std::uint32_t index) const { return Repeated[index] != NoMatch; }
    // The index in `previous` that current triangle `index` repeats, or NoMatch.
    std::uint32_t RepeatOf(std::uint32_t index) const { return Repeated[index]; }
    // The current triangle that repeats triangle `index` of `previous`, or NoMatch.
    std::uint32_t RepeatedBy(std::uint32_t index) const { return RepeatedAs[index]; }

private:
    void FindRepeats(const std::vector<TTriangle>& previous, const std::vector<TTriangle>& current);

    std::vector<std::uint64_t> PreviousPrints;
    std::vector<std::uint64_t> CurrentPrints;
    std::vector<std::uint32_t> Matches;
    std::vector<std::uint32_t> Repeated;   // per current triangle: the one it repeats, or NoMatch
    std::vector<std::uint32_t> RepeatedAs; // per previous triangle: its repeat, or NoMatch
    std::vector<std::uint32_t> Slots;      // open addressing over PreviousPrints: index + 1, or 0
};

} // namespace Reference
