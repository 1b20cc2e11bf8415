#pragma once
// The loading bar's picture: 5 by 15 pixels of green shaded like a lit cylinder, brightest
// in the seventh row from the top, darkening towards the top and the bottom row. The bar
// stretches it to its width.

#include <QImage>

constexpr int LoadBarPictureWidth = 5;
constexpr int LoadBarPictureHeight = 15;

QImage MakeLoadBarPicture();
