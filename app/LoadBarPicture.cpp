#include "app/LoadBarPicture.h"

#include <cmath>

namespace {
struct TRgb {
    double Red, Green, Blue;
};
constexpr int BrightestRow = 6;
constexpr TRgb TopColour{8, 113, 1};
constexpr TRgb BrightestColour{89, 255, 99};
constexpr TRgb BottomColour{0, 81, 0};

int Mix(double from, double to, double at) { return static_cast<int>(std::lround(from + (to - from) * at)); }

QRgb Blend(const TRgb& from, const TRgb& to, double at) {
    return qRgb(Mix(from.Red, to.Red, at), Mix(from.Green, to.Green, at),
                Mix(from.Blue, to.Blue, at));
}
} // namespace

QImage MakeLoadBarPicture() {
    QImage picture(LoadBarPictureWidth, LoadBarPictureHeight, QImage::Format_RGB32);
    for (int row = 0; row < LoadBarPictureHeight; ++row) {
        const QRgb colour =
            row <= BrightestRow
                ? Blend(TopColour, BrightestColour, static_cast<double>(row) / BrightestRow)
                : Blend(BrightestColour, BottomColour,
                        static_cast<double>(row - BrightestRow) /
                            (LoadBarPictureHeight - 1 - BrightestRow));
        for (int column = 0; column < LoadBarPictureWidth; ++column) {
            picture.setPixel(column, row, colour);
        }
    }
    return picture;
}
