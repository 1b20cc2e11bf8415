#pragma once
// Everything the loading sequence makes for the scene: the pictures and textures, the fixed
// placements, the background drum, the game and the score digits. Made once after the device
// and the geometry exist; they live until the program ends. Only LoadSceneResources and
// ReleaseSceneResources write them.

#include "platform/interfaces/D3D8.h"
#include "render/BackPlane.h"
#include "render/Numbers.h"

#include <functional>
#include <memory>
#include <string>

extern TComRef<IDirect3DTexture8> TitleTexture;
extern TComRef<IDirect3DTexture8> GameOverTexture;
extern TComRef<IDirect3DTexture8> InterludeTexture;
extern TComRef<IDirect3DTexture8> PauseTexture;
extern TComRef<IDirect3DTexture8> FieldTexture;
extern TComRef<IDirect3DTexture8> FrameTexture;

extern std::unique_ptr<TBackPlane> BackPlane;
extern std::unique_ptr<TNumbers> Numbers;

// Shows the score on the digits once they exist: the one way a score reaches the screen,
// for the window's game and the headless scene's alike.
void ShowScoreOnDigits(std::int32_t score);

// Receives the width of the loading bar, in pixels of its 160.
using TLoadProgress = std::function<void(int width)>;

// The texture part of the loading sequence, on Direct3DDevice: the six pictures (reporting
// 50, 90, 130, 130, 140 and 145 after them), the eight ball looks, the lane panels and the
// pit's rim, the drum, the game and the digits. The pictures that ship as bitmaps come from
// `dataDirectory` + "Images/", the five the first run converts from
// `convertedPicturesDirectory`; both end in a separator. A missing or bad picture throws
// EGameError, and nothing loaded so far is kept.
void LoadSceneResources(const TLoadProgress& progress, const std::string& dataDirectory,
                        const std::string& convertedPicturesDirectory);
// The same with every picture under `programDirectory` + "Images/".
void LoadSceneResources(const TLoadProgress& progress, const std::string& programDirectory);

// Drops everything LoadSceneResources made, and the scene's vertex buffer; before the
// device goes.
void ReleaseSceneResources();
