#include "render/Numbers.h"

#include "game/GameResources.h"
#include "math/Math3D.h"
#include "render/Textures.h"
#include "settings/Options.h"

#include <algorithm>
#include <utility>

namespace {
constexpr TVector DigitScale{0.5f, 0.5f, 0}; // flattens the quad onto the plane of its place
} // namespace

TNumbers::TNumbers(TComRef<IDirect3DDevice8> device, const std::string& imagesDirectory)
    : Device(std::move(device)) {
    for (int d = 0; d <= 9; ++d) {
        const std::string digit = std::to_string(d);
        Poses[d].Texture = LoadMaskedTexture(Device.Get(), imagesDirectory + digit + ".bmp",
                                             imagesDirectory + digit + "M.bmp");
    }
}

void TNumbers::ShowScore(std::int32_t score) {
    std::uint32_t rest = score > 0 ? static_cast<std::uint32_t>(score) : 0;
    std::array<std::uint8_t, MaxDigits> reversed{};
    std::uint8_t count = 0;
    do {
        reversed[count++] = static_cast<std::uint8_t>(rest % 10);
        rest /= 10;
    } while (rest > 0);
    for (std::uint8_t i = 0; i < count; ++i) {
        Digits[i] = reversed[count - 1 - i];
    }
    DigitCount = count;
}

void TNumbers::Draw(TSceneMesh mesh) {
    const std::uint8_t view = std::min(Options->View, LastView);
    const TDigitsPlace& place = Options->DigitsPlace[view];
    for (std::uint8_t i = 0; i < DigitCount; ++i) {
        const TVector position =
            VectorSubtract(place.Pos, {DigitSpacing * static_cast<float>(i), 0, 0});
        Poses[i].Matrix = ComposeObjectMatrix(DigitScale, position, place.Rot);
        Device->SetRenderState(D3DRS_ALPHABLENDENABLE, true);
        Device->SetMaterial(&BallMaterial);
        Device->SetTexture(0, Poses[Digits[i]].Texture.Get());
        Device->SetTransform(D3DTS_WORLD, &Poses[i].Matrix);
        DrawMesh(mesh);
        Device->SetRenderState(D3DRS_ALPHABLENDENABLE, false);
        Device->SetTexture(0, nullptr);
    }
}
