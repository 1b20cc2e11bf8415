#pragma once
// The directory of the running program file, with its trailing separator. The game's own
// files ("Options.ini", "HiScores.dat", "Sounds.dxw", "Images", the music) live there.

#include <string>

std::string ProgramDirectory();
