#pragma once
// Everything a frame of a device drew, written down as it is drawn: each clear and
// each draw with the full state it used and the content stamps of its texture and vertex
// buffer. Two frames with equal records, each opened by a clear of the whole target, make the
// same picture, so a frame whose record equals that of the picture already in the back buffer
// need not be rasterised again. Equality is exact (word by word, no hashing), so a change of
// any kind never reuses a picture. Keeps its storage from frame to frame: no allocation once
// the longest frame has been seen.

#include "platform/d3d/FixedFunctionState.h"
#include "platform/d3d/StateWords.h"

#include <cstdint>
#include <vector>

class TFrameSignature {
public:
    // Opens the record of a new frame drawn into a `width` by `height` back buffer, with or
    // without a depth buffer.
    void StartFrame(int width, int height, bool hasDepth);
    // A clear: `rects` holds `count` rectangles, or is null for the whole target.
    void AddClear(DWORD count, const D3DRECT* rects, bool color, D3DCOLOR value, bool depth,
                  float z);
    void AddDraw(const TFixedFunctionState& state, const TDrawSources& sources);

    // True when this frame's record so far equals the record of the picture the back buffer
    // holds (see HoldsPicture), and the frame began with a clear of the whole target.
    bool RepeatsHeldPicture() const;
    // The back buffer now holds the picture of this frame's record so far.
    void HoldsPicture();
    // The back buffer holds a picture no record describes.
    void ForgetHeldPicture();

private:
    void AddWord(std::uint32_t word);
    void AddFloat(float value);
    void AddState(const TFixedFunctionState& state);

    std::vector<std::uint32_t> Current;
    std::vector<std::uint32_t> Held;
    bool CurrentStartsClean = false;
    bool HeldValid = false;
    bool FirstOperation = true;
    bool HasDepth = false;
    // The state version of the previous draw of this frame: a draw with no state change since
    // then is written as a short mark instead of the whole state.
    std::uint64_t LastStateVersion = 0;
    bool HasLastState = false;
};
