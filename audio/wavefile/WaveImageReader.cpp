#include "audio/wavefile/WaveImage.h"

#include "audio/wavefile/ByteReader.h"
#include "audio/wavefile/RiffIds.h"
#include "audio/wavefile/StreamTexts.h"
#include "core/GameError.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {
// Where a chunk's data lies in the image; it may claim more than the image holds.
struct TChunkSpan {
    std::uint64_t Offset = 0;
    std::uint64_t Size = 0;
};

std::span<const std::uint8_t> ChunkBytes(std::span<const std::uint8_t> image,
                                         const TChunkSpan& chunk) {
    if (chunk.Offset + chunk.Size > image.size()) {
        throw EGameError(StreamReadErrorText);
    }
    return image.subspan(chunk.Offset, chunk.Size);
}

std::vector<std::uint8_t> CopyOf(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}
} // namespace

TWave ReadWaveImage(std::span<const std::uint8_t> image) {
    TByteReader reader(image);
    const std::string riff = reader.ReadChars(4);
    reader.Skip(4);
    const std::string wave = reader.ReadChars(4);
    if (riff != RiffId || wave != WaveId) {
        throw EGameError(WaveInvalidText);
    }

    std::optional<TChunkSpan> format;
    std::optional<TChunkSpan> data;
    std::uint64_t position = reader.Position();
    while (true) {
        std::array<std::uint8_t, ChunkHeaderSize> header{};
        const std::uint64_t available = position < image.size() ? image.size() - position : 0;
        const auto copied = std::min<std::uint64_t>(available, ChunkHeaderSize);
        std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(position), copied, header.begin());
        position += copied;

        TByteReader headerReader(header);
        const std::string id = headerReader.ReadChars(4);
        const std::uint32_t size = headerReader.ReadUInt32();
        if (std::all_of(id.begin(), id.end(), [](char c) { return c == 0; })) {
            break;
        }
        if (id == FormatChunkId) {
            format = TChunkSpan{position, size};
        } else if (id == DataChunkId) {
            data = TChunkSpan{position, size};
        }
        position += size;
    }

    TWave result;
    if (format) {
        result.Format = CopyOf(ChunkBytes(image, *format));
    }
    if (data) {
        result.Samples = CopyOf(ChunkBytes(image, *data));
    }
    return result;
}
