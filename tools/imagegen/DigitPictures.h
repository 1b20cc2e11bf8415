#pragma once
// The score digits and their transparency masks. Each digit is a gold figure in a dark
// outline filling a 1:2 cell (neighbouring digits touch in the scene); its mask is white over
// the figure and its outline, black elsewhere and grey along the antialiased edges; the dark
// outline keeps the digits readable over the moving scene.

#include <QImage>

class TFontKit;

// About the digits' size on screen at the usual window size: the textures are sampled
// without mipmaps, so a much larger picture would alias when shrunk.
constexpr int DigitWidth = 32;
constexpr int DigitHeight = 64;

// The figure of `digit` (0..9). Pixels around the figure carry the outline's dark colour, so
// filtering at the mask's soft edge never brings in a light fringe.
QImage MakeDigitPicture(const TFontKit& fonts, int digit);

// The mask of `digit`, the same size as its picture.
QImage MakeDigitMask(const TFontKit& fonts, int digit);
