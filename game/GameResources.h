#pragma once
// The model's data that lives next to the one game object: the poses of the life icons, the
// two materials and the eight ball looks. The renderer reads all of them every frame; the
// game writes the first three, the loading sequence fills the textures.

#include "core/Types.h"

#include <array>
#include <cstdint>

constexpr std::int8_t MaxLives = 9;
constexpr std::uint8_t BallLookCount = 8;

// The game's own resources, written by the game (BuildLifeMatrix and its set-up) and by the
// scene's loading (the textures); the renderer only reads them.
// World matrices of the life icons: icon n (1 to 9) at index n - 1. The renderer draws icons
// 1 to Lives; while a spare flies in, the game overwrites the entry of the flying icon.
extern std::array<TMatrix, MaxLives> LifeMatrices;
extern TMaterial SlotMaterial; // the slot and the life icons
extern TMaterial BallMaterial;
// Looks 0 to 5 are drawn at random; 6 marks every fiftieth ball and 7 every hundredth.
extern std::array<TComRef<IDirect3DTexture8>, BallLookCount> BallTextures;

// Where icon n (1 to 9) rests: the lower row holds 1 to 5, the upper row 6 to 9.
TVector LifeIconPosition(std::int32_t n);
// Puts icon n back into its row; does nothing for n outside 1 to 9.
void BuildLifeMatrix(std::int32_t n);
// Sets the entry of icon n; does nothing for n outside 1 to 9.
void SetLifeMatrix(std::int32_t n, const TMatrix& matrix);
// Gives both materials their colours.
void InitGameMaterials();
