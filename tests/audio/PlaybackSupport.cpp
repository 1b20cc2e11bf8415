#include "tests/audio/PlaybackSupport.h"

#include "audio/wavefile/WaveCollectionWriter.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <utility>

void UseAudioDriver(const char* driver) {
    setenv("SDL_AUDIODRIVER", driver, 1);
    // Starting audio makes SDL probe the desktop's message bus; under a virtual display the bus
    // library launches one and keeps buffers it never frees. No test needs it.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
}

std::vector<std::int16_t> Ramp(std::size_t count) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<std::int16_t>(i);
    }
    return samples;
}

TWaveCollectionItem& AddWave(TWaveCollection& collection, const std::string& name,
                             const std::vector<std::int16_t>& samples, DWORD rate) {
    TWaveCollectionItem& item = collection.Add();
    item.SetName(name);
    item.Wave.Format = PcmFormatBlock(rate, 1, 16);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples.data());
    item.Wave.Samples.assign(bytes, bytes + samples.size() * 2);
    return item;
}

TScratchDirectory::TScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorbix-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no scratch directory");
    }
    Root = pattern;
}

TScratchDirectory::~TScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
}

void TScratchDirectory::WriteSoundsFile(const TWaveCollection& collection) const {
    const std::vector<std::uint8_t> image = WaveCollectionImage(collection);
    std::ofstream(Root / "Sounds.dxw", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
}

namespace {
// Passes every call on, answering Play and Unlock with a lost buffer while lost is set.
class TLosingBuffer : public IDirectSoundBuffer {
public:
    TLosingBuffer(IDirectSoundBuffer* inner, const bool& lost) : Inner(inner), Lost(lost) {}
    IDirectSoundBuffer* Unwrapped() const { return Inner; }

    HRESULT GetCaps(DSBCAPS* caps) override { return Inner->GetCaps(caps); }
    HRESULT GetFormat(WAVEFORMATEX* f, DWORD n, DWORD* w) override {
        return Inner->GetFormat(f, n, w);
    }
    HRESULT GetStatus(DWORD* status) override { return Inner->GetStatus(status); }
    HRESULT Lock(DWORD o, DWORD n, void** a1, DWORD* n1, void** a2, DWORD* n2, DWORD f) override {
        return Inner->Lock(o, n, a1, n1, a2, n2, f);
    }
    HRESULT Unlock(void* a1, DWORD n1, void* a2, DWORD n2) override {
        return Answer(Inner->Unlock(a1, n1, a2, n2));
    }
    HRESULT Play(DWORD r, DWORD p, DWORD f) override { return Answer(Inner->Play(r, p, f)); }
    HRESULT Stop() override { return Inner->Stop(); }
    HRESULT SetCurrentPosition(DWORD at) override { return Inner->SetCurrentPosition(at); }
    HRESULT SetFrequency(DWORD frequency) override { return Inner->SetFrequency(frequency); }
    HRESULT SetPan(LONG pan) override { return Inner->SetPan(pan); }
    HRESULT SetVolume(LONG volume) override { return Inner->SetVolume(volume); }

private:
    ~TLosingBuffer() override { Inner->Release(); }
    HRESULT Answer(HRESULT result) const { return Lost ? DSERR_BUFFERLOST : result; }

    IDirectSoundBuffer* Inner;
    const bool& Lost;
};

class TLosingDevice : public IDirectSound {
public:
    TLosingDevice(TComRef<TSoundDevice> inner, const bool& lost)
        : Inner(std::move(inner)), Lost(lost) {}

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* d, IDirectSoundBuffer** made,
                              IUnknown* outer) override {
        return Wrap(Inner->CreateSoundBuffer(d, made, outer), made);
    }
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** made) override {
        auto* unwrapped = static_cast<TLosingBuffer*>(original)->Unwrapped();
        return Wrap(Inner->DuplicateSoundBuffer(unwrapped, made), made);
    }
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override {
        return Inner->SetCooperativeLevel(window, level);
    }

private:
    HRESULT Wrap(HRESULT result, IDirectSoundBuffer** made) const {
        if (result == DS_OK) {
            *made = new TLosingBuffer(*made, Lost);
        }
        return result;
    }

    TComRef<TSoundDevice> Inner;
    const bool& Lost;
};
} // namespace

TSoundLibrary THandMixedDevices::Library() {
    return {
        "DSound.dll", [this](const GUID*, IDirectSound** made, IUnknown*) {
            Latest = TComRef<TSoundDevice>::Attach(new TSoundDevice({SilentRate, 256}, nullptr));
            *made = new TLosingDevice(Latest, ReportLost);
            return DS_OK;
        }};
}

std::vector<std::int16_t> THandMixedDevices::MixLeft(std::uint32_t frames) {
    std::vector<std::int16_t> stereo(std::size_t{2} * frames);
    Latest->Mixer().Mix(stereo.data(), frames);
    std::vector<std::int16_t> left(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        left[i] = stereo[2 * i];
    }
    return left;
}
