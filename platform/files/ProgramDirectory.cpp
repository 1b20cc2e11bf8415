#include "platform/files/ProgramDirectory.h"

#include <filesystem>
#include <system_error>

namespace {
std::string ProgramDirectoryOverride;
}

std::string ProgramDirectory() {
    if (!ProgramDirectoryOverride.empty()) {
        return ProgramDirectoryOverride;
    }
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return "./";
    }
    return program.parent_path().string() + "/";
}

void SetProgramDirectory(std::string directory) {
    ProgramDirectoryOverride = std::move(directory);
}

bool ProgramDirectoryChosen() {
    return !ProgramDirectoryOverride.empty();
}
