#include "platform/d3d/reference/DrawReuse.h"

#include <utility>

namespace Reference {

void TDrawReuse::FinishScene() {
    Records.swap(Previous);
    PreviousCount = Count;
    Count = 0;
}

std::vector<std::uint32_t>& TDrawReuse::NewKey() {
    if (Count == Records.size()) {
        Records.emplace_back();
    }
    TDrawRecord& record = Records[Count++];
    record.Key.clear();
    record.Triangles.clear();
    record.Texels.reset();
    return record.Key;
}

const TDrawRecord* TDrawReuse::Repeat() {
    TDrawRecord& record = Opened();
    // A frame's draws mostly come in the last frame's order: the search starts where this
    // draw stood then.
    for (std::size_t i = 0; i < PreviousCount; ++i) {
        TDrawRecord& earlier = Previous[(Count - 1 + i) % PreviousCount];
        if (earlier.Key == record.Key) {
            record.Triangles.swap(earlier.Triangles);
            record.Texels = std::move(earlier.Texels);
            // Taken: no later draw of this frame finds it again.
            earlier.Key.clear();
            return &record;
        }
    }
    return nullptr;
}

} // namespace Reference
