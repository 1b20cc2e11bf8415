#include "render/Textures.h"
#include "core/GameError.h"
#include "render/Direct3D.h"
#include "render/JpegConversion.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include <jerror.h>
#include <jpeglib.h>

namespace {
class Textures : public ::testing::Test {
protected:
    void SetUp() override { UseReferenceDevice(8, 8); }
    void TearDown() override { Direct3DDevice.Reset(); }

    // The message of the EGameError that `load` throws, or "" when it throws none.
    template <class TLoad> static std::string FailureOf(TLoad load) {
        try {
            load();
        } catch (const EGameError& error) {
            return error.what();
        }
        return "";
    }

    TTemporaryProgramDirectory Directory;
};

QImage Picture(std::initializer_list<std::initializer_list<QRgb>> rows) {
    QImage image(static_cast<int>(rows.begin()->size()), static_cast<int>(rows.size()),
                 QImage::Format_RGB32);
    int y = 0;
    for (const auto& row : rows) {
        int x = 0;
        for (QRgb colour : row) {
            image.setPixel(x++, y, colour);
        }
        ++y;
    }
    return image;
}
} // namespace

// Guards the row flip: the texture holds the picture bottom row first, so the top-left
// pixel ends up in the last texel row.
TEST_F(Textures, StoreThePictureBottomRowFirstAndOpaque) {
    const std::string name = Directory.Images() + "corner.bmp";
    WriteBitmap(name, Picture({{qRgb(255, 0, 0), qRgb(0, 255, 0)},
                               {qRgb(0, 0, 255), qRgb(255, 255, 255)}}));
    const auto texture = LoadTextureFromBitmap(Direct3DDevice.Get(), name);
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->Width(), 2u);
    const std::vector<std::uint32_t> texels = ReadTexels(*texture.Get());
    EXPECT_EQ(texels, (std::vector<std::uint32_t>{0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00}));
}

TEST_F(Textures, TakeAlphaFromTheMeanOfTheMaskWithRemainderDropped) {
    const std::string picture = Directory.Images() + "5.bmp";
    const std::string mask = Directory.Images() + "5M.bmp";
    WriteBitmap(picture, Picture({{qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(70, 80, 90)}}));
    WriteBitmap(mask, Picture({{qRgb(255, 255, 0), qRgb(1, 1, 0), qRgb(255, 255, 255)}}));
    const auto texture = LoadMaskedTexture(Direct3DDevice.Get(), picture, mask);
    ASSERT_TRUE(texture);
    EXPECT_EQ(ReadTexels(*texture.Get()),
              (std::vector<std::uint32_t>{0xAA0A141E, 0x0028323C, 0xFF46505A}));
}

TEST_F(Textures, ReportMissingAndInvalidBitmapsWithTheirTexts) {
    const std::string missing = Directory.Images() + "missing.bmp";
    EXPECT_EQ(FailureOf([&] { LoadTextureFromBitmap(Direct3DDevice.Get(), missing); }),
              "Cannot open file " + missing);

    const std::string garbage = Directory.Images() + "garbage.bmp";
    WriteBytes(garbage, "BM this is not a bitmap at all");
    EXPECT_EQ(FailureOf([&] { LoadTextureFromBitmap(Direct3DDevice.Get(), garbage); }),
              "Bitmap image is not valid");

    // A mask smaller than its picture would be read past its end.
    const std::string picture = Directory.Images() + "wide.bmp";
    const std::string mask = Directory.Images() + "narrow.bmp";
    WriteBitmap(picture, Picture({{qRgb(1, 1, 1), qRgb(2, 2, 2)}}));
    WriteBitmap(mask, Picture({{qRgb(255, 255, 255)}}));
    EXPECT_EQ(FailureOf([&] { LoadMaskedTexture(Direct3DDevice.Get(), picture, mask); }),
              "Bitmap image is not valid");
    EXPECT_EQ(FailureOf([&] { LoadMaskedTexture(Direct3DDevice.Get(), picture, missing); }),
              "Cannot open file " + missing);
}

