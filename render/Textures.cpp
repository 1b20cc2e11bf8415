#include "render/Textures.h"

#include "core/GameError.h"
#include "math/Math3D.h"
#include "platform/files/RegularFile.h"
#include "render/BitmapCheck.h"

#include <QImage>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {
// Room for the largest picture accepted, MaxPictureSide squared at 32 bits, and its headers.
constexpr std::size_t MaxBitmapFileBytes =
    std::size_t{MaxPictureSide} * MaxPictureSide * 4 + (1u << 16);

QImage ReadBitmap(const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    if (ReadRegularFile(fileName, MaxBitmapFileBytes, bytes)) {
        throw EGameError(FormatMessage("Cannot open file %s", fileName));
    }
    QImage image;
    if (!IsWholeBitmapFile(bytes) ||
        !image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP") ||
        image.isNull()) {
        throw EGameError("Bitmap image is not valid");
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// Creates a texture of the picture's size and hands `fillRow` each locked row, bottom row
// of the picture first, with the picture's row index.
template <class TFillRow>
TComRef<IDirect3DTexture8> MakeTexture(IDirect3DDevice8* device, const QImage& picture,
                                       TFillRow fillRow) {
    const auto width = static_cast<UINT>(picture.width());
    const auto height = static_cast<UINT>(picture.height());
    TComRef<IDirect3DTexture8> texture;
    if (Failed(device->CreateTexture(width, height, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                     texture.Put()))) {
        return nullptr;
    }
    D3DLOCKED_RECT locked{};
    if (Failed(texture->LockRect(0, &locked, nullptr, 0))) {
        return nullptr;
    }
    auto* bits = static_cast<std::uint8_t*>(locked.pBits);
    for (UINT i = 0; i < height; ++i) {
        auto* row = bits + static_cast<std::ptrdiff_t>(i) * locked.Pitch;
        fillRow(reinterpret_cast<std::uint32_t*>(row), static_cast<int>(height - 1 - i));
    }
    texture->UnlockRect(0);
    return texture;
}
} // namespace

TComRef<IDirect3DTexture8> LoadTextureFromBitmap(IDirect3DDevice8* device,
                                                 const std::string& fileName) {
    const QImage picture = ReadBitmap(fileName);
    return MakeTexture(device, picture, [&](std::uint32_t* texels, int pictureRow) {
        const auto* pixels = reinterpret_cast<const QRgb*>(picture.constScanLine(pictureRow));
        for (int j = 0; j < picture.width(); ++j) {
            texels[j] = PackOpaqueColor(static_cast<std::uint8_t>(qRed(pixels[j])),
                                        static_cast<std::uint8_t>(qGreen(pixels[j])),
                                        static_cast<std::uint8_t>(qBlue(pixels[j])));
        }
    });
}

TComRef<IDirect3DTexture8> LoadMaskedTexture(IDirect3DDevice8* device,
                                             const std::string& pictureName,
                                             const std::string& maskName) {
    const QImage picture = ReadBitmap(pictureName);
    const QImage mask = ReadBitmap(maskName);
    if (mask.size() != picture.size()) {
        throw EGameError("Bitmap image is not valid");
    }
    return MakeTexture(device, picture, [&](std::uint32_t* texels, int pictureRow) {
        const auto* pixels = reinterpret_cast<const QRgb*>(picture.constScanLine(pictureRow));
        const auto* cover = reinterpret_cast<const QRgb*>(mask.constScanLine(pictureRow));
        for (int j = 0; j < picture.width(); ++j) {
            const int alpha = (qRed(cover[j]) + qGreen(cover[j]) + qBlue(cover[j])) / 3;
            texels[j] = PackColor(static_cast<std::uint8_t>(alpha),
                                  static_cast<std::uint8_t>(qRed(pixels[j])),
                                  static_cast<std::uint8_t>(qGreen(pixels[j])),
                                  static_cast<std::uint8_t>(qBlue(pixels[j])));
        }
    });
}
