#pragma once
// Saves finished pictures into the game's "Images" directory, each in the format its file
// name asks for: ".jpg" through our JPEG encoder, ".bmp" as a 24-bit Windows bitmap, ".png"
// with its alpha channel kept.

#include <QImage>
#include <QString>

#include <stdexcept>

// Raised when a picture cannot be written; the message names the file.
class TPictureWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TPictureWriter {
public:
    // Creates `imagesDirectory` (and its parents) if needed; throws TPictureWriteError if it
    // cannot.
    explicit TPictureWriter(const QString& imagesDirectory);

    // Writes `picture` as `fileName` inside the images directory, replacing any older file.
    // Throws TPictureWriteError on an unknown extension or a failed write.
    void Put(const QString& fileName, const QImage& picture);

    int FilesWritten() const { return Written; }

private:
    QString Directory;
    int Written = 0;
};
