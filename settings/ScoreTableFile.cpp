// Reading and writing "HiScores.dat".

#include "settings/ScoreTable.h"

#include "core/GameError.h"
#include "platform/profile/AtomicFile.h"
#include "platform/system/GameFilePlaces.h"
#include "platform/system/OpenFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::size_t BlocksPerRead = 64;

std::string IoErrorText(std::error_code error) {
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
        error == std::errc::too_many_symbolic_link_levels ||
        error == std::errc::read_only_file_system || error == std::errc::is_a_directory) {
        return "File access denied";
    }
    if (error == std::errc::no_space_on_device || error == std::errc::file_too_large) {
        return "Disk full";
    }
    return "I/O error: " + error.message();
}

[[noreturn]] void ThrowIoError(std::error_code error) {
    throw EGameError(IoErrorText(error));
}

void RequireRegularFile(int descriptor) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        ThrowIoError(LastError());
    }
    if (!S_ISREG(status.st_mode)) {
        ThrowIoError(std::make_error_code(std::errc::permission_denied));
    }
}

// Every 320-byte block of the file lands on `table` from its first byte, so a long file
// leaves its last whole block overlaid by whatever part-block follows it.
template <class TTableBytes> void ReadBlocksOver(int descriptor, TTableBytes& table) {
    std::array<std::byte, ScoreTableSize * BlocksPerRead> chunk;
    std::size_t filled = 0; // bytes of the current block received so far
    for (;;) {
        const ssize_t count = ::read(descriptor, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            ThrowIoError(LastError());
        }
        if (count == 0) {
            return;
        }
        for (std::size_t offset = 0; offset < static_cast<std::size_t>(count);) {
            const std::size_t length =
                std::min(ScoreTableSize - filled, static_cast<std::size_t>(count) - offset);
            std::copy_n(chunk.data() + offset, length, table.data() + filled);
            filled = (filled + length) % ScoreTableSize;
            offset += length;
        }
    }
}

// The table file, opened (created when missing) and locked against other games saving it.
// The file is replaced by renaming, so the lock only counts while the name still leads to
// the locked file; otherwise the new file is locked instead.
TOpenFile LockTableFile(const std::string& fileName) {
    for (;;) {
        // Opening a device node may act on the device: anything but a regular file or a
        // missing one is refused by its name first.
        struct stat existing {};
        if (::lstat(fileName.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
            ThrowIoError(std::make_error_code(std::errc::permission_denied));
        }
        TOpenFile file(::open(fileName.c_str(),
                              O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
        if (file.Get() < 0) {
            ThrowIoError(LastError());
        }
        RequireRegularFile(file.Get());
        while (::flock(file.Get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                ThrowIoError(LastError());
            }
        }
        struct stat locked {};
        struct stat named {};
        if (::fstat(file.Get(), &locked) == 0 && ::lstat(fileName.c_str(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
            return file;
        }
    }
}

} // namespace

void TScoreTable::LoadTable() {
    // Reading needs no write access: a file marked read-only still loads. O_NONBLOCK keeps a
    // pipe bearing the file's name from stalling the start; only a regular file is read.
    const int descriptor = ::open(TableFileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT) {
            return;
        }
        ThrowIoError(LastError());
    }
    const TOpenFile file(descriptor);
    RequireRegularFile(file.Get());
    TTableBytes table = Encode(Entries);
    ReadBlocksOver(file.Get(), table);
    Entries = Decode(table);
    AddedHere = {};
}

void TScoreTable::SaveTable() {
    WriteLocked(true);
}

void TScoreTable::WriteLocked(bool merge) {
    PreparePlayerDirectoryFor(TableFileName);
    const TOpenFile lock = LockTableFile(TableFileName);
    TEntries entries = Entries;
    TAddedFlags added = AddedHere;
    if (merge) {
        TTableBytes disk = Encode(Entries);
        ReadBlocksOver(lock.Get(), disk);
        entries = MergeScoreTables(Decode(disk), Entries, added);
    }
    const TTableBytes table = Encode(entries);
    const std::string_view bytes(reinterpret_cast<const char*>(table.data()), table.size());
    if (const std::error_code error = ReplaceFileContents(TableFileName, bytes)) {
        ThrowIoError(error);
    }
    Entries = entries;
    AddedHere = added;
}
