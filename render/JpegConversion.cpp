#include "render/JpegConversion.h"

#include "core/GameError.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/GameFilePlaces.h"
#include "platform/files/RegularFile.h"
#include "render/BitmapCheck.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include <jerror.h>
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
// A warning means damage, a file that ends early above all (the decoder would fill the rest
// with grey): the picture is refused with the warning's code rather than shown broken.
// Trace messages (level above 0) are not shown.
void RefuseDamage(j_common_ptr info, int level) {
    if (level < 0) {
        LeaveDecoder(info);
    }
}
void KeepQuiet(j_common_ptr) {}

struct TDecodedPicture {
    std::vector<JSAMPLE> Rgb; // three samples a pixel, rows top first
    JDIMENSION Width = 0;
    JDIMENSION Height = 0;
};

// Decodes `file` into `picture`; false with the decoder's message code on failure. Between
// setjmp and any jump back only plain data lives on this frame, so nothing is skipped.
bool DecodeJpeg(const std::vector<std::uint8_t>& file, TDecodedPicture& picture, int& errorCode) {
    jpeg_decompress_struct info{};
    TJpegErrors errors{};
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = LeaveDecoder;
    errors.Base.emit_message = RefuseDamage;
    errors.Base.output_message = KeepQuiet;
    if (setjmp(errors.Escape) != 0) {
        errorCode = errors.Base.msg_code;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    // Sized from the header before any pixel is decoded: a forged size must not claim
    // gigabytes of memory.
    if (info.image_width > MaxPictureSide || info.image_height > MaxPictureSide) {
        errors.Base.msg_code = JERR_IMAGE_TOO_BIG;
        LeaveDecoder(reinterpret_cast<j_common_ptr>(&info));
    }
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

// Far above any picture of MaxPictureSide the game could ship.
constexpr std::size_t MaxJpegFileBytes = 32u << 20;

// The title picture comes last: its bitmap stands for all five at the next start, so it may
// only exist once the other four are whole.
constexpr const char* ConvertedPictures[] = {"nag.jpg", "gameover.jpg", "fone.jpg", "field.jpg",
                                             "logo.jpg"};
} // namespace

void ConvertJpegToBitmap(const std::string& path) {
    ConvertJpegToBitmap(path, std::filesystem::path(path).replace_extension(".bmp").string());
}

void ConvertJpegToBitmap(const std::string& path, const std::string& bitmap) {
    std::vector<std::uint8_t> file;
    if (ReadRegularFile(path, MaxJpegFileBytes, file)) {
        throw EGameError(FormatMessage("Cannot open file %s", path));
    }
    TDecodedPicture picture;
    int errorCode = 0;
    if (!DecodeJpeg(file, picture, errorCode)) {
        throw EGameError("JPEG error #" + std::to_string(errorCode));
    }
    QImage image(static_cast<int>(picture.Width), static_cast<int>(picture.Height),
                 QImage::Format_RGB888);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.Width) * 3;
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(image.scanLine(y), picture.Rgb.data() + y * rowBytes, rowBytes);
    }
    // Replaced whole: a conversion killed half way leaves no cut bitmap behind.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "BMP") ||
        ReplaceFileContents(bitmap, std::string_view(encoded.constData(),
                                                     static_cast<std::size_t>(encoded.size())))) {
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
