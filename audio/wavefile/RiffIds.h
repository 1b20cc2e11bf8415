#pragma once
// The four-character words of a RIFF WAVE image, shared by its reader and writer.

#include <cstddef>
#include <string_view>

constexpr std::string_view RiffId = "RIFF";
constexpr std::string_view WaveId = "WAVE";
constexpr std::string_view FormatChunkId = "fmt ";
constexpr std::string_view DataChunkId = "data";
// A chunk's identifier and its 32-bit data size.
constexpr std::size_t ChunkHeaderSize = 8;
