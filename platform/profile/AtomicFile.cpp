#include "platform/profile/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::error_code WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// Writes and syncs the temporary file; the caller removes it when this fails.
std::error_code FillTemporary(const std::string& temporary, std::string_view bytes,
                              const struct stat* existing) {
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return LastError();
    }
    std::error_code error;
    if (existing != nullptr && ::fchmod(descriptor, existing->st_mode & 07777) != 0) {
        error = LastError();
    }
    if (!error) {
        error = WriteAll(descriptor, bytes);
    }
    if (!error && ::fsync(descriptor) != 0) {
        error = LastError();
    }
    if (::close(descriptor) != 0 && !error) {
        error = LastError();
    }
    return error;
}

// The rename is only durable once the directory entry itself is on disk; a failure here
// loses nothing that is not already safe, so it is not reported.
void SyncDirectoryOf(const std::filesystem::path& file) {
    const std::filesystem::path directory =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

} // namespace

std::error_code ReplaceFileContents(const std::string& path, std::string_view bytes) {
    std::error_code error;
    std::filesystem::path target = path;
    const std::filesystem::file_status link = std::filesystem::symlink_status(target, error);
    if (std::filesystem::is_symlink(link)) {
        target = std::filesystem::weakly_canonical(target, error);
    }
    // A missing file is no fault here: it is about to be created.
    if (error && error != std::errc::no_such_file_or_directory) {
        return error;
    }

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return LastError();
    }

    const std::string temporary = target.string() + "." + std::to_string(::getpid()) + ".tmp";
    ::unlink(temporary.c_str()); // a leftover of an earlier crash under the same process id
    error = FillTemporary(temporary, bytes, exists ? &existing : nullptr);
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = LastError();
    }
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncDirectoryOf(target);
    return {};
}
