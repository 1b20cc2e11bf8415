#pragma once
// Renders one voice into the mixer's sums: converts its samples to the output's range,
// steps through them at its rate with linear interpolation, applies its gains, and loops or
// ends at the recording's end.

#include <cstdint>

// The recording a voice plays: PCM, 8-bit unsigned or 16-bit signed little-endian, one or
// two interleaved channels.
struct TVoiceSamples {
    const std::uint8_t* Data = nullptr;
    std::uint32_t Frames = 0;
    std::uint16_t Channels = 1;
    std::uint16_t BitsPerSample = 16;
};

struct TVoiceControls {
    std::uint32_t Rate = 44100; // samples a second the recording is played at
    float LeftGain = 1;
    float RightGain = 1;
    bool Looping = false;
};

struct TVoicePlayback {
    TVoiceSamples Samples;
    TVoiceControls Controls;
    std::uint64_t Position = 0; // frames, 32.32 fixed point
    std::uint64_t Step = 0;     // recording frames per output frame, 32.32 fixed point
    bool Active = false;
};

// Adds frames stereo frames of the voice to sums (interleaved left, right) and advances it;
// a voice that is not looping turns inactive at its end.
void RenderVoice(TVoicePlayback& voice, float* sums, std::uint32_t frames);
