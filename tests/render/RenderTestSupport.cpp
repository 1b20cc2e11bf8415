#include "tests/render/RenderTestSupport.h"

#include "platform/d3d/reference/ReferenceDevice.h"
#include "render/Direct3D.h"
#include "tests/refdevice/DeviceTestKit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <unistd.h>

void UseReferenceDevice(UINT width, UINT height) {
    ASSERT_EQ(
        CreateReferenceDevice(OffscreenParameters(width, height), nullptr, Direct3DDevice.Put()),
        D3D_OK);
}

namespace {
std::atomic<int> DirectoryCount{0};
}

TTemporaryProgramDirectory::TTemporaryProgramDirectory()
    : Root(std::filesystem::temp_directory_path() / ("zorbix-render-" + std::to_string(::getpid()) +
                                                     "-" + std::to_string(DirectoryCount++))) {
    std::filesystem::remove_all(Root);
    std::filesystem::create_directories(Root / "Images");
}

TTemporaryProgramDirectory::~TTemporaryProgramDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
}

void WriteBitmap(const std::string& fileName, const QImage& image) {
    ASSERT_TRUE(image.save(QString::fromStdString(fileName), "BMP")) << fileName;
}

void WriteJpeg(const std::string& fileName, int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(fileName), "JPEG", 95)) << fileName;
}

void WriteBytes(const std::string& fileName, const std::string& bytes) {
    std::ofstream(fileName, std::ios::binary) << bytes;
}

std::vector<std::uint32_t> ReadTexels(IDirect3DTexture8& texture) {
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture.LockRect(0, &locked, nullptr, 0), D3D_OK);
    std::vector<std::uint32_t> texels;
    for (UINT row = 0; row < texture.Height(); ++row) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(
            static_cast<const BYTE*>(locked.pBits) + static_cast<std::size_t>(row) * locked.Pitch);
        texels.insert(texels.end(), line, line + texture.Width());
    }
    texture.UnlockRect(0);
    return texels;
}

namespace {
QImage Solid(QRgb colour, int size = 4) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
} // namespace

void WriteTestPictures(const std::string& images) {
    WriteBitmap(images + "logo.bmp", Solid(TitleColour));
    WriteBitmap(images + "gameover.bmp", Solid(GameOverColour));
    WriteBitmap(images + "nag.bmp", Solid(InterludeColour));
    WriteBitmap(images + "pause.bmp", Solid(PauseColour));
    WriteBitmap(images + "field.bmp", Solid(0xFF40A040));
    WriteBitmap(images + "frame.bmp", Solid(0xFF806040));
    WriteBitmap(images + "fone.bmp", Solid(0xFF203060));
    for (int n = 0; n < 8; ++n) {
        WriteBitmap(images + "sphere" + std::to_string(n) + ".bmp", Solid(0xFFE0E0E0));
    }
    for (int d = 0; d < 10; ++d) {
        WriteBitmap(images + std::to_string(d) + ".bmp", Solid(DigitColour));
        WriteBitmap(images + std::to_string(d) + "M.bmp", Solid(0xFFFFFFFF));
    }
}

bool NearColour(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int difference =
            static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance) {
            return false;
        }
    }
    return true;
}
