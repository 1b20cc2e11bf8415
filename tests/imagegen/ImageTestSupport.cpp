#include "tests/imagegen/ImageTestSupport.h"

#include "tools/imagegen/TextArt.h"

#include <QFile>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <vector>

#include <jpeglib.h>

namespace {

TFontKit LoadedFonts;

struct TErrorTrap {
    jpeg_error_mgr Manager;
    std::jmp_buf Return;
};

void TrapError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TErrorTrap*>(info->err)->Return, 1);
}

// Only plain data lives in this frame, so the error jump skips no destructor.
bool DecodeInto(const unsigned char* data, unsigned long size, QImage& picture, TErrorTrap& trap) {
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&trap.Manager);
    trap.Manager.error_exit = TrapError;
    if (setjmp(trap.Return) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                     QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

double ChannelStep(QRgb a, QRgb b) {
    return (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
            std::abs(qBlue(a) - qBlue(b))) /
           3.0;
}

} // namespace

QString BuiltImagesDirectory() {
    return QStringLiteral(ZORBIX_TEST_IMAGES_DIR);
}

QString GeneratorProgram() {
    return QStringLiteral(ZORBIX_TEST_IMAGEGEN);
}

QStringList ExpectedPictureNames() {
    QStringList names = {"logo.jpg",  "gameover.jpg", "nag.jpg",  "fone.jpg",
                         "field.jpg", "pause.bmp",    "frame.bmp"};
    for (int n = 0; n <= 7; ++n) {
        names << QStringLiteral("sphere%1.bmp").arg(n);
    }
    for (int d = 0; d <= 9; ++d) {
        names << QStringLiteral("%1.bmp").arg(d) << QStringLiteral("%1M.bmp").arg(d);
    }
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        names << QStringLiteral("icon%1.png").arg(size);
    }
    return names;
}

const TFontKit& TestFonts() {
    return LoadedFonts;
}

QImage DecodeJpegFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    QImage picture;
    auto trap = std::make_unique<TErrorTrap>();
    if (!DecodeInto(reinterpret_cast<const unsigned char*>(bytes.constData()),
                    static_cast<unsigned long>(bytes.size()), picture, *trap)) {
        return {};
    }
    return picture;
}

int BitmapBitsPerPixel(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM")) {
        return 0;
    }
    return static_cast<unsigned char>(header[28]) | (static_cast<unsigned char>(header[29]) << 8);
}

double SeamMismatch(const QImage& picture, Qt::Orientation across) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const bool columns = across == Qt::Horizontal;
    const int length = columns ? rgb.width() : rgb.height();
    const int breadth = columns ? rgb.height() : rgb.width();
    const auto at = [&](int along, int side) {
        return columns ? rgb.pixel(along, side) : rgb.pixel(side, along);
    };
    // The signed change of every channel from one line to the next, all along the lines.
    const auto profile = [&](int from, int to) {
        std::vector<int> changes;
        changes.reserve(3 * static_cast<size_t>(breadth));
        for (int side = 0; side < breadth; ++side) {
            const QRgb a = at(from, side), b = at(to, side);
            changes.push_back(qRed(b) - qRed(a));
            changes.push_back(qGreen(b) - qGreen(a));
            changes.push_back(qBlue(b) - qBlue(a));
        }
        return changes;
    };
    const std::vector<int> seam = profile(length - 1, 0);
    double best = 255;
    for (int line = 0; line + 1 < length; ++line) {
        const std::vector<int> inner = profile(line, line + 1);
        double sum = 0;
        for (size_t i = 0; i < seam.size(); ++i) {
            sum += std::abs(seam[i] - inner[i]);
        }
        best = std::min(best, sum / static_cast<double>(seam.size()));
    }
    return best;
}

double MeanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            sum += ChannelStep(x.pixel(column, row), y.pixel(column, row));
        }
    }
    return sum / (static_cast<double>(x.width()) * x.height());
}

namespace {
struct TLab {
    double L, A, B;
};

TLab ToLab(QColor colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const double r = linear(colour.redF()), g = linear(colour.greenF()), b = linear(colour.blueF());
    // Relative to the D65 white point.
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) {
        constexpr double edge = 216.0 / 24389;
        return t > edge ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}
} // namespace

double ColourDistance(QColor a, QColor b) {
    const TLab p = ToLab(a), q = ToLab(b);
    return std::hypot(p.L - q.L, p.A - q.A, p.B - q.B);
}

double ShareFarFrom(const QImage& ballPicture, QColor background, double distance) {
    double far = 0, all = 0;
    for (int row = 0; row < ballPicture.height(); ++row) {
        const double latitude = (0.5 - (row + 0.5) / ballPicture.height()) * std::numbers::pi;
        const double area = std::cos(latitude);
        for (int column = 0; column < ballPicture.width(); ++column) {
            all += area;
            if (ColourDistance(ballPicture.pixelColor(column, row), background) >= distance) {
                far += area;
            }
        }
    }
    return far / all;
}

bool IsPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

int main(int argc, char** argv) {
    // The pictures letter with real fonts, which need a GUI application but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QString failedFile;
    if (!LoadedFonts.Load(failedFile)) {
        std::fprintf(stderr, "cannot load the font %s\n", qPrintable(failedFile));
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
