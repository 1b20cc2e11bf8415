#pragma once
// The pictures that fill the window between games and the pause banner: the title, the
// game-over picture and the "Paused" banner shown across the middle of the paused scene.

#include <QImage>

class TFontKit;

constexpr int ScreenPictureSize = 1024;
// The banner covers about a quarter of the window's width; textures are sampled without
// mipmaps, so a banner near its on-screen size stays crisp where a larger one would shimmer.
constexpr int PauseBannerWidth = 256;
constexpr int PauseBannerHeight = 64;

// "logo": the game's name, the board with balls on their way, how to play with the arrow keys
// and "Press any key to start".
QImage MakeTitlePicture(const TFontKit& fonts);

// "gameover": "Game over" over the dimmed, slotless board and "Press any key".
QImage MakeGameOverPicture(const TFontKit& fonts);

// "pause": a glossy banner reading "Paused" and "Press any key".
QImage MakePauseBanner(const TFontKit& fonts);
