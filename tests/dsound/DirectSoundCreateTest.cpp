// Opening the real output through SDL. The tests run with SDL's dummy driver, which keeps an
// audio thread going in real time without any card.

#include "platform/dsound/DSound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

TEST(DirectSoundCreate, FailsWithNoDriverWhenThereIsNoAudioOutputAndCanBeTriedAgain) {
    TComRef<IDirectSound> sound;
    const char* chosen = std::getenv("SDL_AUDIODRIVER");
    const std::string driver = chosen != nullptr ? chosen : "dummy";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(DirectSoundCreate(nullptr, sound.Put(), nullptr), DSERR_NODRIVER);
    EXPECT_FALSE(sound);
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    // Nothing of the failed attempt is left behind in SDL.
    EXPECT_EQ(DirectSoundCreate(nullptr, sound.Put(), nullptr), DS_OK);
    EXPECT_TRUE(sound);
}

TEST(DirectSoundCreate, ASoundPlayedOnTheRealOutputEndsByItselfAndOutlivesTheDeviceReference) {
    TComRef<IDirectSound> sound;
    ASSERT_EQ(DirectSoundCreate(nullptr, sound.Put(), nullptr), DS_OK);
    TComRef<IDirectSoundBuffer> primary;
    const DSBUFFERDESC primaryDescription{
        DSBUFFERDESC_SIZE, DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr, {}};
    ASSERT_EQ(sound->CreateSoundBuffer(&primaryDescription, primary.Put(), nullptr), DS_OK);

    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0};
    const DSBUFFERDESC description{DSBUFFERDESC_SIZE, 0xE0, 800, 0, &format, {}}; // 50 ms
    TComRef<IDirectSoundBuffer> buffer;
    ASSERT_EQ(sound->CreateSoundBuffer(&description, buffer.Put(), nullptr), DS_OK);
    sound.Reset();
    primary.Reset();

    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    DWORD status = DSBSTATUS_PLAYING;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((status & DSBSTATUS_PLAYING) != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    }
    EXPECT_EQ(status, 0u);
}
