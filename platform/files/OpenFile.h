#pragma once
// A file descriptor that is closed however its use ends (a lock taken on it goes with it),
// and the error of the last failed system call.

#include <cerrno>
#include <system_error>
#include <unistd.h>
#include <utility>

class TOpenFile {
public:
    explicit TOpenFile(int descriptor) : Descriptor(descriptor) {}
    ~TOpenFile() {
        if (Descriptor >= 0) {
            ::close(Descriptor);
        }
    }
    TOpenFile(TOpenFile&& other) noexcept : Descriptor(std::exchange(other.Descriptor, -1)) {}
    TOpenFile(const TOpenFile&) = delete;
    TOpenFile& operator=(const TOpenFile&) = delete;
    int Get() const { return Descriptor; }

private:
    int Descriptor;
};

inline std::error_code LastError() {
    return {errno, std::generic_category()};
}
