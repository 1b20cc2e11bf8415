#include "platform/system/ProgramDirectory.h"

#include <filesystem>
#include <system_error>

std::string ProgramDirectory() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return "./";
    }
    return program.parent_path().string() + "/";
}
