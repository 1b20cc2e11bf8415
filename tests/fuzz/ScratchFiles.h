#pragma once
// Files of the fuzzer's own in a fresh directory (in memory where the system offers one),
// rewritten with each input, so that the readers are driven through the very file calls the
// game makes. The directory goes with the object.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

class TScratchFiles {
public:
    TScratchFiles();
    ~TScratchFiles();
    TScratchFiles(const TScratchFiles&) = delete;
    TScratchFiles& operator=(const TScratchFiles&) = delete;

    // The path of `name` inside the directory.
    std::string Path(const std::string& name) const;
    // Replaces the file `name` with `bytes` and returns its path.
    std::string Write(const std::string& name, std::span<const std::uint8_t> bytes) const;
    // Removes the file `name`, if there is one.
    void Remove(const std::string& name) const;

private:
    std::filesystem::path Root;
};
