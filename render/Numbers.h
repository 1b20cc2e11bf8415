#pragma once
// The score as textured digits floating in a corner of the view, placed and tilted per view.
// Shows nothing until the first ShowScore, then always the last score given.

#include "core/Types.h"
#include "render/SceneGeometry.h"

#include <array>
#include <cstdint>
#include <string>

class TNumbers {
public:
    static constexpr std::int32_t MaxDigits = 11;

    // Keeps the device and loads the pictures of the ten digits with their masks from
    // `imagesDirectory` ("0.bmp" with "0M.bmp" and so on). Throws EGameError for a missing
    // or bad file.
    TNumbers(TComRef<IDirect3DDevice8> device, const std::string& imagesDirectory);

    // Takes the decimal digits of `score` (of 0 when negative). Cheap: no allocation.
    void ShowScore(std::int32_t score);
    // Draws the digits at the place of the current view with blending switched on around each
    // one; Options must exist.
    void Draw(TSceneMesh mesh);

    TComRef<IDirect3DDevice8> Device;
    std::array<std::uint8_t, MaxDigits> Digits{};
    std::uint8_t DigitCount = 0;
    // Entry k: the world matrix of the digit in place k, and for k up to 9 the picture of k.
    std::array<TObjMatrix, MaxDigits> Poses{};
};

// The width of one digit: each place lies this much further towards -x.
constexpr float DigitSpacing = 0.1f;
