#include "platform/dsound/SdlAudioOutput.h"

#include <SDL.h>

#include <cstring>

namespace {
constexpr int PreferredRate = 44100;
constexpr int BytesPerFrame = 4; // 16-bit stereo
} // namespace

std::unique_ptr<TSdlAudioOutput> TSdlAudioOutput::Open() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return nullptr;
    }
    std::unique_ptr<TSdlAudioOutput> output(new TSdlAudioOutput());
    SDL_AudioSpec wanted{};
    wanted.freq = PreferredRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = PeriodFrames;
    wanted.callback = &TSdlAudioOutput::FillPeriod;
    wanted.userdata = output.get();
    SDL_AudioSpec obtained{};
    output->Device =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (output->Device == 0) {
        return nullptr; // the destructor ends the audio subsystem again
    }
    output->OutputFormat = {static_cast<std::uint32_t>(obtained.freq), obtained.samples};
    return output;
}

TSdlAudioOutput::~TSdlAudioOutput() {
    if (Device != 0) {
        // Returns only after the last callback has finished.
        SDL_CloseAudioDevice(Device);
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TSdlAudioOutput::Start(TMixer& mixer) {
    SDL_LockAudioDevice(Device);
    Source = &mixer;
    SDL_UnlockAudioDevice(Device);
    SDL_PauseAudioDevice(Device, 0);
}

void TSdlAudioOutput::FillPeriod(void* self, std::uint8_t* stream, int bytes) {
    TMixer* source = static_cast<TSdlAudioOutput*>(self)->Source;
    if (source == nullptr) {
        std::memset(stream, 0, static_cast<std::size_t>(bytes));
        return;
    }
    source->Mix(reinterpret_cast<std::int16_t*>(stream),
                static_cast<std::uint32_t>(bytes / BytesPerFrame));
}
