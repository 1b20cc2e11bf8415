#include "platform/profile/PrivateProfile.h"

#include "platform/profile/AtomicFile.h"
#include "platform/profile/ProfileText.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The whole file as text; empty text when it does not exist, nothing when it exists but
// cannot be read. Never waits on a pipe or a device that happens to bear the name.
std::optional<std::string> ReadProfileFile(const char* fileName) {
    const int descriptor = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT) {
            return std::string();
        }
        return std::nullopt;
    }
    std::optional<std::string> text;
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        text.emplace();
        std::array<char, 4096> block;
        ssize_t count = 0;
        while ((count = ::read(descriptor, block.data(), block.size())) != 0) {
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                text.reset();
                break;
            }
            text->append(block.data(), static_cast<std::size_t>(count));
        }
    }
    ::close(descriptor);
    return text;
}

} // namespace

DWORD GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultValue,
                               char* returnedString, DWORD size, const char* fileName) {
    if (returnedString == nullptr || size == 0) {
        return 0;
    }
    returnedString[0] = '\0';
    if (appName == nullptr || keyName == nullptr || fileName == nullptr) {
        return 0;
    }
    std::optional<std::string> value;
    if (const auto text = ReadProfileFile(fileName)) {
        value = FindProfileValue(*text, appName, keyName);
    }
    if (!value) {
        value = defaultValue != nullptr ? defaultValue : "";
    }
    const std::size_t count = std::min<std::size_t>(value->size(), size - 1);
    std::memcpy(returnedString, value->data(), count);
    returnedString[count] = '\0';
    return static_cast<DWORD>(count);
}

BOOL WritePrivateProfileStringA(const char* appName, const char* keyName, const char* string,
                                const char* fileName) {
    if (fileName == nullptr) {
        return 0;
    }
    if (appName == nullptr && keyName == nullptr && string == nullptr) {
        return 1;
    }
    if (appName == nullptr || keyName == nullptr || string == nullptr ||
        !IsWritableProfileEntry(appName, keyName, string)) {
        return 0;
    }
    const auto text = ReadProfileFile(fileName);
    if (!text) {
        return 0;
    }
    const std::string changed = SetProfileValue(*text, appName, keyName, string);
    return ReplaceFileContents(fileName, changed) ? 0 : 1;
}
