#pragma once
// Names of waves compare without regard to letter case (ASCII letters). The name index has
// 256 buckets; a name's bucket is computed on its lower-cased form of length L:
// (16 * L + first character + second-to-last character, the last two only when L >= 2)
// modulo 256, so the empty name falls in bucket 0.

#include <cstddef>
#include <cstdint>
#include <string_view>

constexpr std::size_t WaveNameBucketCount = 256;

std::uint8_t WaveNameBucket(std::string_view name);
bool SameWaveName(std::string_view a, std::string_view b);
