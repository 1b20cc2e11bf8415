#include "platform/files/LockedFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::error_code RefusedKind() {
    return std::make_error_code(std::errc::permission_denied);
}

std::error_code RequireRegularFile(const TOpenFile& file) {
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        return LastError();
    }
    return S_ISREG(status.st_mode) ? std::error_code() : RefusedKind();
}

} // namespace

TOpenFile OpenRegularFileForReading(const std::string& path, std::error_code& error) {
    // O_NONBLOCK keeps a pipe bearing the file's name from stalling the caller.
    TOpenFile file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    error = file.Get() < 0 ? LastError() : RequireRegularFile(file);
    return error ? TOpenFile(-1) : std::move(file);
}

TOpenFile OpenLockedFile(const std::string& path, std::error_code& error) {
    for (;;) {
        // Opening a device node may act on the device: anything but a regular file or a
        // missing one is refused by its name first.
        struct stat existing {};
        if (::lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
            error = RefusedKind();
            return TOpenFile(-1);
        }
        TOpenFile file(
            ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
        error = file.Get() < 0 ? LastError() : RequireRegularFile(file);
        if (error) {
            return TOpenFile(-1);
        }
        while (::flock(file.Get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                error = LastError();
                return TOpenFile(-1);
            }
        }
        struct stat locked {};
        struct stat named {};
        if (::fstat(file.Get(), &locked) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
            return file;
        }
    }
}

std::error_code ReadFromFile(const TOpenFile& file, std::span<std::byte> buffer,
                             std::size_t& count) {
    for (;;) {
        const ssize_t read = ::read(file.Get(), buffer.data(), buffer.size());
        if (read >= 0) {
            count = static_cast<std::size_t>(read);
            return {};
        }
        if (errno != EINTR) {
            count = 0;
            return LastError();
        }
    }
}
