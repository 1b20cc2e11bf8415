#pragma once
// `zorbix-sim --verify FILE`: re-plays a kept game headless and holds its score against the
// one it records.

#include <ostream>
#include <string>

// Prints one JSON line: the file, the recorded and the re-played score and whether they agree;
// or, for a file that cannot be read or is no replay, an error line. Returns the exit status:
// 0 only when the scores agree.
int VerifyReplay(const std::string& path, std::ostream& out);
