// Any bytes as a shipped JPEG picture through the first run's conversion: it is refused with
// the decoder's code and leaves no bitmap, or it leaves a whole bitmap the texture loader
// takes as an opaque texture.

#include "core/GameError.h"
#include "render/BitmapCheck.h"
#include "render/JpegConversion.h"
#include "render/Textures.h"
#include "tests/fuzz/MemoryDevice.h"
#include "tests/fuzz/QuietQt.h"
#include "tests/fuzz/ScratchFiles.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace {
const TScratchFiles Scratch;
TComRef<IDirect3DDevice8> Device = TComRef<IDirect3DDevice8>::Attach(new TMemoryDevice);
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    DropQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string jpeg = Scratch.Write("fone.jpg", {data, size});
    const std::string bitmap = Scratch.Path("fone.bmp");
    Scratch.Remove("fone.bmp");
    try {
        ConvertJpegToBitmap(jpeg, bitmap);
    } catch (const EGameError& error) {
        if (!std::string_view(error.what()).starts_with("JPEG error #") ||
            std::filesystem::exists(bitmap)) {
            __builtin_trap();
        }
        return 0;
    }
    const auto texture = LoadTextureFromBitmap(Device.Get(), bitmap);
    if (!texture || !static_cast<TMemoryTexture*>(texture.Get())->AllOpaque()) {
        __builtin_trap();
    }
    return 0;
}
