#pragma once
// Writes the game's sound files into a directory: "Sounds.dxw" and "theme1.mid" to
// "theme3.mid". The same bytes on every run. Throws std::runtime_error naming a file that
// cannot be written.

#include <filesystem>

void WriteGameAudio(const std::filesystem::path& directory);
