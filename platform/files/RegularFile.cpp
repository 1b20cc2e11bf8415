#include "platform/files/RegularFile.h"

#include "platform/files/OpenFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads to the end; a file that grows past `limit` while it is read is refused as well.
std::error_code ReadToEnd(int descriptor, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    std::array<std::uint8_t, 65536> block;
    for (;;) {
        const ssize_t count = ::read(descriptor, block.data(), block.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return LastError();
        }
        if (count == 0) {
            return {};
        }
        if (static_cast<std::size_t>(count) > limit - bytes.size()) {
            return std::make_error_code(std::errc::file_too_large);
        }
        bytes.insert(bytes.end(), block.begin(), block.begin() + count);
    }
}

} // namespace

std::error_code ReadRegularFile(const std::string& path, std::size_t limit,
                                std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    // O_NONBLOCK: opening a pipe for reading would otherwise wait for a writer.
    const TOpenFile file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0) {
        return LastError();
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        return LastError();
    }
    if (!S_ISREG(status.st_mode)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    if (static_cast<std::uint64_t>(status.st_size) > limit) {
        return std::make_error_code(std::errc::file_too_large);
    }
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    std::error_code error = ReadToEnd(file.Get(), limit, bytes);
    if (error) {
        bytes.clear();
        bytes.shrink_to_fit();
    }
    return error;
}

std::string SameNameInAnyCase(const std::string& path) {
    const std::filesystem::path wanted(path);
    const std::string name = wanted.filename().string();
    const auto sameLetters = [&name](const std::string& other) {
        return std::equal(
            name.begin(), name.end(), other.begin(), other.end(),
            [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
    };
    std::error_code error;
    const std::filesystem::path directory =
        wanted.has_parent_path() ? wanted.parent_path() : std::filesystem::path(".");
    for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string other = entry->path().filename().string();
        if (other != name && sameLetters(other)) {
            return entry->path().string();
        }
    }
    return {};
}
