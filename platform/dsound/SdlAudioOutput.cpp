#include "platform/dsound/SdlAudioOutput.h"

#include "platform/dsound/LibraryChatter.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>

namespace {
constexpr int PreferredRate = 44100;
constexpr int BytesPerFrame = 4; // 16-bit stereo

// The output while anyone holds it.
std::mutex SharedLock;
std::weak_ptr<TSdlAudioOutput> Shared;
} // namespace

std::shared_ptr<TSdlAudioOutput> TSdlAudioOutput::Acquire() {
    const std::lock_guard lock(SharedLock);
    std::shared_ptr<TSdlAudioOutput> output = Shared.lock();
    if (!output) {
        output = Open();
        Shared = output;
    }
    return output;
}

std::shared_ptr<TSdlAudioOutput> TSdlAudioOutput::Open() {
    SilenceSoundCardLibrary();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return nullptr;
    }
    std::shared_ptr<TSdlAudioOutput> output(new TSdlAudioOutput());
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
    output->Sums.resize(std::size_t{2} * std::max<std::uint16_t>(obtained.samples, 1));
    // Silent until a source is attached; running from the start keeps the first sound prompt.
    SDL_PauseAudioDevice(output->Device, 0);
    return output;
}

TSdlAudioOutput::~TSdlAudioOutput() {
    if (Device != 0) {
        // Returns only after the last callback has finished.
        SDL_CloseAudioDevice(Device);
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool TSdlAudioOutput::Attach(IAudioSource& source) {
    SDL_LockAudioDevice(Device);
    const bool room = SourceCount < MaxSources;
    if (room) {
        Sources[SourceCount++] = &source;
    }
    SDL_UnlockAudioDevice(Device);
    return room;
}

void TSdlAudioOutput::Detach(IAudioSource& source) {
    // The callback runs under this lock, so once it is taken no period is using source.
    SDL_LockAudioDevice(Device);
    const auto end = Sources.begin() + static_cast<std::ptrdiff_t>(SourceCount);
    const auto kept = std::remove(Sources.begin(), end, &source);
    std::fill(kept, end, nullptr);
    SourceCount = static_cast<std::size_t>(kept - Sources.begin());
    SDL_UnlockAudioDevice(Device);
}

void TSdlAudioOutput::FillPeriod(void* self, std::uint8_t* stream, int bytes) {
    static_cast<TSdlAudioOutput*>(self)->Fill(reinterpret_cast<std::int16_t*>(stream),
                                              static_cast<std::uint32_t>(bytes / BytesPerFrame));
}

void TSdlAudioOutput::Fill(std::int16_t* samples, std::uint32_t frames) {
    const auto perPass = static_cast<std::uint32_t>(Sums.size() / 2);
    while (frames > 0) {
        const std::uint32_t now = std::min(frames, perPass);
        std::fill_n(Sums.data(), std::size_t{2} * now, 0.0f);
        for (std::size_t i = 0; i < SourceCount; ++i) {
            Sources[i]->AddTo(Sums.data(), now);
        }
        ConvertToSamples(Sums.data(), samples, std::size_t{2} * now);
        samples += std::size_t{2} * now;
        frames -= now;
    }
}
