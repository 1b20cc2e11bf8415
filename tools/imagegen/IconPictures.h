#pragma once
// The program icon: the board seen from above, the four coloured lanes meeting at a golden
// ball, on a rounded dark-blue tile. The window and the about box (at 64 x 64) use it.

#include <QImage>

#include <array>

constexpr std::array<int, 6> IconSizes = {16, 32, 48, 64, 128, 256};

// The icon drawn for `size` x `size` pixels (small sizes drop the finer details), with a
// transparent surround.
QImage MakeIcon(int size);
