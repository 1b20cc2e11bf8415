#pragma once
// Something the shared audio output mixes in every period: the effects' mixer, a playing tune.

#include <cstdint>

class IAudioSource {
public:
    // On the audio thread: adds frames stereo frames (interleaved left, right; full scale is
    // 32767) to sums, never blocking for long and never allocating.
    virtual void AddTo(float* sums, std::uint32_t frames) = 0;

protected:
    ~IAudioSource() = default;
};
