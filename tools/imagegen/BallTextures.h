#pragma once
// The eight ball looks. Each picture wraps once around a ball: x runs along the longitude (so
// the left and right edges meet and must match) and y from the north pole (top row) to the
// south pole. Patterns are laid out on the sphere itself, so dots stay round near the poles.
// Colours are bright because the scene lights the balls at well under full strength.

#include <QImage>

constexpr int BallTextureSize = 128;
constexpr int BallLookCount = 8;

// Looks 0 to 5 are the ordinary balls; 6 and 7 mark the bonus balls and must stand out:
// 6 is gold with a dark belt of gold stars, 7 a rainbow of segments meeting at the poles.
QImage MakeBallTexture(int look);
