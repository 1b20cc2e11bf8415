#include "audio/wavefile/WaveName.h"

#include <algorithm>

namespace {
// Lower-cases ASCII letters only, whatever the process locale, so a name always lands in
// the same bucket.
unsigned LowerCode(char c) {
    const auto code = static_cast<unsigned char>(c);
    return (code >= 'A' && code <= 'Z') ? code + ('a' - 'A') : code;
}
} // namespace

std::uint8_t WaveNameBucket(std::string_view name) {
    const std::size_t length = name.size();
    std::size_t sum = 16 * length;
    if (length >= 2) {
        sum += LowerCode(name.front()) + LowerCode(name[length - 2]);
    }
    return static_cast<std::uint8_t>(sum % WaveNameBucketCount);
}

bool SameWaveName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return LowerCode(x) == LowerCode(y); });
}
