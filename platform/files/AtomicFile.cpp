#include "platform/files/AtomicFile.h"
#include "platform/files/OpenFile.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

std::string TemporaryNameFor(const std::filesystem::path& target, pid_t owner) {
    return target.string() + "." + std::to_string(owner) + ".tmp";
}

// The process id inside "<name>.<pid>.tmp", or none when `entry` is not such a name.
std::optional<pid_t> TemporaryOwner(std::string_view entry, std::string_view name) {
    constexpr std::string_view Suffix = ".tmp";
    if (entry.size() <= name.size() + 1 + Suffix.size() || !entry.starts_with(name) ||
        entry[name.size()] != '.' || !entry.ends_with(Suffix)) {
        return std::nullopt;
    }
    const std::string_view digits =
        entry.substr(name.size() + 1, entry.size() - name.size() - 1 - Suffix.size());
    pid_t owner = 0;
    const auto [end, failure] =
        std::from_chars(digits.data(), digits.data() + digits.size(), owner);
    if (failure != std::errc() || end != digits.data() + digits.size() || owner <= 0) {
        return std::nullopt;
    }
    return owner;
}

// A temporary whose process is gone was left by a crash or a kill; one whose process still
// runs may be another game saving the same file right now, and is left to it.
void RemoveStrayTemporaries(const std::filesystem::path& target) {
    std::error_code error;
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::string name = target.filename().string();
    for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string entryName = entry->path().filename().string();
        const std::optional<pid_t> owner = TemporaryOwner(entryName, name);
        if (owner && ::kill(*owner, 0) != 0 && errno == ESRCH) {
            ::unlink(entry->path().c_str());
        }
    }
}

} // namespace

std::error_code ReplaceFileContents(const std::string& path, std::string_view bytes) {
    const std::filesystem::path target = path;
    struct stat existing {};
    const bool exists = ::lstat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        return LastError();
    }
    if (exists && S_ISLNK(existing.st_mode)) {
        return std::make_error_code(std::errc::too_many_symbolic_link_levels);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return std::make_error_code(std::errc::operation_not_permitted);
    }
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return LastError();
    }

    RemoveStrayTemporaries(target);
    const std::string temporary = TemporaryNameFor(target, ::getpid());
    ::unlink(temporary.c_str()); // a leftover of an earlier crash under the same process id
    std::error_code error = FillTemporary(temporary, bytes, exists ? &existing : nullptr);
    // rename replaces whatever entry bears the name by then, a link included, and never
    // writes into what a link points at.
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
