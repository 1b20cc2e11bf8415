#pragma once
// Whole-file replacement that never leaves a half-written file behind: the new bytes go to a
// temporary file beside the target, reach the disk, and only then take the target's name.
// Whoever reads the target meanwhile, or after a crash or a full disk, finds either the old
// contents or the new ones.

#include <string>
#include <string_view>
#include <system_error>

// Replaces the contents of `path` with `bytes`, creating the file when it does not exist.
// An existing file that this process may not write is left alone and reported as
// permission_denied; a symbolic link keeps pointing at the file it names, which is replaced.
// The file keeps its permission bits. On any failure the target is untouched, no temporary
// file remains, and the error says why.
std::error_code ReplaceFileContents(const std::string& path, std::string_view bytes);
