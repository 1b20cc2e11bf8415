#pragma once
// The first-run conversion of the pictures that ship as JPEG into the bitmaps the texture
// loader reads. Runs before the device exists.

#include <string>

// Decodes the JPEG file `path` at full size and saves it as a bitmap of the same name with
// the extension ".bmp", overwriting any such file. Throws EGameError "Cannot open file
// <path>" when the file cannot be opened, "JPEG error #<code>" with the decoder's message
// code when it cannot be decoded, and "Cannot create file <bitmap>" when the bitmap cannot
// be written.
void ConvertJpegToBitmap(const std::string& path);

// Converts "Images/nag.jpg", "logo.jpg", "gameover.jpg", "fone.jpg" and "field.jpg" under
// `programDirectory` (ending in a separator), in that order, unless "Images/logo.bmp"
// exists already: the title picture stands for all five.
void ConvertPictures(const std::string& programDirectory);
