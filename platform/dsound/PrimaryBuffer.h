#pragma once
// The primary buffer: the device's own output, which every playing buffer is mixed into.
// At the normal cooperative level it can only be asked about; it always plays, looping.

#include "platform/dsound/DSound.h"

class TSoundDevice;

class TPrimaryBuffer : public IDirectSoundBuffer {
public:
    explicit TPrimaryBuffer(TComRef<TSoundDevice> device);

    HRESULT GetCaps(DSBCAPS* caps) override;
    HRESULT GetFormat(WAVEFORMATEX* format, DWORD sizeAllocated, DWORD* sizeWritten) override;
    HRESULT GetStatus(DWORD* status) override;
    HRESULT Lock(DWORD offset, DWORD bytes, void** audio1, DWORD* bytes1, void** audio2,
                 DWORD* bytes2, DWORD flags) override;
    HRESULT Unlock(void* audio1, DWORD bytes1, void* audio2, DWORD bytes2) override;
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT Stop() override;
    HRESULT SetCurrentPosition(DWORD position) override;
    HRESULT SetFrequency(DWORD frequency) override;
    HRESULT SetPan(LONG pan) override;
    HRESULT SetVolume(LONG volume) override;

private:
    ~TPrimaryBuffer() override;
    WAVEFORMATEX OutputFormat() const;

    TComRef<TSoundDevice> Owner;
};
