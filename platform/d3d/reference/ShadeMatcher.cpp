#include "platform/d3d/reference/ShadeMatcher.h"

#include <algorithm>
#include <bit>

namespace Reference {
namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool SameBits(const TPlane& a, const TPlane& b) {
    return SameBits(a.At, b.At) && SameBits(a.Dx, b.Dx) && SameBits(a.Dy, b.Dy);
}

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
    return (hash ^ word) * 0x100000001B3u + (hash >> 29);
}

// Words that nearly always differ between triangles that do not shade alike; ShadesAlike
// settles it.
std::uint64_t Fingerprint(const TTriangle& triangle) {
    std::uint64_t hash = 0xCBF29CE484222325u;
    hash = Mix(hash, reinterpret_cast<std::uintptr_t>(triangle.Shade));
    hash = Mix(hash, triangle.TexelsStamp);
    for (const double value :
         {triangle.OriginX, triangle.OriginY, triangle.InvW.At, triangle.InvW.Dx,
          triangle.UoverW.At, triangle.VoverW.At, triangle.RoverW.At, triangle.GoverW.At}) {
        hash = Mix(hash, std::bit_cast<std::uint64_t>(value));
    }
    return hash ^ (hash >> 32);
}

std::size_t SlotCountFor(std::size_t triangles) {
    return std::bit_ceil(std::max<std::size_t>(2 * triangles, 64));
}

} // namespace

bool ShadesAlike(const TTriangle& a, const TTriangle& b) {
    return a.Shade == b.Shade && a.TexelsStamp == b.TexelsStamp && a.State == b.State &&
           SameBits(a.OriginX, b.OriginX) && SameBits(a.OriginY, b.OriginY) &&
           SameBits(a.InvW, b.InvW) && SameBits(a.UoverW, b.UoverW) &&
           SameBits(a.VoverW, b.VoverW) && SameBits(a.RoverW, b.RoverW) &&
           SameBits(a.GoverW, b.GoverW) && SameBits(a.BoverW, b.BoverW) &&
           SameBits(a.AoverW, b.AoverW);
}

bool CoversAlike(const TTriangle& a, const TTriangle& b) {
    return std::equal(std::begin(a.EdgeA), std::end(a.EdgeA), std::begin(b.EdgeA)) &&
           std::equal(std::begin(a.EdgeB), std::end(a.EdgeB), std::begin(b.EdgeB)) &&
           std::equal(std::begin(a.EdgeC), std::end(a.EdgeC), std::begin(b.EdgeC)) &&
           a.MinX == b.MinX && a.MinY == b.MinY && a.MaxX == b.MaxX && a.MaxY == b.MaxY &&
           SameBits(a.OriginX, b.OriginX) && SameBits(a.OriginY, b.OriginY) &&
           SameBits(a.Depth, b.Depth) && a.Visibility == b.Visibility;
}

TShadeMatcher::TShadeMatcher(std::size_t capacity) : Slots(SlotCountFor(capacity), 0) {
    PreviousPrints.reserve(capacity);
    CurrentPrints.reserve(capacity);
    Matches.reserve(capacity);
    Repeated.reserve(capacity);
    RepeatedAs.reserve(capacity);
}

void TShadeMatcher::Match(const std::vector<TTriangle>& previous,
                          const std::vector<TTriangle>& current) {
    // The prints of the last call's batch are those of `previous`.
    PreviousPrints.swap(CurrentPrints);
    if (PreviousPrints.size() != previous.size()) {
        PreviousPrints.clear(); // not the batch the caller says: match nothing
    }
    const std::size_t mask = SlotCountFor(PreviousPrints.size()) - 1;
    std::fill(Slots.begin(), Slots.begin() + static_cast<std::ptrdiff_t>(mask + 1), 0u);
    for (std::size_t index = 0; index < PreviousPrints.size(); ++index) {
        std::size_t slot = PreviousPrints[index] & mask;
        while (Slots[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        Slots[slot] = static_cast<std::uint32_t>(index + 1);
    }
    CurrentPrints.resize(current.size());
    Matches.resize(current.size());
    for (std::size_t index = 0; index < current.size(); ++index) {
        const std::uint64_t print = Fingerprint(current[index]);
        CurrentPrints[index] = print;
        Matches[index] = NoMatch;
        for (std::size_t slot = print & mask; Slots[slot] != 0; slot = (slot + 1) & mask) {
            const std::uint32_t candidate = Slots[slot] - 1;
            if (PreviousPrints[candidate] == print &&
                ShadesAlike(previous[candidate], current[index])) {
                Matches[index] = candidate;
                break;
            }
        }
    }
    FindRepeats(previous, current);
}

// Only a chain of repeats in rising order counts, so that of two triangles tied in depth the
// one drawn later is still the later one.
void TShadeMatcher::FindRepeats(const std::vector<TTriangle>& previous,
                                const std::vector<TTriangle>& current) {
    Repeated.assign(current.size(), NoMatch);
    RepeatedAs.assign(previous.size(), NoMatch);
    std::uint32_t next = 0; // the lowest previous index the chain may take
    for (std::size_t index = 0; index < current.size(); ++index) {
        const std::uint32_t match = Matches[index];
        if (match != NoMatch && match >= next && CoversAlike(previous[match], current[index])) {
            Repeated[index] = match;
            RepeatedAs[match] = static_cast<std::uint32_t>(index);
            next = match + 1;
        }
    }
}

} // namespace Reference
