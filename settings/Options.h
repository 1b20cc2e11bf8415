#pragma once
// The one settings object: the four settings kept in "Options.ini" (view, difficulty, sound
// effects, music), the running game's score and lives, and the fixed per-view placements of
// the camera and the score digits.

#include "core/Types.h"

#include <cstdint>
#include <memory>
#include <string>

// The four views: 0 Top, 1 Half side, 2 Side, 3 Corner. A larger stored view is shown and
// drawn as the last.
constexpr std::uint8_t ViewCount = 4;
constexpr std::uint8_t LastView = ViewCount - 1;

struct TDigitsPlace {
    TVector Pos;
    TVector Rot; // radians about x, y and z
};

class TOptions {
public:
    // Fills the placement constants and the file name; reads no file.
    TOptions();

    // Reads "View", "Dificulty", "Sounds", "Music"; a missing file or key, or a value that is
    // not a number, gives its default. A view above 3 is taken as 3 (Corner) and any nonzero
    // difficulty as 1 (Normal), as the menu shows them. Always returns true.
    bool LoadOptions();
    // Writes the four settings; throws EGameError "Unable to write to %s" when it cannot.
    bool SaveOptions();

    std::uint8_t Difficulty = 0; // 0 Easy, 1 Normal
    std::uint8_t View = 0;       // 0 Top, 1 Half side, 2 Side, 3 Corner
    TVector ViewEye[ViewCount];
    TDigitsPlace DigitsPlace[ViewCount];
    std::string IniFileName;
    std::int32_t Score = 0;
    std::int8_t Lives = 0;
    bool SoundOn = false;
    bool MusicOn = false;
};

// The one instance, created at start-up before the 3D device (the driver and the headless
// scene make their own); its settings are written by the menus and LoadOptions, the score
// and lives by the game.
extern std::unique_ptr<TOptions> Options;
