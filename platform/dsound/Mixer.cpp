#include "platform/dsound/Mixer.h"

#include <algorithm>
#include <cmath>

namespace {
TVoiceState StateOf(const TVoicePlayback& playback) {
    return {true, playback.Controls.Looping, static_cast<std::uint32_t>(playback.Position >> 32)};
}
} // namespace

TMixer::TMixer(TMixFormat format)
    : OutputFormat(format), Accumulator(std::size_t{2} * std::max(format.FramesPerPass, 1u)) {}

std::uint64_t TMixer::StepFor(std::uint32_t rate) const {
    return (static_cast<std::uint64_t>(rate) << 32) / OutputFormat.Rate;
}

TMixer::TVoice* TMixer::Find(TVoiceHandle voice) {
    if (!voice.Valid() || static_cast<std::size_t>(voice.Slot) >= MaxVoices) {
        return nullptr;
    }
    TVoice& slot = Voices[static_cast<std::size_t>(voice.Slot)];
    return slot.Playback.Active && slot.Ticket == voice.Ticket ? &slot : nullptr;
}

const TMixer::TVoice* TMixer::Find(TVoiceHandle voice) const {
    return const_cast<TMixer*>(this)->Find(voice);
}

TVoiceHandle TMixer::Start(const TVoiceSamples& samples, std::uint32_t frame,
                           const TVoiceControls& controls) {
    const std::lock_guard lock(TableLock);
    const auto free = std::find_if(Voices.begin(), Voices.end(),
                                   [](const TVoice& voice) { return !voice.Playback.Active; });
    if (free == Voices.end()) {
        return {};
    }
    free->Playback = {samples, controls, static_cast<std::uint64_t>(frame) << 32,
                      StepFor(controls.Rate), true};
    free->Ticket = NextTicket++;
    free->Revision = 0;
    return {static_cast<std::int32_t>(free - Voices.begin()), free->Ticket};
}

TVoiceState TMixer::Query(TVoiceHandle voice) const {
    const std::lock_guard lock(TableLock);
    const TVoice* found = Find(voice);
    return found != nullptr ? StateOf(found->Playback) : TVoiceState{};
}

void TMixer::Update(TVoiceHandle voice, const TVoiceControls& controls) {
    const std::lock_guard lock(TableLock);
    if (TVoice* found = Find(voice)) {
        found->Playback.Controls = controls;
        found->Playback.Step = StepFor(controls.Rate);
    }
}

void TMixer::Seek(TVoiceHandle voice, std::uint32_t frame) {
    const std::lock_guard lock(TableLock);
    if (TVoice* found = Find(voice)) {
        found->Playback.Position = static_cast<std::uint64_t>(frame) << 32;
        ++found->Revision;
    }
}

TVoiceState TMixer::Stop(TVoiceHandle voice) {
    const std::lock_guard lock(TableLock);
    TVoice* found = Find(voice);
    if (found == nullptr) {
        return {};
    }
    found->Playback.Active = false;
    return StateOf(found->Playback);
}

void TMixer::WaitForRunningPass() const {
    std::unique_lock lock(TableLock);
    if (!PassRunning) {
        return;
    }
    const std::uint64_t finished = FinishedPasses.load();
    lock.unlock();
    FinishedPasses.wait(finished);
}

void TMixer::Mix(std::int16_t* output, std::uint32_t frames) {
    const auto perPass = static_cast<std::uint32_t>(Accumulator.size() / 2);
    while (frames > 0) {
        const std::uint32_t now = std::min(frames, perPass);
        std::fill_n(Accumulator.data(), std::size_t{2} * now, 0.0f);
        AddTo(Accumulator.data(), now);
        ConvertToSamples(Accumulator.data(), output, std::size_t{2} * now);
        output += std::size_t{2} * now;
        frames -= now;
    }
}

std::uint32_t TMixer::CopyActiveVoices() {
    const std::lock_guard lock(TableLock);
    PassRunning = true;
    StartedPasses.fetch_add(1);
    std::uint32_t count = 0;
    for (std::uint32_t slot = 0; slot < MaxVoices; ++slot) {
        if (Voices[slot].Playback.Active) {
            PassVoices[count] = Voices[slot];
            PassSlots[count] = slot;
            ++count;
        }
    }
    return count;
}

void TMixer::WriteBackVoices(std::uint32_t count) {
    {
        const std::lock_guard lock(TableLock);
        for (std::uint32_t i = 0; i < count; ++i) {
            TVoice& live = Voices[PassSlots[i]];
            const TVoice& mixed = PassVoices[i];
            // A voice stopped, restarted or moved meanwhile keeps what the user interface set.
            if (live.Playback.Active && live.Ticket == mixed.Ticket &&
                live.Revision == mixed.Revision) {
                live.Playback.Position = mixed.Playback.Position;
                live.Playback.Active = mixed.Playback.Active;
            }
        }
        PassRunning = false;
    }
    FinishedPasses.fetch_add(1);
    FinishedPasses.notify_all();
}

void TMixer::AddTo(float* sums, std::uint32_t frames) {
    const std::uint32_t count = CopyActiveVoices();
    for (std::uint32_t i = 0; i < count; ++i) {
        RenderVoice(PassVoices[i].Playback, sums, frames);
    }
    WriteBackVoices(count);
}

void ConvertToSamples(const float* sums, std::int16_t* samples, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const float rounded = std::nearbyint(sums[i]);
        samples[i] = static_cast<std::int16_t>(std::clamp(rounded, -32768.0f, 32767.0f));
    }
}
