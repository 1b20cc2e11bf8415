#pragma once
// One recording of the wave collection: the format block of its "fmt " chunk, kept byte for
// byte as the file holds it (a WAVEFORMATEX record), and its sample bytes. A wave without
// samples never sounds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct TWave {
    std::vector<std::uint8_t> Format;
    std::vector<std::uint8_t> Samples;

    bool HasSamples() const { return !Samples.empty(); }
};

constexpr std::uint16_t WaveFormatPcm = 1;
// The fixed part of a format block, up to and including the bits per sample.
constexpr std::size_t WaveFormatCoreSize = 16;

// The leading fields of a format block, read without trusting the block's length.
struct TWaveFormat {
    std::uint16_t FormatTag = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SamplesPerSec = 0;
    std::uint32_t AvgBytesPerSec = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t BitsPerSample = 0;
};

// The fields of a format block; none when the block is too short to hold them.
std::optional<TWaveFormat> ReadWaveFormat(std::span<const std::uint8_t> block);

// A complete 18-byte PCM format block (extra size 0) for the given layout.
std::vector<std::uint8_t> PcmFormatBlock(std::uint32_t samplesPerSec, std::uint16_t channels,
                                         std::uint16_t bitsPerSample);
