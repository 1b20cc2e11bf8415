#pragma once
// The interlude picture shown after a lost slot: an advertisement for the maker's other game,
// Quillon, with the keys that lead on from it.

#include <QImage>

class TFontKit;

// "nag": Quillon's name, "three games in one" with a card for each game, "150 game levels",
// and "Press Space to visit the Quillon home page, any other key to continue".
QImage MakeInterludePicture(const TFontKit& fonts);
