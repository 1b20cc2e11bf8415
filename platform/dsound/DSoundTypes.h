#pragma once
// Plain data of the sound interface: result codes, flags and the records handed to the
// device. Values are those of the DirectSound interface the game was written for.

#include <cstdint>

using HRESULT = std::int32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using LONG = std::int32_t;

// The window a device is bound to (the same handle the 3D device presents into).
class TDeviceWindow;
using HWND = TDeviceWindow*;

constexpr HRESULT SoundResult(std::uint32_t bits) {
    return static_cast<HRESULT>(bits);
}

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_OUTOFMEMORY = SoundResult(0x8007000E);
constexpr HRESULT DSERR_INVALIDPARAM = SoundResult(0x80070057);
constexpr HRESULT DSERR_NOAGGREGATION = SoundResult(0x80040110);
constexpr HRESULT DSERR_ALLOCATED = SoundResult(0x8878000A);
constexpr HRESULT DSERR_CONTROLUNAVAIL = SoundResult(0x8878001E);
constexpr HRESULT DSERR_INVALIDCALL = SoundResult(0x88780032);
constexpr HRESULT DSERR_PRIOLEVELNEEDED = SoundResult(0x88780046);
constexpr HRESULT DSERR_BADFORMAT = SoundResult(0x88780064);
constexpr HRESULT DSERR_NODRIVER = SoundResult(0x88780078);
// Never returned here (our buffers live in ordinary memory), kept for callers that test it.
constexpr HRESULT DSERR_BUFFERLOST = SoundResult(0x88780096);

// SetCooperativeLevel
constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSCL_EXCLUSIVE = 3;
constexpr DWORD DSSCL_WRITEPRIMARY = 4;

// DSBUFFERDESC::dwFlags and DSBCAPS::dwFlags
constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr DWORD DSBCAPS_STATIC = 0x2;
constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x8;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr DWORD DSBCAPS_CTRLPAN = 0x40;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x80;
constexpr DWORD DSBCAPS_STICKYFOCUS = 0x4000;
constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x8000;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x10000;

// Play, GetStatus, Lock
constexpr DWORD DSBPLAY_LOOPING = 0x1;
constexpr DWORD DSBSTATUS_PLAYING = 0x1;
constexpr DWORD DSBSTATUS_LOOPING = 0x4;
constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x1;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x2;

// Ranges of the buffer controls; frequencies in samples a second, volume and pan in
// hundredths of a decibel.
constexpr DWORD DSBFREQUENCY_ORIGINAL = 0;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;
constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_RIGHT = 10000;
constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;

constexpr WORD WAVE_FORMAT_PCM = 1;

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    std::uint8_t Data4[8];
};

// Byte-packed like the "fmt " block of a wave file, so a format read from a file can be
// handed over where it lies. Plain PCM blocks are 16 bytes: cbSize is then not read.
#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);
constexpr DWORD PcmFormatBytes = 16;

struct DSBUFFERDESC {
    DWORD dwSize; // must be DSBUFFERDESC_SIZE
    DWORD dwFlags;
    DWORD dwBufferBytes;             // 0 for the primary buffer
    DWORD dwReserved;                // 0
    const WAVEFORMATEX* lpwfxFormat; // null for the primary buffer
    GUID guid3DAlgorithm;            // not used
};
// The size the game declares for the description record.
constexpr DWORD DSBUFFERDESC_SIZE = 36;

struct DSBCAPS {
    DWORD dwSize; // must be sizeof(DSBCAPS)
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwUnlockTransferRate;
    DWORD dwPlayCpuOverhead;
};
