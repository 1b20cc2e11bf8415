// The generator's own building blocks: the JPEG encoder, the picture writer, the tiling
// noise and the blur.

#include "tests/imagegen/ImageTestSupport.h"

#include "tools/imagegen/Drawing.h"
#include "tools/imagegen/JpegWriter.h"
#include "tools/imagegen/PictureWriter.h"
#include "tools/imagegen/TileableNoise.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Soft colour bands with a sharp-edged block: something an encoder can get wrong.
QImage SamplePicture() {
    QImage picture = NewCanvas(96, 64, Qt::black);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, qRgb(x * 255 / 95, y * 255 / 63, 128));
        }
    }
    QPainter painter(&picture);
    painter.fillRect(QRect(20, 20, 30, 20), QColor(250, 30, 40));
    return picture;
}

} // namespace

// The first run decodes our JPEG pictures with libjpeg; they must come back as the same
// picture, and the same picture must always give the same bytes.
TEST(JpegEncoder, RoundTripsThroughLibjpegAndRepeatsItsBytes) {
    std::vector<std::uint8_t> once, twice;
    std::string message;
    ASSERT_TRUE(EncodeJpeg(SamplePicture(), once, message)) << message;
    ASSERT_TRUE(EncodeJpeg(SamplePicture(), twice, message)) << message;
    EXPECT_EQ(once, twice);

    QTemporaryDir scratch;
    const QString path = QDir(scratch.path()).filePath(QStringLiteral("sample.jpg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(once.data()), static_cast<qint64>(once.size()));
    file.close();
    const QImage decoded = DecodeJpegFile(path);
    ASSERT_EQ(decoded.size(), QSize(96, 64));
    EXPECT_LT(MeanDifference(decoded, SamplePicture()), 3.0);
    const QRgb block = decoded.pixel(35, 30);
    EXPECT_NEAR(qRed(block), 250, 8);
    EXPECT_NEAR(qGreen(block), 30, 8);
}

TEST(JpegEncoder, RefusesAnEmptyPictureWithAReason) {
    std::vector<std::uint8_t> encoded;
    std::string message;
    EXPECT_FALSE(EncodeJpeg(QImage(), encoded, message));
    EXPECT_FALSE(message.empty());
    EXPECT_TRUE(encoded.empty());
}

// Guards the format choice by extension and the promises of each format.
TEST(PictureWriter, WritesEachFormatItsNameAsksFor) {
    QTemporaryDir scratch;
    const QString images = QDir(scratch.path()).filePath(QStringLiteral("deep/Images"));
    TPictureWriter writer(images);
    QImage translucent = NewCanvas(16, 16);
    translucent.setPixel(3, 3, qRgba(0, 0, 255, 255));
    writer.Put(QStringLiteral("a.jpg"), SamplePicture());
    writer.Put(QStringLiteral("b.bmp"), SamplePicture());
    writer.Put(QStringLiteral("c.png"), translucent);
    EXPECT_EQ(writer.FilesWritten(), 3);

    EXPECT_EQ(DecodeJpegFile(QDir(images).filePath(QStringLiteral("a.jpg"))).size(), QSize(96, 64));
    const QString bitmap = QDir(images).filePath(QStringLiteral("b.bmp"));
    EXPECT_EQ(BitmapBitsPerPixel(bitmap), 24);
    EXPECT_EQ(QImage(bitmap).pixel(35, 30), qRgb(250, 30, 40));
    const QImage png(QDir(images).filePath(QStringLiteral("c.png")));
    EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0);
    EXPECT_EQ(png.pixel(3, 3), qRgba(0, 0, 255, 255));
}

TEST(PictureWriter, ReportsUnknownFormatsAndFailedWritesByFileName) {
    QTemporaryDir scratch;
    TPictureWriter writer(scratch.path());
    try {
        writer.Put(QStringLiteral("picture.gif"), SamplePicture());
        FAIL() << "an unknown extension was accepted";
    } catch (const TPictureWriteError& error) {
        EXPECT_NE(std::string(error.what()).find("picture.gif"), std::string::npos);
    }
    ASSERT_TRUE(QDir(scratch.path()).mkdir(QStringLiteral("taken.bmp")));
    EXPECT_THROW(writer.Put(QStringLiteral("taken.bmp"), SamplePicture()), TPictureWriteError);
    EXPECT_THROW(writer.Put(QStringLiteral("empty.png"), QImage()), TPictureWriteError);
    EXPECT_EQ(writer.FilesWritten(), 0);
}

// Textures built from the noise tile only if the noise itself wraps.
TEST(TileableNoise, WrapsAtTheEdgesAndStaysInRange) {
    const TTileableNoise noise(42, 3, 5);
    double low = 1, high = 0;
    for (int i = 0; i <= 50; ++i) {
        const double t = i / 50.0;
        EXPECT_NEAR(noise.At(0, t), noise.At(1, t), 1e-9);
        EXPECT_NEAR(noise.At(t, 0), noise.At(t, 1), 1e-9);
        EXPECT_NEAR(noise.At(t, 0.3), noise.At(t - 2, 0.3), 1e-9);
        for (int j = 0; j <= 50; ++j) {
            const double value = noise.At(t, j / 50.0);
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    EXPECT_GE(low, 0.0);
    EXPECT_LE(high, 1.0);
    EXPECT_GT(high - low, 0.3) << "the noise is nearly flat";
}

// Clamped edges must not darken a flat picture (as zero padding would); wrapped edges must
// keep a tiling picture tiling.
TEST(BlurImage, KeepsFlatColourFlatAndTilingPicturesTiling) {
    QImage flat = NewCanvas(40, 30, QColor(200, 100, 50));
    BlurImage(flat, 6, TEdges::Clamp);
    EXPECT_EQ(flat.pixel(0, 0), qRgb(200, 100, 50));
    EXPECT_EQ(flat.pixel(39, 29), qRgb(200, 100, 50));

    // Wrapping makes the blur indifferent to where the tile is cut: blurring a stripe on the
    // left edge gives the same picture as blurring it 20 pixels in, moved back.
    const auto stripeAt = [](int left) {
        QImage stripes = NewCanvas(64, 64, Qt::black);
        QPainter painter(&stripes);
        painter.fillRect(QRect(left, 0, 8, 64), Qt::white);
        return stripes;
    };
    QImage onEdge = stripeAt(0);
    QImage inside = stripeAt(20);
    BlurImage(onEdge, 8, TEdges::Wrap);
    BlurImage(inside, 8, TEdges::Wrap);
    EXPECT_GT(qRed(onEdge.pixel(63, 10)), 40) << "the blur did not wrap around";
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(onEdge.pixel(x, 10), inside.pixel((x + 20) % 64, 10)) << x;
    }
}
