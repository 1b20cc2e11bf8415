#include "render/BitmapCheck.h"

#include <cstddef>
#include <cstdlib>

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;

constexpr std::uint32_t UncompressedRgb = 0;
constexpr std::uint32_t RunLength8 = 1;
constexpr std::uint32_t RunLength4 = 2;
constexpr std::uint32_t BitFields = 3;
constexpr std::uint32_t AlphaBitFields = 6;

std::uint32_t Read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

struct TBitmapHeader {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0; // rows, whichever way they run
    std::uint32_t BitsPerPixel = 0;
    std::uint32_t Compression = UncompressedRgb;
};

bool ReadHeader(std::span<const std::uint8_t> bytes, TBitmapHeader& header) {
    if (bytes.size() < FileHeaderSize + CoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    const std::uint32_t size = Read32(bytes, FileHeaderSize);
    if (size == CoreHeaderSize) {
        header.Width = Read16(bytes, FileHeaderSize + 4);
        header.Height = Read16(bytes, FileHeaderSize + 6);
        header.BitsPerPixel = Read16(bytes, FileHeaderSize + 10);
        return true;
    }
    if (size < InfoHeaderSize || bytes.size() < FileHeaderSize + InfoHeaderSize) {
        return false;
    }
    const auto width = static_cast<std::int32_t>(Read32(bytes, FileHeaderSize + 4));
    const auto height = static_cast<std::int32_t>(Read32(bytes, FileHeaderSize + 8));
    if (width <= 0 || height == 0 || height == INT32_MIN) {
        return false;
    }
    header.Width = static_cast<std::uint32_t>(width);
    header.Height = static_cast<std::uint32_t>(std::abs(height));
    header.BitsPerPixel = Read16(bytes, FileHeaderSize + 14);
    header.Compression = Read32(bytes, FileHeaderSize + 16);
    return true;
}

bool KnownDepth(std::uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Walks the run-length codes up to the end-of-bitmap mark; false when the data ends first.
bool RunLengthDataEnds(std::span<const std::uint8_t> data, bool fourBit) {
    std::size_t at = 0;
    while (at + 2 <= data.size()) {
        const std::uint8_t count = data[at];
        const std::uint8_t code = data[at + 1];
        at += 2;
        if (count != 0) {
            continue; // a run of one value
        }
        if (code == 1) {
            return true;
        }
        if (code == 0) {
            continue; // end of a line
        }
        if (code == 2) {
            at += 2; // a move
            continue;
        }
        const std::size_t literal = fourBit ? (code + 1u) / 2 : code;
        at += literal + (literal & 1); // padded to whole 16-bit words
    }
    return false;
}

} // namespace

bool IsWholeBitmapFile(std::span<const std::uint8_t> bytes) {
    TBitmapHeader header;
    if (!ReadHeader(bytes, header)) {
        return false;
    }
    if (header.Width == 0 || header.Height == 0 || header.Width > MaxPictureSide ||
        header.Height > MaxPictureSide || !KnownDepth(header.BitsPerPixel)) {
        return false;
    }
    const std::uint32_t pixelsAt = Read32(bytes, 10);
    if (pixelsAt < FileHeaderSize + CoreHeaderSize || pixelsAt > bytes.size()) {
        return false;
    }
    const std::span<const std::uint8_t> pixels = bytes.subspan(pixelsAt);
    switch (header.Compression) {
    case UncompressedRgb:
    case BitFields:
    case AlphaBitFields: {
        const std::uint64_t rowBytes =
            (std::uint64_t{header.Width} * header.BitsPerPixel + 31) / 32 * 4;
        return rowBytes * header.Height <= pixels.size();
    }
    case RunLength8:
        return header.BitsPerPixel == 8 && RunLengthDataEnds(pixels, false);
    case RunLength4:
        return header.BitsPerPixel == 4 && RunLengthDataEnds(pixels, true);
    default:
        return false;
    }
}
