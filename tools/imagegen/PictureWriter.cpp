#include "tools/imagegen/PictureWriter.h"

#include "tools/imagegen/JpegWriter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(const QString& path, const QString& reason) {
    throw TPictureWriteError(QStringLiteral("cannot write %1: %2").arg(path, reason).toStdString());
}

void WriteJpegFile(const QString& path, const QImage& picture) {
    std::vector<std::uint8_t> encoded;
    std::string message;
    if (!EncodeJpeg(picture, encoded, message)) {
        Fail(path, QString::fromStdString(message));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        Fail(path, file.errorString());
    }
    const auto size = static_cast<qint64>(encoded.size());
    if (file.write(reinterpret_cast<const char*>(encoded.data()), size) != size || !file.commit()) {
        Fail(path, file.errorString());
    }
}

void WriteQtFile(const QString& path, const QImage& picture, const char* format) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        Fail(path, file.errorString());
    }
    if (!picture.save(&file, format) || !file.commit()) {
        Fail(path, file.errorString());
    }
}

} // namespace

TPictureWriter::TPictureWriter(const QString& imagesDirectory) : Directory(imagesDirectory) {
    if (!QDir().mkpath(Directory)) {
        Fail(Directory, QStringLiteral("the directory cannot be created"));
    }
}

void TPictureWriter::Put(const QString& fileName, const QImage& picture) {
    const QString path = QDir(Directory).filePath(fileName);
    if (picture.isNull()) {
        Fail(path, QStringLiteral("the picture is empty"));
    }
    if (fileName.endsWith(QLatin1String(".jpg"))) {
        WriteJpegFile(path, picture);
    } else if (fileName.endsWith(QLatin1String(".bmp"))) {
        // Without an alpha channel Qt writes 24 bits per pixel, which every reader accepts.
        WriteQtFile(path, picture.convertToFormat(QImage::Format_RGB32), "BMP");
    } else if (fileName.endsWith(QLatin1String(".png"))) {
        WriteQtFile(path, picture.convertToFormat(QImage::Format_ARGB32), "PNG");
    } else {
        Fail(path, QStringLiteral("unknown picture format"));
    }
    ++Written;
}
