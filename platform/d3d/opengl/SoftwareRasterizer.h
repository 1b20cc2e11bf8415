#pragma once
// Tells an OpenGL driver that rasterises on the central processor by the renderer name it
// reports (GL_RENDERER). Such a driver is OpenGL without 3D hardware: the game's own software
// device draws the same picture for a fraction of its processor time.

#include <string_view>

bool NamesSoftwareRasterizer(std::string_view renderer);
