#pragma once
// Shared helpers of the renderer's tests: an offscreen reference device in Direct3DDevice,
// a temporary program directory, and small bitmap and JPEG files written on the spot.

#include "platform/interfaces/D3D8.h"

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Makes an offscreen reference device of the given size and stores it in Direct3DDevice.
void UseReferenceDevice(UINT width, UINT height);

// A fresh directory with an "Images" folder, removed again when the object goes.
class TTemporaryProgramDirectory {
public:
    TTemporaryProgramDirectory();
    ~TTemporaryProgramDirectory();
    // The directory with its trailing separator, as ProgramDirectory gives it.
    std::string Path() const { return Root.string() + "/"; }
    std::string Images() const { return Path() + "Images/"; }

private:
    std::filesystem::path Root;
};

void WriteBitmap(const std::string& fileName, const QImage& image);
// A JPEG of one colour.
void WriteJpeg(const std::string& fileName, int width, int height, QRgb colour);
void WriteBytes(const std::string& fileName, const std::string& bytes);

// The texels of level 0, row by row.
std::vector<std::uint32_t> ReadTexels(IDirect3DTexture8& texture);

// Solid colours of the test pictures, so a frame can be checked pixel by pixel.
constexpr QRgb TitleColour = 0xFFC81E1E;
constexpr QRgb GameOverColour = 0xFF1EC81E;
constexpr QRgb InterludeColour = 0xFF1E1EC8;
constexpr QRgb PauseColour = 0xFFF0F050;
constexpr QRgb DigitColour = 0xFFFFFFFF;

// Writes every picture the scene loads into `images`, each a small solid square; the digits
// are fully opaque.
void WriteTestPictures(const std::string& images);

// Whether two 0x..RRGGBB colours differ by at most `tolerance` in each channel.
bool NearColour(std::uint32_t a, std::uint32_t b, int tolerance);
