#include "platform/d3d/reference/TriangleNames.h"

namespace Reference {

TTriangleNames::TTriangleNames(std::size_t capacity) {
    // A batch's names and the next batch's new ones are all that may be held at once.
    const std::size_t count = 2 * capacity;
    Free.reserve(count);
    for (std::size_t name = count; name > 0; --name) {
        Free.push_back(static_cast<std::uint32_t>(name - 1));
    }
    Names.reserve(capacity);
    PreviousNames.reserve(capacity);
    Retiring.reserve(capacity);
}

void TTriangleNames::NameBatch(const TShadeMatcher& matcher, std::size_t count) {
    Free.insert(Free.end(), Retiring.begin(), Retiring.end());
    Retiring.clear();
    PreviousNames.swap(Names);
    Names.resize(count);
    for (std::size_t index = 0; index < count; ++index) {
        const std::uint32_t repeated = matcher.RepeatOf(static_cast<std::uint32_t>(index));
        if (repeated != TShadeMatcher::NoMatch) {
            Names[index] = PreviousNames[repeated];
        } else {
            Names[index] = Free.back();
            Free.pop_back();
        }
    }
    for (std::size_t index = 0; index < PreviousNames.size(); ++index) {
        if (matcher.RepeatedBy(static_cast<std::uint32_t>(index)) == TShadeMatcher::NoMatch) {
            Retiring.push_back(PreviousNames[index]);
        }
    }
}

} // namespace Reference
