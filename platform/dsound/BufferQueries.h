#pragma once
// The answers every kind of sound buffer gives alike to GetCaps and GetFormat, with the
// argument checks of the original calls.

#include "platform/dsound/DSound.h"

// Fills caps (whose dwSize the caller set) with the buffer's flags and size.
HRESULT AnswerCaps(DSBCAPS* caps, DWORD flags, DWORD bufferBytes);
// Copies `source` into format, or, with format null, tells the size it needs.
HRESULT AnswerFormat(const WAVEFORMATEX& source, WAVEFORMATEX* format, DWORD sizeAllocated,
                     DWORD* sizeWritten);
