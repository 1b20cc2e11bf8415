#pragma once
// Whole-file replacement that never leaves a half-written file behind: the new bytes go to a
// temporary file beside the target, reach the disk, and only then take the target's name.
// Whoever reads the target meanwhile, or after a crash or a full disk, finds either the old
// contents or the new ones.

#include <string>
#include <string_view>
#include <system_error>

// Replaces the contents of `path` with `bytes`, creating the file when it does not exist.
// Only a regular file or a missing one is replaced: a symbolic link is refused as
// too_many_symbolic_link_levels (nothing is ever written through it into its target), and
// a pipe, a device or a directory as operation_not_permitted. An existing file that this
// process may not write is left alone and reported as permission_denied. The file keeps its
// permission bits. On any failure the target is untouched, no temporary file remains, and
// the error says why. Temporary files left beside the target by a process that died while
// saving it are removed.
std::error_code ReplaceFileContents(const std::string& path, std::string_view bytes);
