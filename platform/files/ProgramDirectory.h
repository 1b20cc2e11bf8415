#pragma once
// The directory of the running program file, with its trailing separator. Where the game's
// files lie relative to it is GameFilePlaces' answer.

#include <string>

std::string ProgramDirectory();

// Makes ProgramDirectory answer `directory` (ending in a separator) instead, so that tests
// run the game on files of their own; an empty text restores the program's own directory.
void SetProgramDirectory(std::string directory);

// True while a test has chosen the program directory with SetProgramDirectory.
bool ProgramDirectoryChosen();
