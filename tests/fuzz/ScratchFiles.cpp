#include "tests/fuzz/ScratchFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace {
std::filesystem::path MakeRoot() {
    const std::filesystem::path memory = "/dev/shm";
    std::string pattern =
        (std::filesystem::is_directory(memory) ? memory : std::filesystem::temp_directory_path()) /
        "zorbix-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern;
}
} // namespace

TScratchFiles::TScratchFiles() : Root(MakeRoot()) {}

TScratchFiles::~TScratchFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
}

std::string TScratchFiles::Path(const std::string& name) const {
    return (Root / name).string();
}

std::string TScratchFiles::Write(const std::string& name,
                                 std::span<const std::uint8_t> bytes) const {
    const std::string path = Path(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

void TScratchFiles::Remove(const std::string& name) const {
    std::error_code ignored;
    std::filesystem::remove(Path(name), ignored);
}
