#include "tests/audio/PlaybackSupport.h"

#include "audio/WaveCollectionWriter.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

std::vector<std::int16_t> Ramp(std::size_t count) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<std::int16_t>(i);
    }
    return samples;
}

std::vector<std::int16_t> Constant(std::size_t count, std::int16_t value) {
    return std::vector<std::int16_t>(count, value);
}

TWaveCollectionItem& AddWave(TWaveCollection& collection, const std::string& name,
                             const std::vector<std::int16_t>& samples, DWORD rate) {
    TWaveCollectionItem& item = collection.Add();
    item.SetName(name);
    item.Wave.Format = PcmFormatBlock(rate, 1, 16);
    item.Wave.Samples.resize(samples.size() * 2);
    std::memcpy(item.Wave.Samples.data(), samples.data(), item.Wave.Samples.size());
    return item;
}

TScratchDirectory::TScratchDirectory() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zorbix-sounds-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no scratch directory");
    }
    Root = pattern;
}

TScratchDirectory::~TScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
}

void TScratchDirectory::WriteCollection(const TWaveCollection& collection,
                                        const std::string& name) const {
    const std::vector<std::uint8_t> image = WaveCollectionImage(collection);
    std::ofstream file(Root / name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
}

TSoundLibrary TSilentDevices::Library() {
    return {"DSound.dll", [this](const GUID*, IDirectSound** made, IUnknown*) {
                auto* device = new TSoundDevice({SilentRate, 256}, nullptr);
                Device = TComRef<TSoundDevice>::Share(device); // the caller owns the first
                *made = device;
                return DS_OK;
            }};
}

std::vector<std::int16_t> TSilentDevices::MixLeft(std::uint32_t frames) {
    std::vector<std::int16_t> stereo(std::size_t{2} * frames);
    Device->Mixer().Mix(stereo.data(), frames);
    std::vector<std::int16_t> left(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        left[i] = stereo[2 * i];
    }
    return left;
}

namespace {
using TFaults = TFaultyDevices::TFaults;

class TFaultyBuffer : public IDirectSoundBuffer {
public:
    TFaultyBuffer(TComRef<IDirectSoundBuffer> inner, const TFaults& faults)
        : Inner(std::move(inner)), Faults(faults) {}
    IDirectSoundBuffer* Unwrapped() const { return Inner.Get(); }

    HRESULT GetCaps(DSBCAPS* caps) override { return Inner->GetCaps(caps); }
    HRESULT GetFormat(WAVEFORMATEX* format, DWORD allocated, DWORD* written) override {
        return Inner->GetFormat(format, allocated, written);
    }
    HRESULT GetStatus(DWORD* status) override { return Inner->GetStatus(status); }
    HRESULT Lock(DWORD offset, DWORD bytes, void** audio1, DWORD* bytes1, void** audio2,
                 DWORD* bytes2, DWORD flags) override {
        if (Faults.RefuseLock) {
            return DSERR_INVALIDCALL;
        }
        return Inner->Lock(offset, bytes, audio1, bytes1, audio2, bytes2, flags);
    }
    HRESULT Unlock(void* audio1, DWORD bytes1, void* audio2, DWORD bytes2) override {
        return Lost(Inner->Unlock(audio1, bytes1, audio2, bytes2));
    }
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override {
        return Lost(Inner->Play(reserved, priority, flags));
    }
    HRESULT Stop() override { return Inner->Stop(); }
    HRESULT SetCurrentPosition(DWORD position) override {
        return Inner->SetCurrentPosition(position);
    }
    HRESULT SetFrequency(DWORD frequency) override { return Inner->SetFrequency(frequency); }
    HRESULT SetPan(LONG pan) override { return Inner->SetPan(pan); }
    HRESULT SetVolume(LONG volume) override { return Inner->SetVolume(volume); }

private:
    HRESULT Lost(HRESULT result) const { return Faults.ReportLost ? DSERR_BUFFERLOST : result; }

    TComRef<IDirectSoundBuffer> Inner;
    const TFaults& Faults;
};

class TFaultyDevice : public IDirectSound {
public:
    TFaultyDevice(TComRef<IDirectSound> inner, const TFaults& faults)
        : Inner(std::move(inner)), Faults(faults) {}

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                              IUnknown* outer) override {
        if (Faults.RefusePrimary && (description->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0) {
            return DSERR_ALLOCATED;
        }
        TComRef<IDirectSoundBuffer> made;
        const HRESULT result = Inner->CreateSoundBuffer(description, made.Put(), outer);
        *buffer = result == DS_OK ? new TFaultyBuffer(std::move(made), Faults) : nullptr;
        return result;
    }
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                 IDirectSoundBuffer** duplicate) override {
        TComRef<IDirectSoundBuffer> made;
        const HRESULT result = Inner->DuplicateSoundBuffer(
            static_cast<TFaultyBuffer*>(original)->Unwrapped(), made.Put());
        *duplicate = result == DS_OK ? new TFaultyBuffer(std::move(made), Faults) : nullptr;
        return result;
    }
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override {
        return Inner->SetCooperativeLevel(window, level);
    }

private:
    TComRef<IDirectSound> Inner;
    const TFaults& Faults;
};
} // namespace

TSoundLibrary TFaultyDevices::Library() {
    return {"DSound.dll", [this](const GUID* id, IDirectSound** made, IUnknown* outer) {
                TComRef<IDirectSound> inner;
                const HRESULT result = Inner.Library().DirectSoundCreate(id, inner.Put(), outer);
                *made = result == DS_OK ? new TFaultyDevice(std::move(inner), Faults) : nullptr;
                return result;
            }};
}
