#include "platform/dsound/BufferQueries.h"

#include <cstring>

HRESULT AnswerCaps(DSBCAPS* caps, DWORD flags, DWORD bufferBytes) {
    if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) {
        return DSERR_INVALIDPARAM;
    }
    caps->dwFlags = flags | DSBCAPS_LOCSOFTWARE;
    caps->dwBufferBytes = bufferBytes;
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

HRESULT AnswerFormat(const WAVEFORMATEX& source, WAVEFORMATEX* format, DWORD sizeAllocated,
                     DWORD* sizeWritten) {
    if (format == nullptr) {
        if (sizeWritten == nullptr) {
            return DSERR_INVALIDPARAM;
        }
        *sizeWritten = sizeof(WAVEFORMATEX);
        return DS_OK;
    }
    if (sizeAllocated < sizeof(WAVEFORMATEX)) {
        return DSERR_INVALIDPARAM;
    }
    std::memcpy(format, &source, sizeof(WAVEFORMATEX));
    if (sizeWritten != nullptr) {
        *sizeWritten = sizeof(WAVEFORMATEX);
    }
    return DS_OK;
}
