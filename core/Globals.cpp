#include "core/Globals.h"

std::uint8_t GameState = gsLoading;
std::uint8_t SavedState = gsTitle;
std::uint32_t FrameDeltaMs = 0;
bool AppClosing = false;