TEST_F(Textures, FirstRunConvertsTheFiveJpegPicturesAndASecondRunNothing) {
    const std::string names[] = {"nag", "logo", "gameover", "fone", "field"};
    const QRgb colours[] = {qRgb(200, 30, 30), qRgb(30, 200, 30), qRgb(30, 30, 200),
                            qRgb(200, 200, 30), qRgb(30, 200, 200)};
    for (int k = 0; k < 5; ++k) {
        WriteJpeg(Directory.Images() + names[k] + ".jpg", 16, 8, colours[k]);
    }
    ConvertPictures(Directory.Path());
    for (int k = 0; k < 5; ++k) {
        const QImage converted(QString::fromStdString(Directory.Images() + names[k] + ".bmp"),
                               "BMP");
        ASSERT_FALSE(converted.isNull()) << names[k];
        EXPECT_EQ(converted.size(), QSize(16, 8));
        const QRgb pixel = converted.pixel(8, 4);
        EXPECT_NEAR(qRed(pixel), qRed(colours[k]), 4) << names[k];
        EXPECT_NEAR(qGreen(pixel), qGreen(colours[k]), 4) << names[k];
        EXPECT_NEAR(qBlue(pixel), qBlue(colours[k]), 4) << names[k];
    }

    // With the title picture converted, the sources are not even looked for.
    for (const std::string& name : names) {
        std::filesystem::remove(Directory.Images() + name + ".jpg");
    }
    EXPECT_NO_THROW(ConvertPictures(Directory.Path()));
}

TEST_F(Textures, ConversionReportsAMissingOrUndecodableJpeg) {
    const std::string nag = Directory.Images() + "nag.jpg";
    EXPECT_EQ(FailureOf([&] { ConvertPictures(Directory.Path()); }), "Cannot open file " + nag);

    WriteBytes(nag, "not a JPEG");
    const std::string failure = FailureOf([&] { ConvertJpegToBitmap(nag); });
    EXPECT_EQ(failure.rfind("JPEG error #", 0), 0u) << failure;
    EXPECT_GT(std::stoi(failure.substr(12)), 0);
    EXPECT_FALSE(std::filesystem::exists(Directory.Images() + "nag.bmp"));
}

namespace {
std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

QByteArray BitmapBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void WriteQBytes(const std::string& path, const QByteArray& bytes) {
    WriteBytes(path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}
} // namespace

// Guards against made-up pixels and a stalled start: the rows missing from a cut bitmap
// came from leftover memory, a forged size claimed huge memory, and a pipe in place of a
// picture waited for a writer for ever.
TEST_F(Textures, RefuseCutOrOversizedBitmapsAndAnythingButARegularFile) {
    const QByteArray whole =
        BitmapBytes(Picture({{qRgb(9, 9, 9), qRgb(9, 9, 9)}, {qRgb(9, 9, 9), qRgb(9, 9, 9)}}));
    const std::string cut = Directory.Images() + "cut.bmp";
    WriteQBytes(cut, whole.left(whole.size() - 4));
    EXPECT_EQ(FailureOf([&] { LoadTextureFromBitmap(Direct3DDevice.Get(), cut); }),
              "Bitmap image is not valid");

    QByteArray forged = whole;
    forged[18] = '\x00'; // width 0x4000 0000 + 2
    forged[21] = '\x40';
    const std::string huge = Directory.Images() + "huge.bmp";
    WriteQBytes(huge, forged);
    EXPECT_EQ(FailureOf([&] { LoadTextureFromBitmap(Direct3DDevice.Get(), huge); }),
              "Bitmap image is not valid");

    const std::string pipe = Directory.Images() + "pipe.bmp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(FailureOf([&] { LoadTextureFromBitmap(Direct3DDevice.Get(), pipe); }),
              "Cannot open file " + pipe);
    EXPECT_EQ(FailureOf([&] { LoadTextureFromBitmap(Direct3DDevice.Get(), "/dev/zero"); }),
              "Cannot open file /dev/zero");
}

