// Reading and writing "HiScores.dat".

#include "settings/ScoreTable.h"

#include "core/GameError.h"
#include "platform/profile/AtomicFile.h"
#include "platform/system/GameFilePlaces.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t BlocksPerRead = 64;

std::string IoErrorText(std::error_code error) {
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
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

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Closes the file however reading ends.
class TReadOnlyFile {
public:
    explicit TReadOnlyFile(int descriptor) : Descriptor(descriptor) {}
    ~TReadOnlyFile() { ::close(Descriptor); }
    TReadOnlyFile(const TReadOnlyFile&) = delete;
    TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;
    int Get() const { return Descriptor; }

private:
    int Descriptor;
};

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
    const TReadOnlyFile file(descriptor);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        ThrowIoError(LastError());
    }
    if (!S_ISREG(status.st_mode)) {
        ThrowIoError(std::make_error_code(std::errc::permission_denied));
    }

    // Every 320-byte block lands on the table from its first byte, so a long file leaves its
    // last whole block overlaid by whatever part-block follows it.
    TTableBytes table = Encode();
    std::array<std::byte, ScoreTableSize * BlocksPerRead> chunk;
    std::size_t filled = 0; // bytes of the current block received so far
    for (;;) {
        const ssize_t count = ::read(file.Get(), chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            ThrowIoError(LastError());
        }
        if (count == 0) {
            break;
        }
        for (std::size_t offset = 0; offset < static_cast<std::size_t>(count);) {
            const std::size_t length =
                std::min(ScoreTableSize - filled, static_cast<std::size_t>(count) - offset);
            std::copy_n(chunk.data() + offset, length, table.data() + filled);
            filled = (filled + length) % ScoreTableSize;
            offset += length;
        }
    }
    Decode(table);
}

void TScoreTable::SaveTable() const {
    PreparePlayerDirectoryFor(TableFileName);
    const TTableBytes table = Encode();
    const std::string_view bytes(reinterpret_cast<const char*>(table.data()), table.size());
    if (const std::error_code error = ReplaceFileContents(TableFileName, bytes)) {
        ThrowIoError(error);
    }
}
