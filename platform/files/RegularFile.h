#pragma once
// Reading a file the player or anyone else may have replaced by something hostile: a pipe
// that never delivers, a device that never ends, or a file far larger than its kind allows.
// Only a regular file (directly or through a symbolic link) is read, never waiting on it,
// and never past a limit the caller sets for the file's kind.

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

// Replaces `bytes` with the whole contents of `path`. Errors: no_such_file_or_directory
// for a missing file, invalid_argument when the name is not a regular file (a pipe, a
// device, a directory), file_too_large when it holds more than `limit` bytes, or the
// system's error when it cannot be opened or read. On error `bytes` is empty.
std::error_code ReadRegularFile(const std::string& path, std::size_t limit,
                                std::vector<std::uint8_t>& bytes);

// For a `path` that does not exist: the path of a file beside it whose name differs only in
// letter case (ASCII), where the directory holds one; empty otherwise. On a case-sensitive file
// system a file saved as "hiscores.dat" is still found under "HiScores.dat".
std::string SameNameInAnyCase(const std::string& path);
