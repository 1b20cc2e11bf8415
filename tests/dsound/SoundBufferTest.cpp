// Buffers on a device without output: the test drives the mixer itself, so every state a
// buffer reports can be checked against what has been mixed.

#include "platform/dsound/SoundDevice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {
constexpr DWORD Rate = 22050;
constexpr DWORD GameFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

WAVEFORMATEX Pcm(WORD channels, WORD bits, DWORD rate = Rate) {
    const auto align = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

class SoundBufferTest : public ::testing::Test {
protected:
    SoundBufferTest()
        : Device(TComRef<TSoundDevice>::Attach(new TSoundDevice({Rate, 64}, nullptr))) {}

    HRESULT Create(const WAVEFORMATEX* format, DWORD bytes, DWORD flags,
                   TComRef<IDirectSoundBuffer>& buffer) {
        const DSBUFFERDESC description{DSBUFFERDESC_SIZE, flags, bytes, 0, format, {}};
        return Device->CreateSoundBuffer(&description, buffer.Put(), nullptr);
    }

    // A 16-bit mono buffer holding values.
    TComRef<IDirectSoundBuffer> Filled(const std::vector<std::int16_t>& values,
                                       DWORD flags = GameFlags) {
        const WAVEFORMATEX format = Pcm(1, 16);
        TComRef<IDirectSoundBuffer> buffer;
        EXPECT_EQ(Create(&format, static_cast<DWORD>(values.size() * 2), flags, buffer), DS_OK);
        void* bytes = nullptr;
        DWORD size = 0;
        EXPECT_EQ(buffer->Lock(0, static_cast<DWORD>(values.size() * 2), &bytes, &size, nullptr,
                               nullptr, 0),
                  DS_OK);
        std::memcpy(bytes, values.data(), size);
        EXPECT_EQ(buffer->Unlock(bytes, size, nullptr, 0), DS_OK);
        return buffer;
    }

    std::vector<std::int16_t> MixLeft(std::uint32_t frames) {
        std::vector<std::int16_t> stereo(std::size_t{2} * frames);
        Device->Mixer().Mix(stereo.data(), frames);
        std::vector<std::int16_t> left;
        for (std::size_t i = 0; i < stereo.size(); i += 2) {
            left.push_back(stereo[i]);
        }
        return left;
    }

    DWORD Status(IDirectSoundBuffer* buffer) {
        DWORD status = 0xFFFF;
        EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
        return status;
    }

    TComRef<TSoundDevice> Device;
};
} // namespace

TEST_F(SoundBufferTest, StatusFollowsPlayLoopStopAndTheEndOfTheRecording) {
    auto buffer = Filled({1, 2, 3, 4});
    EXPECT_EQ(Status(buffer.Get()), 0u);

    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Status(buffer.Get()), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_EQ(MixLeft(6), (std::vector<std::int16_t>{1, 2, 3, 4, 1, 2}));

    // Play on a playing buffer only drops the loop; the sound goes on from where it is.
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Status(buffer.Get()), DSBSTATUS_PLAYING);
    EXPECT_EQ(MixLeft(3), (std::vector<std::int16_t>{3, 4, 0}));
    EXPECT_EQ(Status(buffer.Get()), 0u);

    // After its end a buffer plays from the beginning again; after Stop, from where it stood.
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(MixLeft(1), (std::vector<std::int16_t>{1}));
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(Status(buffer.Get()), 0u);
    EXPECT_EQ(MixLeft(1), (std::vector<std::int16_t>{0}));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(MixLeft(2), (std::vector<std::int16_t>{2, 3}));

    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    EXPECT_EQ(MixLeft(1), (std::vector<std::int16_t>{1}));
}

