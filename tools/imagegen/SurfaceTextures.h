#pragma once
// The seamless surface textures of the scene. Each tiles without a visible seam in both
// directions, because the scene repeats them: the drum picture five times each way, the
// board and the rim three times.

#include <QImage>

constexpr int DrumTextureSize = 512;
constexpr int FieldTextureSize = 256;
constexpr int FrameTextureSize = 256;

// "fone": a deep blue and violet nebula with stars and soft coloured lights, for the slowly
// spinning drum around the scene.
QImage MakeDrumTexture();

// "field": the board, a checker of bevelled silver-lilac tiles with gold studs where tiles
// meet; one repeat is one field unit.
QImage MakeFieldTexture();

// "frame": the rim, diagonal gold and navy bumper stripes with rounded shading.
QImage MakeFrameTexture();
