#include "tools/imagegen/JpegWriter.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace {

constexpr std::size_t ChunkSize = 16384;

// libjpeg reports fatal errors through a callback that must not return; we jump back to the
// encoder with the message instead of letting the library end the process.
struct TErrorTrap {
    jpeg_error_mgr Manager;
    std::jmp_buf Return;
    char Message[JMSG_LENGTH_MAX];
};

void TrapError(j_common_ptr info) {
    auto* trap = reinterpret_cast<TErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->Message);
    std::longjmp(trap->Return, 1);
}

// Collects the encoded stream in memory, chunk by chunk.
struct TVectorDestination {
    jpeg_destination_mgr Manager;
    std::vector<std::uint8_t>* Output;
    JOCTET Chunk[ChunkSize];
};

void StartChunk(j_compress_ptr info) {
    auto* dest = reinterpret_cast<TVectorDestination*>(info->dest);
    dest->Manager.next_output_byte = dest->Chunk;
    dest->Manager.free_in_buffer = ChunkSize;
}

boolean FlushFullChunk(j_compress_ptr info) {
    auto* dest = reinterpret_cast<TVectorDestination*>(info->dest);
    dest->Output->insert(dest->Output->end(), dest->Chunk, dest->Chunk + ChunkSize);
    StartChunk(info);
    return TRUE;
}

void FlushLastChunk(j_compress_ptr info) {
    auto* dest = reinterpret_cast<TVectorDestination*>(info->dest);
    const std::size_t used = ChunkSize - dest->Manager.free_in_buffer;
    dest->Output->insert(dest->Output->end(), dest->Chunk, dest->Chunk + used);
}

// Only plain data lives in this frame, so the error jump skips no destructor.
bool EncodeRows(const QImage& rgb, TVectorDestination& dest, TErrorTrap& trap) {
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&trap.Manager);
    trap.Manager.error_exit = TrapError;
    if (setjmp(trap.Return) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    dest.Manager.init_destination = StartChunk;
    dest.Manager.empty_output_buffer = FlushFullChunk;
    dest.Manager.term_destination = FlushLastChunk;
    info.dest = &dest.Manager;

    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, JpegQuality, TRUE);
    info.optimize_coding = TRUE;
    info.dct_method = JDCT_ISLOW;
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }

    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg takes non-const row pointers but only reads them.
        auto* row = const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

bool EncodeJpeg(const QImage& picture, std::vector<std::uint8_t>& encoded, std::string& message) {
    if (picture.isNull()) {
        message = "empty picture";
        return false;
    }
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    // Large buffers live on the heap: the chunk alone is 16 KiB.
    auto dest = std::make_unique<TVectorDestination>();
    auto trap = std::make_unique<TErrorTrap>();
    encoded.clear();
    dest->Output = &encoded;
    if (!EncodeRows(rgb, *dest, *trap)) {
        message = trap->Message;
        encoded.clear();
        return false;
    }
    return true;
}
