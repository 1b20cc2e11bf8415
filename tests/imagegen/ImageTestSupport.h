#pragma once
// Shared helpers of the picture tests: where the build put the pictures, a libjpeg decoder
// (the game converts its JPEG pictures with libjpeg, so that is the reader that must accept
// them), and measures of seams and differences between pictures.

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

class TFontKit;

// The "Images" directory of the build's program directory.
QString BuiltImagesDirectory();

// The picture generator program of the build.
QString GeneratorProgram();

// Every file the generator must write, by name.
QStringList ExpectedPictureNames();

// The fonts, loaded once by the test program's main.
const TFontKit& TestFonts();

// Decodes a JPEG file with libjpeg into an RGB888 picture; a null picture if the file is
// missing or not a valid JPEG.
QImage DecodeJpegFile(const QString& path);

// The colour depth a Windows bitmap file declares (bits per pixel), or 0 if unreadable.
int BitmapBitsPerPixel(const QString& path);

// How unlike any inner pair of neighbouring lines the wrap-around seam is (last column to
// first, or last row to first): the mean absolute difference, in channel levels, between the
// changes across the seam and the most similar changes between two neighbouring inner lines.
// Near 0 where the edges meet as the inside does; large where the texture shows a seam.
double SeamMismatch(const QImage& picture, Qt::Orientation across);

// Mean absolute channel difference between two pictures of the same size (0..255).
double MeanDifference(const QImage& a, const QImage& b);

// How far apart two colours look: the distance between them in CIE L*a*b* (D65), where about
// 2 is the least difference an eye notices and 50 or more reads as a different colour.
double ColourDistance(QColor a, QColor b);

// The share (0..1) of a ball's surface whose picture lies at least `distance` (as
// ColourDistance measures) from `background`, each texel weighted by the area it covers on
// the ball (texels near the poles cover little).
double ShareFarFrom(const QImage& ballPicture, QColor background, double distance);

bool IsPowerOfTwo(int value);
