#include "platform/dsound/VoiceRenderer.h"

namespace {
constexpr float FractionScale = 1.0f / 4294967296.0f;

template <int Bits> float ReadSample(const std::uint8_t* data, std::size_t index) {
    if constexpr (Bits == 8) {
        return static_cast<float>((data[index] - 128) * 256);
    } else {
        const auto bits = static_cast<std::uint16_t>(data[2 * index] | (data[2 * index + 1] << 8));
        return static_cast<float>(static_cast<std::int16_t>(bits));
    }
}

template <int Bits, int Channels>
void RenderAs(TVoicePlayback& voice, float* sums, std::uint32_t frames) {
    const TVoiceSamples& samples = voice.Samples;
    const std::uint64_t end = static_cast<std::uint64_t>(samples.Frames) << 32;
    const bool looping = voice.Controls.Looping;
    if (end == 0) {
        voice.Active = false;
        return;
    }
    for (std::uint32_t i = 0; i < frames; ++i) {
        if (voice.Position >= end) {
            if (!looping) {
                voice.Active = false;
                return;
            }
            voice.Position %= end;
        }
        const auto frame = static_cast<std::uint32_t>(voice.Position >> 32);
        // Past the last frame a loop leads back into its first; a single play holds its last.
        std::uint32_t next = frame + 1;
        if (next == samples.Frames) {
            next = looping ? 0 : frame;
        }
        const float fraction = static_cast<float>(voice.Position & 0xFFFFFFFFu) * FractionScale;
        float channel[2];
        for (int c = 0; c < Channels; ++c) {
            const float here = ReadSample<Bits>(samples.Data, std::size_t{frame} * Channels + c);
            const float there = ReadSample<Bits>(samples.Data, std::size_t{next} * Channels + c);
            channel[c] = here + (there - here) * fraction;
        }
        const float right = Channels == 2 ? channel[1] : channel[0];
        sums[2 * i] += channel[0] * voice.Controls.LeftGain;
        sums[2 * i + 1] += right * voice.Controls.RightGain;
        voice.Position += voice.Step;
    }
    // Settle the state now rather than a pass later: a finished sound reports so at once.
    if (voice.Position >= end) {
        if (looping) {
            voice.Position %= end;
        } else {
            voice.Active = false;
        }
    }
}
} // namespace

void RenderVoice(TVoicePlayback& voice, float* sums, std::uint32_t frames) {
    const bool stereo = voice.Samples.Channels == 2;
    if (voice.Samples.BitsPerSample == 8) {
        stereo ? RenderAs<8, 2>(voice, sums, frames) : RenderAs<8, 1>(voice, sums, frames);
    } else {
        stereo ? RenderAs<16, 2>(voice, sums, frames) : RenderAs<16, 1>(voice, sums, frames);
    }
}