TEST_F(SoundBufferTest, DuplicatesShareTheSamplesButPlayOnTheirOwn) {
    auto original = Filled({100, 200, 300});
    TComRef<IDirectSoundBuffer> first;
    TComRef<IDirectSoundBuffer> second;
    ASSERT_EQ(original->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(Device->DuplicateSoundBuffer(original.Get(), first.Put()), DS_OK);
    ASSERT_EQ(Device->DuplicateSoundBuffer(original.Get(), second.Put()), DS_OK);
    EXPECT_EQ(Status(first.Get()), 0u); // a copy of a playing buffer starts out stopped

    // Writing through one is heard from the others.
    void* bytes = nullptr;
    DWORD size = 0;
    ASSERT_EQ(first->Lock(2, 2, &bytes, &size, nullptr, nullptr, 0), DS_OK);
    const std::int16_t changed = 1000;
    std::memcpy(bytes, &changed, sizeof changed);
    ASSERT_EQ(first->Unlock(bytes, size, nullptr, 0), DS_OK);

    ASSERT_EQ(original->Stop(), DS_OK);
    ASSERT_EQ(first->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(MixLeft(1), (std::vector<std::int16_t>{100}));
    ASSERT_EQ(second->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(MixLeft(3), (std::vector<std::int16_t>{1000 + 100, 300 + 1000, 300}));

    // The samples outlive the buffer they were made for.
    original.Reset();
    ASSERT_EQ(first->SetCurrentPosition(0), DS_OK);
    ASSERT_EQ(first->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(MixLeft(1), (std::vector<std::int16_t>{100}));
}

TEST_F(SoundBufferTest, FrequencyVolumeAndPanChangeWhatIsMixed) {
    auto buffer = Filled({0, 100, 200, 300, 400, 500, 600, 700});
    ASSERT_EQ(buffer->SetFrequency(Rate * 2), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(MixLeft(2), (std::vector<std::int16_t>{0, 200}));
    ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    EXPECT_EQ(MixLeft(2), (std::vector<std::int16_t>{400, 500}));

    ASSERT_EQ(buffer->SetVolume(-600), DS_OK); // -6 dB: about half
    ASSERT_EQ(buffer->SetPan(DSBPAN_RIGHT), DS_OK);
    std::vector<std::int16_t> stereo(2);
    Device->Mixer().Mix(stereo.data(), 1);
    EXPECT_EQ(stereo[0], 0);
    EXPECT_NEAR(stereo[1], 600 * 0.501, 1);
    ASSERT_EQ(buffer->SetVolume(DSBVOLUME_MIN), DS_OK);
    EXPECT_EQ(MixLeft(1), (std::vector<std::int16_t>{0}));
}

TEST_F(SoundBufferTest, LockReturnsTwoRegionsWhenTheRequestWrapsAround) {
    auto buffer = Filled({0, 0, 0, 0});
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    ASSERT_EQ(buffer->Lock(6, 6, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(firstBytes, 2u);
    EXPECT_EQ(secondBytes, 4u);
    EXPECT_EQ(static_cast<std::uint8_t*>(first) - static_cast<std::uint8_t*>(second), 6);

    void* again = nullptr;
    DWORD againBytes = 0;
    EXPECT_EQ(buffer->Lock(0, 2, &again, &againBytes, nullptr, nullptr, 0), DSERR_INVALIDCALL);
    EXPECT_EQ(buffer->Unlock(second, 2, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DSERR_INVALIDCALL);
    // A wrapping request with nowhere to put the second region is refused.
    EXPECT_EQ(buffer->Lock(6, 6, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
}

TEST_F(SoundBufferTest, FormatsAndDescriptionsTheMixerCannotPlayAreRefused) {
    const WAVEFORMATEX mono16 = Pcm(1, 16);
    const auto changed = [&mono16](auto change) {
        WAVEFORMATEX format = mono16;
        change(format);
        return format;
    };
    const std::tuple<WAVEFORMATEX, DWORD, DWORD, HRESULT> cases[] = {
        {changed([](auto& f) { f.wFormatTag = 2; }), 64, 0, DSERR_BADFORMAT},
        {Pcm(1, 24), 64, 0, DSERR_BADFORMAT},
        {Pcm(6, 16), 64, 0, DSERR_BADFORMAT},
        {Pcm(1, 16, 50), 64, 0, DSERR_BADFORMAT},
        {changed([](auto& f) { f.nBlockAlign = 4; }), 64, 0, DSERR_INVALIDPARAM},
        {mono16, 2, 0, DSERR_INVALIDPARAM},
        {mono16, DSBSIZE_MAX + 1, 0, DSERR_INVALIDPARAM},
        {mono16, 0, DSBCAPS_PRIMARYBUFFER, DSERR_INVALIDPARAM},
        {mono16, 64, 0x10 /* 3D control */, DSERR_CONTROLUNAVAIL},
    };
    for (const auto& [format, bytes, flags, code] : cases) {
        TComRef<IDirectSoundBuffer> buffer;
        EXPECT_EQ(Create(&format, bytes, flags, buffer), code) << bytes << " " << flags;
        EXPECT_FALSE(buffer);
    }
    TComRef<IDirectSoundBuffer> buffer;
    EXPECT_EQ(Create(nullptr, 64, 0, buffer), DSERR_INVALIDPARAM);
    DSBUFFERDESC description{DSBUFFERDESC_SIZE - 4, 0, 64, 0, &mono16, {}};
    EXPECT_EQ(Device->CreateSoundBuffer(&description, buffer.Put(), nullptr), DSERR_INVALIDPARAM);
    description.dwSize = DSBUFFERDESC_SIZE;
    EXPECT_EQ(Device->CreateSoundBuffer(&description, buffer.Put(), Device.Get()),
              DSERR_NOAGGREGATION);

    // A 16-byte "fmt " block, the usual one in wave files, is read without its cbSize.
    std::vector<std::uint8_t> shortBlock(PcmFormatBytes);
    std::memcpy(shortBlock.data(), &mono16, PcmFormatBytes);
    EXPECT_EQ(Create(reinterpret_cast<const WAVEFORMATEX*>(shortBlock.data()), 64, 0, buffer),
              DS_OK);
}

TEST_F(SoundBufferTest, WrongCallsOnBuffersReturnTheirCodesAndChangeNothing) {
    auto plain = Filled({1, 2}, 0);
    EXPECT_EQ(plain->SetFrequency(Rate), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetPan(0), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetVolume(0), DSERR_CONTROLUNAVAIL);

    auto buffer = Filled({1, 2});
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MIN - 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MAX + 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(DSBPAN_RIGHT + 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetCurrentPosition(4), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(1, 0, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(0, 1, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(0, 0, 2), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->GetStatus(nullptr), DSERR_INVALIDPARAM);
    DSBCAPS caps{};
    EXPECT_EQ(buffer->GetCaps(&caps), DSERR_INVALIDPARAM); // dwSize not set
    EXPECT_EQ(Status(buffer.Get()), 0u);
    EXPECT_EQ(MixLeft(1), (std::vector<std::int16_t>{0}));
}

TEST_F(SoundBufferTest, PrimaryBufferDescribesTheOutputAndCannotBeWrittenOrDuplicated) {
    TComRef<IDirectSoundBuffer> primary;
    ASSERT_EQ(Create(nullptr, 0, DSBCAPS_PRIMARYBUFFER, primary), DS_OK);
    WAVEFORMATEX format{};
    ASSERT_EQ(primary->GetFormat(&format, sizeof(format), nullptr), DS_OK);
    EXPECT_EQ(format.nSamplesPerSec, Rate);
    EXPECT_EQ(format.nChannels, 2);
    void* bytes = nullptr;
    DWORD size = 0;
    EXPECT_EQ(primary->Lock(0, 4, &bytes, &size, nullptr, nullptr, 0), DSERR_PRIOLEVELNEEDED);
    TComRef<IDirectSoundBuffer> copy;
    EXPECT_EQ(Device->DuplicateSoundBuffer(primary.Get(), copy.Put()), DSERR_INVALIDCALL);
}

TEST_F(SoundBufferTest, EightBitBuffersStartOutSilent) {
    const WAVEFORMATEX format = Pcm(1, 8);
    TComRef<IDirectSoundBuffer> buffer;
    ASSERT_EQ(Create(&format, 8, 0, buffer), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(MixLeft(2), (std::vector<std::int16_t>{0, 0}));
}
