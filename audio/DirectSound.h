#pragma once
// The game's holders of the platform sound interfaces. TDirectSound holds the device and knows
// every buffer made on it; TDirectSoundBuffer holds one buffer with its capabilities and format
// as read back from the platform. Each keeps the result of its latest platform call; a call
// that reports a lost buffer makes the device refill all buffers once. User-interface thread
// only.

#include "platform/dsound/DSound.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class TDirectSoundBuffer;

// The entry that makes the platform device, shaped like DirectSoundCreate.
using TDirectSoundCreate = std::function<HRESULT(const GUID*, IDirectSound**, IUnknown*)>;

class TDirectSound {
public:
    // Makes the default device through create; LastResult() is non-zero when that failed.
    // restoreAll refills every buffer; it is called when a buffer was lost, never re-entered.
    TDirectSound(const TDirectSoundCreate& create, std::function<void()> restoreAll);
    // Releases the device and the buffers still made on it; their holders remain, empty, and
    // report "IDirectSoundBuffer not made" when used.
    ~TDirectSound();
    TDirectSound(const TDirectSound&) = delete;
    TDirectSound& operator=(const TDirectSound&) = delete;

    // Throws EGameError "IDirectSound not made" when the device could not be made.
    IDirectSound& ISound() const;
    // The result is kept only: buffers play whatever the level.
    void SetCooperativeLevel(HWND window, DWORD level);
    HRESULT LastResult() const { return Result; }

private:
    friend class TDirectSoundBuffer;
    void Register(TDirectSoundBuffer& buffer);
    void Unregister(TDirectSoundBuffer& buffer);
    // A buffer reported DSERR_BUFFERLOST.
    void BufferLost();

    TComRef<IDirectSound> Interface;
    std::vector<TDirectSoundBuffer*> Buffers;
    std::function<void()> RestoreAll;
    HRESULT Result = DS_OK;
    bool Restoring = false;
};

class TDirectSoundBuffer {
public:
    // An empty holder on sound; sound must outlive it or release it first (see ~TDirectSound).
    explicit TDirectSoundBuffer(TDirectSound& sound);
    ~TDirectSoundBuffer();
    TDirectSoundBuffer(const TDirectSoundBuffer&) = delete;
    TDirectSoundBuffer& operator=(const TDirectSoundBuffer&) = delete;

    // Makes a new platform buffer in place of any held and reads back its capabilities and
    // format. False when the platform refuses (see LastResult). Throws EGameError
    // "IDirectSound not made" when the device is gone.
    bool CreateBuffer(const DSBUFFERDESC& description);
    // Makes this a second buffer sharing source's samples, stopped at position 0.
    bool Duplicate(const TDirectSoundBuffer& source);
    bool Made() const { return static_cast<bool>(Interface); }
    const DSBCAPS& Caps() const { return BufferCaps; }
    const WAVEFORMATEX& Format() const { return BufferFormat; }
    HRESULT LastResult() const { return Result; }

    // The calls below throw EGameError "IDirectSoundBuffer not made" on an empty holder.
    //
    // Lends bytes from offset on, in one or two regions (the second only when the request
    // wraps around), until Unlock. One lock at a time. False when the platform refuses.
    bool Lock(DWORD offset, DWORD bytes);
    std::span<std::uint8_t> LockedFirst() const { return Locked.First; }
    std::span<std::uint8_t> LockedSecond() const { return Locked.Second; }
    void Unlock();
    // Sounding: the platform reports it playing or looping.
    bool Playing();
    void Play(bool looped);
    void Stop();
    void SetCurrentPosition(DWORD position);
    void SetFrequency(DWORD frequency);
    void SetPan(LONG pan);
    void SetVolume(LONG volume);

private:
    friend class TDirectSound;
    struct TLockedRegions {
        bool Held = false;
        std::span<std::uint8_t> First;
        std::span<std::uint8_t> Second;
    };

    IDirectSound& ISound() const;
    IDirectSoundBuffer& IBuffer() const;
    // Keeps the result; a lost buffer has the device refill all buffers. Returns the result.
    HRESULT Check(HRESULT result);
    void SetBuffer(TComRef<IDirectSoundBuffer> buffer);
    // The device is going: drop the platform buffer and forget the device.
    void Orphan();

    TDirectSound* Sound;
    TComRef<IDirectSoundBuffer> Interface;
    DSBCAPS BufferCaps{};
    WAVEFORMATEX BufferFormat{};
    HRESULT Result = DS_OK;
    TLockedRegions Locked;
};
