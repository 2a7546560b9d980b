#include "tools/builder/self_path.h"

#include <system_error>

std::filesystem::path RunningExecutablePath() {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : path;
}