// Guards the decoder against damage it used to hide or memory it used to claim: a JPEG cut
// in half converted silently with grey below the cut, and one whose header claims 12000 by
// 12000 pixels made a 432 MB bitmap before failing.
TEST_F(Textures, ConversionRefusesCutAndOversizedJpegs) {
    const std::string nag = Directory.Images() + "nag.jpg";
    WriteJpeg(nag, 64, 64, qRgb(10, 20, 30));
    const std::string whole = ReadBytes(nag);
    WriteBytes(nag, whole.substr(0, whole.size() / 2));
    EXPECT_EQ(FailureOf([&] { ConvertJpegToBitmap(nag); }).rfind("JPEG error #", 0), 0u);

    std::string forged = whole;
    const std::size_t frame = forged.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    forged.replace(frame + 5, 4, "\x2E\xE0\x2E\xE0"); // 12000 by 12000
    WriteBytes(nag, forged);
    EXPECT_EQ(FailureOf([&] { ConvertJpegToBitmap(nag); }),
              "JPEG error #" + std::to_string(JERR_IMAGE_TOO_BIG));
    EXPECT_FALSE(std::filesystem::exists(Directory.Images() + "nag.bmp"));

    ::unlink(nag.c_str());
    ASSERT_EQ(::mkfifo(nag.c_str(), 0600), 0);
    EXPECT_EQ(FailureOf([&] { ConvertJpegToBitmap(nag); }), "Cannot open file " + nag);
}

// Guards the repair of an interrupted first run: the title bitmap stands for all five, so it
// is made last, and each bitmap appears whole or not at all; a link in place of a bitmap is
// never written through.
TEST_F(Textures, InterruptedConversionLeavesNoTitleBitmapAndIsRepeated) {
    const std::string names[] = {"nag", "logo", "gameover", "fone"};
    for (const std::string& name : names) {
        WriteJpeg(Directory.Images() + name + ".jpg", 8, 8, qRgb(50, 60, 70));
    }
    const std::string field = Directory.Images() + "field.jpg";
    EXPECT_EQ(FailureOf([&] { ConvertPictures(Directory.Path()); }), "Cannot open file " + field);
    EXPECT_FALSE(std::filesystem::exists(Directory.Images() + "logo.bmp"));

    WriteJpeg(field, 8, 8, qRgb(50, 60, 70));
    const std::string outside = Directory.Path() + "outside.txt";
    WriteBytes(outside, "keep");
    std::filesystem::remove(Directory.Images() + "nag.bmp");
    std::filesystem::create_symlink(outside, Directory.Images() + "nag.bmp");
    EXPECT_EQ(FailureOf([&] { ConvertPictures(Directory.Path()); }),
              "Cannot create file " + Directory.Images() + "nag.bmp");
    EXPECT_EQ(ReadBytes(outside), "keep");

    std::filesystem::remove(Directory.Images() + "nag.bmp");
    EXPECT_EQ(FailureOf([&] { ConvertPictures(Directory.Path()); }), "");
    EXPECT_TRUE(std::filesystem::exists(Directory.Images() + "logo.bmp"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Directory.Images()),
                            std::filesystem::directory_iterator()),
              10);
}

// Guards the installed layout's first run: the bitmaps go into a cache directory made on the
// spot, and nothing is written beside the read-only pictures.
TEST_F(Textures, ConversionWritesIntoTheConvertedPicturesDirectoryOnly) {
    for (const char* name : {"nag", "logo", "gameover", "fone", "field"}) {
        WriteJpeg(Directory.Images() + name + ".jpg", 8, 8, qRgb(90, 90, 90));
    }
    const std::string cache = Directory.Path() + "cache/zorbix/Images/";
    ConvertPictures(Directory.Path(), cache);
    for (const char* name : {"nag", "logo", "gameover", "fone", "field"}) {
        EXPECT_TRUE(std::filesystem::exists(cache + name + ".bmp")) << name;
        EXPECT_FALSE(std::filesystem::exists(Directory.Images() + name + ".bmp")) << name;
    }
}
