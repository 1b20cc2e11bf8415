#pragma once
// Where the game's files are. One rule decides the layout:
// - portable: the program's directory holds "Sounds.dxw" (or a test chose the program
//   directory, or there is no installed data either): every file is read from and written
//   beside the program;
// - installed: the program is <prefix>/games/zorbix and its data, "Sounds.dxw" included, in
//   <prefix>/share/games/zorbix;
//   the files a player changes live in the player's own places, "Options.ini" under
//   $XDG_CONFIG_HOME/zorbix, "HiScores.dat" and the kept games (replays/) under
//   $XDG_DATA_HOME/zorbix, and the converted pictures under $XDG_CACHE_HOME/zorbix/Images
//   (each with its usual default below $HOME).
// Nothing else in the game builds these paths.

#include <functional>
#include <optional>
#include <string>

enum class TFileLayout { Portable, Installed };

struct TGameFilePlaces {
    TFileLayout Layout = TFileLayout::Portable;
    std::string DataDirectory;              // "Sounds.dxw", "Images/", the music; ends in '/'
    std::string OptionsFile;                // the full name of "Options.ini"
    std::string HighScoresFile;             // the full name of "HiScores.dat"
    std::string ConvertedPicturesDirectory; // where the first run's bitmaps go; ends in '/'
    std::string ReplaysDirectory;           // the kept games ("Replays/" beside the program)
};

// Answers the value of an environment variable, or nothing when it is not set.
using TEnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The places for a program in `programDirectory` (ending in '/'). `forcePortable` keeps every
// file beside the program whatever the directory holds. Looks only at where "Sounds.dxw"
// exists; creates nothing.
TGameFilePlaces GameFilePlacesFor(const std::string& programDirectory, bool forcePortable,
                                  const TEnvironmentLookup& environment);

// The places of the running program (ProgramDirectory, the process's environment).
TGameFilePlaces GameFilePlaces();

// Creates the directory that holds `file` ("a/b/" counts as a file in "a/b"), with its
// parents, where missing. Quiet when it cannot: the write that follows reports the failure
// with the file's own name.
void CreateDirectoryFor(const std::string& file);

// Before the first write of a player's file: in the installed layout the player's directory
// may not exist yet and is made; beside the program nothing is made, so a missing directory
// there is reported by the write as it always was.
void PreparePlayerDirectoryFor(const std::string& file);
