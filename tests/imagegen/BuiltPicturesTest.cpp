// The pictures the build leaves in the program directory, read the way the game reads them.

#include "tests/imagegen/ImageTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <gtest/gtest.h>

namespace {

QString Built(const QString& name) {
    return QDir(BuiltImagesDirectory()).filePath(name);
}

QImage ReadWithQt(const QString& name) {
    QImageReader reader(Built(name));
    return reader.read();
}

// What every picture loaded as a texture must satisfy, whatever its format.
void ExpectTextureSized(const QString& name, const QImage& picture) {
    ASSERT_FALSE(picture.isNull()) << qPrintable(name);
    EXPECT_TRUE(IsPowerOfTwo(picture.width()) && IsPowerOfTwo(picture.height()))
        << qPrintable(name) << " is " << picture.width() << "x" << picture.height();
}

} // namespace

// Guards the build step: a picture missing from its list would only show as a load failure
// at the game's start.
TEST(BuiltPictures, EveryFileTheGameLoadsIsBesideTheProgram) {
    for (const QString& name : ExpectedPictureNames()) {
        EXPECT_TRUE(QFileInfo(Built(name)).isFile()) << qPrintable(name);
    }
}

// The first run converts these with libjpeg, so libjpeg must read them, at full-window size
// (square, as the window is) or as power-of-two textures.
TEST(BuiltPictures, JpegPicturesDecodeWithLibjpegAtTheirSizes) {
    for (const char* name : {"logo.jpg", "gameover.jpg", "nag.jpg"}) {
        const QImage picture = DecodeJpegFile(Built(name));
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(picture.size(), QSize(1024, 1024)) << name;
    }
    for (const char* name : {"fone.jpg", "field.jpg"}) {
        const QImage picture = DecodeJpegFile(Built(name));
        ExpectTextureSized(name, picture);
        EXPECT_EQ(picture.width(), picture.height()) << name;
    }
}

// The loader accepts any bitmap, but 24-bit is what was asked for and what every reader
// handles; the shapes are what the scene's quads and meshes expect.
TEST(BuiltPictures, BitmapsAre24BitWithTheShapesTheSceneExpects) {
    QStringList bitmaps;
    for (const QString& name : ExpectedPictureNames()) {
        if (name.endsWith(QLatin1String(".bmp"))) {
            bitmaps << name;
        }
    }
    for (const QString& name : bitmaps) {
        EXPECT_EQ(BitmapBitsPerPixel(Built(name)), 24) << qPrintable(name);
        ExpectTextureSized(name, ReadWithQt(name));
    }
    const QImage pause = ReadWithQt(QStringLiteral("pause.bmp"));
    EXPECT_EQ(pause.width(), 4 * pause.height());
    for (int n = 0; n <= 7; ++n) {
        const QImage ball = ReadWithQt(QStringLiteral("sphere%1.bmp").arg(n));
        EXPECT_EQ(ball.width(), ball.height()) << n;
    }
    const QImage frame = ReadWithQt(QStringLiteral("frame.bmp"));
    EXPECT_EQ(frame.width(), frame.height());
}

// The score digits are blended through their masks: a mask of another size, or one that
// misses part of the figure, would cut holes into the digits or show their background.
TEST(BuiltPictures, EachDigitMaskCoversItsFigureAndLittleElse) {
    for (int d = 0; d <= 9; ++d) {
        const QImage digit = ReadWithQt(QStringLiteral("%1.bmp").arg(d));
        const QImage mask = ReadWithQt(QStringLiteral("%1M.bmp").arg(d));
        ASSERT_FALSE(digit.isNull() || mask.isNull()) << d;
        ASSERT_EQ(digit.size(), mask.size()) << d;
        EXPECT_EQ(digit.height(), 2 * digit.width()) << d;

        int black = 0, white = 0, uncoveredFigure = 0;
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x) {
                const int level = qGray(mask.pixel(x, y));
                black += level < 16;
                white += level > 240;
                // The figure's fill is bright gold; all of it must be opaque.
                uncoveredFigure += qRed(digit.pixel(x, y)) > 200 && level < 230;
            }
        }
        const int total = mask.width() * mask.height();
        EXPECT_GT(black, total / 2) << "digit " << d << " mask is not mostly black";
        EXPECT_GT(white, total / 8) << "digit " << d << " mask has too little figure";
        EXPECT_EQ(uncoveredFigure, 0) << "digit " << d;
    }
}

// The window and the about box take the icon at these sizes; a transparent surround keeps
// its rounded corners round on any background.
TEST(BuiltPictures, IconsComeAtEverySizeWithATransparentSurround) {
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = ReadWithQt(QStringLiteral("icon%1.png").arg(size));
        ASSERT_EQ(icon.size(), QSize(size, size)) << size;
        ASSERT_TRUE(icon.hasAlphaChannel()) << size;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
    }
}
