#include "audio/wavefile/Wave.h"

#include "audio/wavefile/ByteReader.h"
#include "audio/wavefile/ByteWriter.h"

std::optional<TWaveFormat> ReadWaveFormat(std::span<const std::uint8_t> block) {
    if (block.size() < WaveFormatCoreSize) {
        return std::nullopt;
    }
    TByteReader reader(block);
    TWaveFormat format;
    format.FormatTag = static_cast<std::uint16_t>(reader.ReadInt16());
    format.Channels = static_cast<std::uint16_t>(reader.ReadInt16());
    format.SamplesPerSec = reader.ReadUInt32();
    format.AvgBytesPerSec = reader.ReadUInt32();
    format.BlockAlign = static_cast<std::uint16_t>(reader.ReadInt16());
    format.BitsPerSample = static_cast<std::uint16_t>(reader.ReadInt16());
    return format;
}

std::vector<std::uint8_t> PcmFormatBlock(std::uint32_t samplesPerSec, std::uint16_t channels,
                                         std::uint16_t bitsPerSample) {
    const auto blockAlign = static_cast<std::uint16_t>(channels * ((bitsPerSample + 7) / 8));
    TByteWriter writer;
    writer.WriteUInt16(WaveFormatPcm);
    writer.WriteUInt16(channels);
    writer.WriteUInt32(samplesPerSec);
    writer.WriteUInt32(samplesPerSec * blockAlign);
    writer.WriteUInt16(blockAlign);
    writer.WriteUInt16(bitsPerSample);
    writer.WriteUInt16(0);
    return std::move(writer).Bytes();
}
