#pragma once
// The whole scene loaded on the device already in Direct3DDevice, without the game's window:
// pictures converted if needed, scene states, geometry, textures, the drum, the game (its
// score going to the digits, its sounds and final scores nowhere) and the options. Used by
// the headless modes and the renderer's tests. One at a time.

#include "render/ScoreDigitsOutlet.h"

#include <string>

class THeadlessScene {
public:
    // Loads everything from `programDirectory` (with its trailing separator), the converted
    // pictures from `convertedPicturesDirectory` (by default its "Images/"). Throws
    // EGameError for a missing or bad picture or a failing device, having released what it
    // made and the device.
    explicit THeadlessScene(const std::string& programDirectory,
                            const std::string& convertedPicturesDirectory = {});
    // Releases the scene and then the device.
    ~THeadlessScene();
    THeadlessScene(const THeadlessScene&) = delete;
    THeadlessScene& operator=(const THeadlessScene&) = delete;

private:
    TScoreDigitsOutlet Outlet;
};

// Releases the scene's resources and the device, for a scene that could not be completed.
void ReleaseHeadlessScene();
