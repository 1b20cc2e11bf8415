#pragma once
// The JPEG encoder of the picture generator: fixed settings (quality 90, no chroma
// subsampling, optimised Huffman tables, the integer transform), so one picture always
// encodes to the same bytes.

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

constexpr int JpegQuality = 90;

// Encodes the picture (any QImage format; alpha is dropped) into `encoded`. Returns false and
// sets `message` to the encoder's complaint if encoding fails.
bool EncodeJpeg(const QImage& picture, std::vector<std::uint8_t>& encoded, std::string& message);
