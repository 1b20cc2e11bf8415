#pragma once
// The directory of the running program file, with its trailing separator. The game's own
// files ("Options.ini", "HiScores.dat", "Sounds.dxw", "Images", the music) live there.

#include <string>

std::string ProgramDirectory();

// Makes ProgramDirectory answer `directory` (ending in a separator) instead, so that tests
// run the game on files of their own; an empty text restores the program's own directory.
void SetProgramDirectory(std::string directory);
