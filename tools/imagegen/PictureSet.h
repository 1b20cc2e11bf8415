#pragma once
// The complete set of the game's pictures: draws each one and hands it to the writer under
// the file name the game loads it by.

class TFontKit;
class TPictureWriter;

// Draws and writes every picture. Throws TPictureWriteError if a file cannot be written.
void WriteAllPictures(TPictureWriter& writer, const TFontKit& fonts);
