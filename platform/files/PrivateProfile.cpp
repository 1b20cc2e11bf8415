#include "platform/files/PrivateProfile.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/ProfileText.h"

#include "platform/files/RegularFile.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// No settings file of any program comes near; a larger one is not read as one.
constexpr std::size_t MaxProfileFileBytes = 1u << 20;

// Writes not yet flushed, by file name, as the whole new text of the file. Like the system's
// profile cache, it lets several keys reach the disk in one replacement of the file, so a
// crash leaves all of them old or all new. Used on the user-interface thread only.
std::map<std::string, std::string> PendingProfiles;

// The whole file as text; empty text when it does not exist, nothing when it exists but
// cannot be read. Never waits on a pipe or a device that happens to bear the name.
std::optional<std::string> ReadProfileFile(const char* fileName) {
    if (const auto pending = PendingProfiles.find(fileName); pending != PendingProfiles.end()) {
        return pending->second;
    }
    std::vector<std::uint8_t> bytes;
    const std::error_code error = ReadRegularFile(fileName, MaxProfileFileBytes, bytes);
    if (error == std::errc::no_such_file_or_directory) {
        return std::string();
    }
    if (error) {
        return std::nullopt;
    }
    return std::string(bytes.begin(), bytes.end());
}

BOOL FlushProfileFile(const char* fileName) {
    const auto pending = PendingProfiles.find(fileName);
    if (pending == PendingProfiles.end()) {
        return 1;
    }
    const std::string text = std::move(pending->second);
    PendingProfiles.erase(pending);
    return ReplaceFileContents(fileName, text) ? 0 : 1;
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
        return FlushProfileFile(fileName);
    }
    if (appName == nullptr || keyName == nullptr || string == nullptr ||
        !IsWritableProfileEntry(appName, keyName, string)) {
        return 0;
    }
    const auto text = ReadProfileFile(fileName);
    if (!text) {
        return 0;
    }
    // Refused now rather than at the flush, so the caller learns which write failed.
    struct stat status {};
    if (::lstat(fileName, &status) == 0 && !S_ISREG(status.st_mode)) {
        return 0;
    }
    PendingProfiles[fileName] = SetProfileValue(*text, appName, keyName, string);
    return 1;
}

bool ProfileFileTooLarge(const char* fileName) {
    // Its size is enough to tell: nothing of it needs reading.
    struct stat status {};
    return ::stat(fileName, &status) == 0 && S_ISREG(status.st_mode) &&
           static_cast<std::uintmax_t>(status.st_size) > MaxProfileFileBytes;
}
