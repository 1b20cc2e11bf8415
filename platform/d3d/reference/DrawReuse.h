#pragma once
// The triangles each draw of a scene set up, kept for the next scene. Most of a game's frame
// draws what the last one drew, with the same state from the same vertices: such a draw sets
// up the same triangles, so it takes them from here instead of transforming, lighting,
// clipping and setting up its vertices again. A draw is known by its key: every word of state
// and source it depends on, compared exactly. Records keep their room from scene to scene: no
// allocation once the longest scene has been seen.

#include "platform/d3d/reference/RasterTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Reference {

struct TDrawRecord {
    std::vector<std::uint32_t> Key;
    std::vector<TTriangle> Triangles;
    std::shared_ptr<const TTexels> Texels; // what the triangles sample, if anything
};

class TDrawReuse {
public:
    // The draws recorded since the last call (a scene's) become the ones the next draws may
    // repeat.
    void FinishScene();
    // Opens the record of the next draw, with an empty key for the caller to fill.
    std::vector<std::uint32_t>& NewKey();
    // When a draw of the previous scene had the opened draw's key: its record, whose triangles
    // and texels the opened draw now holds (each is taken once). Otherwise null, and the
    // caller sets the draw up and fills Opened().
    const TDrawRecord* Repeat();
    TDrawRecord& Opened() { return Records[Count - 1]; }

private:
    std::vector<TDrawRecord> Records;
    std::vector<TDrawRecord> Previous;
    std::size_t Count = 0;
    std::size_t PreviousCount = 0;
};

} // namespace Reference
