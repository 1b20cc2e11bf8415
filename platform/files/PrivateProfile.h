#pragma once
// Our stand-in for the system's private-profile functions, which read and write one value of
// a profile (INI) file at a time; see ProfileText.h for the text rules. Writes are kept in a
// cache, as the system keeps them, until the file is flushed: then all of them reach the disk
// in one replacement of the whole file (AtomicFile.h), so the file never holds some new
// values and some old. Reads see the cached writes. User-interface thread only.

#include <cstdint>

using DWORD = std::uint32_t;
using BOOL = std::int32_t;

// Copies the value of `keyName` in section `appName` of `fileName` into `returnedString`, or
// `defaultValue` (null reads as empty) when the file, the section or the key is missing or
// the file cannot be read. At most `size` - 1 characters are copied, always followed by a
// terminating zero; returns the number copied. Null names or buffer, or a zero size, copy
// nothing and return 0.
DWORD GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultValue,
                               char* returnedString, DWORD size, const char* fileName);

// Sets `keyName` in section `appName` of `fileName` to `string` in the cache, creating the
// file, the section or the key as needed. Returns nonzero on success; zero when the file
// exists but cannot be read or is not a regular file, or when a name or the value would
// break the file's lines. Deleting (a null key or value) is not offered and fails. With all
// three of `appName`, `keyName` and `string` null it flushes the file: the cached writes
// replace it, and zero is returned when it cannot be written or created (the cached writes
// are dropped then). A flush with nothing cached succeeds.
BOOL WritePrivateProfileStringA(const char* appName, const char* keyName, const char* string,
                                const char* fileName);

// Whether `fileName` is a file past the bound no settings file comes near, which is never read
// as a profile (so it reads as empty and cannot be written either).
bool ProfileFileTooLarge(const char* fileName);
