#include "audio/wavefile/WaveImage.h"

#include "audio/wavefile/ByteWriter.h"
#include "audio/wavefile/RiffIds.h"

std::vector<std::uint8_t> WaveImage(const TWave& wave) {
    TByteWriter writer;
    writer.WriteChars(RiffId);
    const std::size_t riffSizeAt = writer.Size();
    writer.WriteUInt32(0);
    writer.WriteChars(WaveId);
    writer.WriteChars(FormatChunkId);
    writer.WriteUInt32(static_cast<std::uint32_t>(wave.Format.size()));
    writer.WriteBytes(wave.Format);
    writer.WriteChars(DataChunkId);
    writer.WriteUInt32(static_cast<std::uint32_t>(wave.Samples.size()));
    writer.WriteBytes(wave.Samples);
    writer.PatchUInt32(riffSizeAt, static_cast<std::uint32_t>(writer.Size() - 8));
    return std::move(writer).Bytes();
}
