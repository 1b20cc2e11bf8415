// Any bytes as a picture bitmap, or as a picture and its mask, through the texture loaders
// and the picture decoder they use. Input: one byte whose low bit asks for a mask, four
// bytes (little-endian) giving the picture's length, the picture, then the mask. A loader
// may refuse with its message, never crash, and an opaque texture has every texel written.

#include "core/GameError.h"
#include "render/Textures.h"
#include "tests/fuzz/BitmapPair.h"
#include "tests/fuzz/MemoryDevice.h"
#include "tests/fuzz/QuietQt.h"
#include "tests/fuzz/ScratchFiles.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {
const TScratchFiles Scratch;
TComRef<IDirect3DDevice8> Device = TComRef<IDirect3DDevice8>::Attach(new TMemoryDevice);

void RequireKnownRefusal(const EGameError& error) {
    const std::string_view message = error.what();
    if (message != "Bitmap image is not valid" && !message.starts_with("Cannot open file ")) {
        __builtin_trap();
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    DropQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TBitmapPair pair = SplitBitmapPair({data, size});
    const std::string picture = Scratch.Write("picture.bmp", pair.Picture);
    try {
        if (!pair.Masked) {
            const auto texture = LoadTextureFromBitmap(Device.Get(), picture);
            if (!texture || !static_cast<TMemoryTexture*>(texture.Get())->AllOpaque()) {
                __builtin_trap();
            }
            return 0;
        }
        const std::string mask = Scratch.Write("pictureM.bmp", pair.Mask);
        if (!LoadMaskedTexture(Device.Get(), picture, mask)) {
            __builtin_trap();
        }
    } catch (const EGameError& error) {
        RequireKnownRefusal(error);
    }
    return 0;
}
