#pragma once
// The first-run conversion of the pictures that ship as JPEG into the bitmaps the texture
// loader reads. Runs before the device exists.

#include <string>
#include <string_view>

// Decodes the JPEG file `path` at full size and saves it as a bitmap of the same name with
// the extension ".bmp", replacing any such regular file whole (AtomicFile.h). Throws
// EGameError "Cannot open file <path>" when the file cannot be opened, is not a regular file
// or is too large for a picture, "JPEG error #<code>" with the decoder's message code when
// it cannot be decoded, is damaged or ends early, or is larger than MaxPictureSide, and
// "Cannot create file <bitmap>" when the bitmap cannot be written (a link, a pipe or a
// device in its place included).
void ConvertJpegToBitmap(const std::string& path);
// The same, saving the bitmap as `bitmap`.
void ConvertJpegToBitmap(const std::string& path, const std::string& bitmap);

// Converts "Images/nag.jpg", "gameover.jpg", "fone.jpg", "field.jpg" and "logo.jpg" under
// `dataDirectory` (ending in a separator), in that order, into bitmaps of the same names in
// `convertedPicturesDirectory` (ending in a separator; created when missing), unless
// "logo.bmp" exists there already: the title picture stands for all five, so it is made last.
void ConvertPictures(const std::string& dataDirectory,
                     const std::string& convertedPicturesDirectory);
// The same, with the bitmaps beside the pictures in `programDirectory` + "Images/".
void ConvertPictures(const std::string& programDirectory);

// True for the bitmap names ("logo.bmp", ...) the first run makes from JPEG pictures.
bool IsConvertedPicture(std::string_view bitmapName);
