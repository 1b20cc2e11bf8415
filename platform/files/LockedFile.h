#pragma once
// A small table file shared by every running copy of the game: read without waiting on it,
// and held under an exclusive lock while one copy merges and saves it. Only a regular file is
// ever opened; anything else bearing its name (a pipe, a device, a directory, a symbolic
// link when locking) is refused as permission_denied.

#include "platform/files/OpenFile.h"

#include <cstddef>
#include <span>
#include <string>
#include <system_error>

// The file opened for reading. A missing file is no_such_file_or_directory; on any error the
// result holds no descriptor.
TOpenFile OpenRegularFileForReading(const std::string& path, std::error_code& error);
// The file opened for reading (created empty when missing) and locked against the other
// copies. The file is replaced by renaming, so the lock only counts while the name still
// leads to the locked file; otherwise the new file is locked instead.
TOpenFile OpenLockedFile(const std::string& path, std::error_code& error);
// Reads the next bytes into `buffer`, as many as there are up to its size; `count` is 0 at
// the end of the file.
std::error_code ReadFromFile(const TOpenFile& file, std::span<std::byte> buffer,
                             std::size_t& count);
