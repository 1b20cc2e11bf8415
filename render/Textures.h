#pragma once
// Turning bitmap files into textures: 32-bit, in the managed pool, the picture stored bottom
// row first so that the scene's texture coordinates show it upright. Run at load time only.

#include "platform/interfaces/D3D8.h"

#include <string>

// An opaque texture of the bitmap `fileName`. Throws EGameError "Cannot open file <name>"
// when the file cannot be opened, is not a regular file or is larger than any picture
// accepted, and "Bitmap image is not valid" when it is not a whole bitmap the reader
// understands (BitmapCheck.h). Returns none when the device refuses to create or lock the texture.
TComRef<IDirect3DTexture8> LoadTextureFromBitmap(IDirect3DDevice8* device,
                                                 const std::string& fileName);

// The same with alpha taken from a mask bitmap of the same size: the mean of its red, green
// and blue (white opaque, black transparent). A mask of another size is not valid.
TComRef<IDirect3DTexture8> LoadMaskedTexture(IDirect3DDevice8* device,
                                             const std::string& pictureName,
                                             const std::string& maskName);
