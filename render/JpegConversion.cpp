#include "render/JpegConversion.h"

#include "core/GameError.h"
#include "platform/system/GameFilePlaces.h"

#include <QImage>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {
struct TJpegErrors {
    jpeg_error_mgr Base;
    std::jmp_buf Escape;
};

// libjpeg must never end the process: its fatal errors jump back into DecodeJpeg.
[[noreturn]] void LeaveDecoder(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegErrors*>(info->err)->Escape, 1);
}
// Warnings about recoverable damage are not shown to the player.
void KeepQuiet(j_common_ptr) {}

struct TDecodedPicture {
    std::vector<JSAMPLE> Rgb; // three samples a pixel, rows top first
    JDIMENSION Width = 0;
    JDIMENSION Height = 0;
};

// Decodes `file` into `picture`; false with the decoder's message code on failure. Between
// setjmp and any jump back only plain data lives on this frame, so nothing is skipped.
bool DecodeJpeg(std::FILE* file, TDecodedPicture& picture, int& errorCode) {
    jpeg_decompress_struct info{};
    TJpegErrors errors{};
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = LeaveDecoder;
    errors.Base.output_message = KeepQuiet;
    if (setjmp(errors.Escape) != 0) {
        errorCode = errors.Base.msg_code;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture.Width = info.output_width;
    picture.Height = info.output_height;
    picture.Rgb.resize(static_cast<std::size_t>(picture.Width) * picture.Height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row =
            picture.Rgb.data() + static_cast<std::size_t>(info.output_scanline) * picture.Width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr const char* ConvertedPictures[] = {"nag.jpg", "logo.jpg", "gameover.jpg", "fone.jpg",
                                             "field.jpg"};
} // namespace

void ConvertJpegToBitmap(const std::string& path) {
    ConvertJpegToBitmap(path, std::filesystem::path(path).replace_extension(".bmp").string());
}

void ConvertJpegToBitmap(const std::string& path, const std::string& bitmap) {
    const std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw EGameError(FormatMessage("Cannot open file %s", path));
    }
    TDecodedPicture picture;
    int errorCode = 0;
    if (!DecodeJpeg(file.get(), picture, errorCode)) {
        throw EGameError("JPEG error #" + std::to_string(errorCode));
    }
    QImage image(static_cast<int>(picture.Width), static_cast<int>(picture.Height),
                 QImage::Format_RGB888);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.Width) * 3;
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(image.scanLine(y), picture.Rgb.data() + y * rowBytes, rowBytes);
    }
    if (!image.save(QString::fromStdString(bitmap), "BMP")) {
        throw EGameError(FormatMessage("Cannot create file %s", bitmap));
    }
}

void ConvertPictures(const std::string& programDirectory) {
    ConvertPictures(programDirectory, programDirectory + "Images/");
}

void ConvertPictures(const std::string& dataDirectory,
                     const std::string& convertedPicturesDirectory) {
    if (std::filesystem::exists(convertedPicturesDirectory + "logo.bmp")) {
        return;
    }
    CreateDirectoryFor(convertedPicturesDirectory);
    const std::string images = dataDirectory + "Images/";
    for (const char* name : ConvertedPictures) {
        const std::string bitmap = std::filesystem::path(name).replace_extension(".bmp").string();
        ConvertJpegToBitmap(images + name, convertedPicturesDirectory + bitmap);
    }
}

bool IsConvertedPicture(std::string_view bitmapName) {
    return std::ranges::any_of(ConvertedPictures, [bitmapName](const char* jpeg) {
        return std::filesystem::path(jpeg).replace_extension(".bmp") == bitmapName;
    });
}
