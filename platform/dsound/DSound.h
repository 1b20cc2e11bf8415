#pragma once
// The sound interface the game's effects talk to: a device that makes sound buffers, and the
// buffers, each holding one recording that can be played once or looped. Our own mixer sums
// every playing buffer into SDL's audio output. Calls come from one thread (the game's user
// interface thread); wrong calls return the code the original interface would, never crash.

#include "platform/dsound/DSoundTypes.h"
#include "platform/interfaces/Unknown.h"

class IDirectSoundBuffer : public IUnknown {
public:
    // caps->dwSize must be sizeof(DSBCAPS).
    virtual HRESULT GetCaps(DSBCAPS* caps) = 0;
    // A null format asks only for the size (in *sizeWritten).
    virtual HRESULT GetFormat(WAVEFORMATEX* format, DWORD sizeAllocated, DWORD* sizeWritten) = 0;
    // DSBSTATUS_PLAYING while it sounds, plus DSBSTATUS_LOOPING for a loop.
    virtual HRESULT GetStatus(DWORD* status) = 0;
    // Lends the bytes from offset on: the first region up to the buffer's end, the second
    // (from its start) when the request wraps around. One lock at a time; writing while the
    // buffer plays is heard as it is mixed.
    virtual HRESULT Lock(DWORD offset, DWORD bytes, void** audio1, DWORD* bytes1, void** audio2,
                         DWORD* bytes2, DWORD flags) = 0;
    // Takes back exactly the regions Lock lent.
    virtual HRESULT Unlock(void* audio1, DWORD bytes1, void* audio2, DWORD bytes2) = 0;
    // reserved and priority 0; flags DSBPLAY_LOOPING or 0. On a playing buffer it only
    // changes whether it loops.
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    // Keeps the position, so a later Play resumes there.
    virtual HRESULT Stop() = 0;
    virtual HRESULT SetCurrentPosition(DWORD position) = 0;
    // DSBFREQUENCY_ORIGINAL (0) returns to the recording's own rate.
    virtual HRESULT SetFrequency(DWORD frequency) = 0;
    virtual HRESULT SetPan(LONG pan) = 0;
    virtual HRESULT SetVolume(LONG volume) = 0;
};

class IDirectSound : public IUnknown {
public:
    // Primary: flags DSBCAPS_PRIMARYBUFFER, no size, no format. Any other: 8- or 16-bit
    // PCM, mono or stereo, at any rate from DSBFREQUENCY_MIN to DSBFREQUENCY_MAX.
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                                      IUnknown* outer) = 0;
    // A stopped buffer at position 0 that shares the original's samples.
    virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                         IDirectSoundBuffer** duplicate) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
};

// Opens the default audio output (device null). Fails with DSERR_NODRIVER when there is
// none (no card, no sound server). Buffers keep their device alive.
HRESULT DirectSoundCreate(const GUID* device, IDirectSound** directSound, IUnknown* outer);
