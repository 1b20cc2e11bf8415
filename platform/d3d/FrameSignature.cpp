#include "platform/d3d/FrameSignature.h"

#include <bit>

namespace {

// Tags keep records of different shapes from lining up by accident.
enum ERecordTag : std::uint32_t {
    FrameTag = 0x46524D31,
    ClearTag = 0x434C5231,
    DrawTag = 0x44525731,
    SameStateTag = 0x53414D31,
    FullStateTag = 0x53544131,
};

} // namespace

void TFrameSignature::StartFrame(int width, int height, bool hasDepth) {
    Current.clear();
    CurrentStartsClean = false;
    FirstOperation = true;
    HasDepth = hasDepth;
    HasLastState = false;
    AddWord(FrameTag);
    AddWord(static_cast<std::uint32_t>(width));
    AddWord(static_cast<std::uint32_t>(height));
    AddWord(hasDepth ? 1u : 0u);
}

void TFrameSignature::AddClear(DWORD count, const D3DRECT* rects, bool color, D3DCOLOR value,
                               bool depth, float z) {
    if (FirstOperation) {
        // Only a frame that wipes everything it could see of the previous one is described
        // by its own record alone.
        CurrentStartsClean = rects == nullptr && color && (depth || !HasDepth);
        FirstOperation = false;
    }
    AddWord(ClearTag);
    AddWord(rects == nullptr ? 0xFFFFFFFFu : count);
    for (DWORD i = 0; rects != nullptr && i < count; ++i) {
        AddWord(static_cast<std::uint32_t>(rects[i].x1));
        AddWord(static_cast<std::uint32_t>(rects[i].y1));
        AddWord(static_cast<std::uint32_t>(rects[i].x2));
        AddWord(static_cast<std::uint32_t>(rects[i].y2));
    }
    AddWord((color ? 1u : 0u) | (depth ? 2u : 0u));
    AddWord(value);
    AddFloat(z);
}

void TFrameSignature::AddDraw(const TFixedFunctionState& state, const TDrawSources& sources) {
    FirstOperation = false;
    AddWord(DrawTag);
    if (HasLastState && state.Version() == LastStateVersion) {
        AddWord(SameStateTag);
    } else {
        AddState(state);
        LastStateVersion = state.Version();
        HasLastState = true;
    }
    AppendSourceWords(sources, Current);
}

bool TFrameSignature::RepeatsHeldPicture() const {
    return HeldValid && CurrentStartsClean && Current == Held;
}

void TFrameSignature::HoldsPicture() {
    // Only a record that starts clean describes the whole picture.
    HeldValid = CurrentStartsClean;
    if (HeldValid) {
        Held.assign(Current.begin(), Current.end());
    }
}

void TFrameSignature::ForgetHeldPicture() {
    HeldValid = false;
}

void TFrameSignature::AddWord(std::uint32_t word) {
    Current.push_back(word);
}

void TFrameSignature::AddFloat(float value) {
    // Bit patterns: exact, and a NaN equals itself.
    AddWord(std::bit_cast<std::uint32_t>(value));
}

void TFrameSignature::AddState(const TFixedFunctionState& state) {
    AddWord(FullStateTag);
    AppendStateWords(state, Current);
}
