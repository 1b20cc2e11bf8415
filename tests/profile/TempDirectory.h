#pragma once
// A fresh directory for one test, removed with all it holds when the test ends, and
// whole-file helpers for checking files byte for byte.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

struct TTempDirectory {
    TTempDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zorbix-XXXXXX").string();
        Path = ::mkdtemp(pattern.data());
    }
    ~TTempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::string File(std::string_view name) const { return (Path / name).string(); }
    // A leftover temporary file shows up in this count.
    long EntryCount() const {
        const std::filesystem::directory_iterator entries(Path);
        return std::distance(begin(entries), end(entries));
    }
    std::filesystem::path Path;
};

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
