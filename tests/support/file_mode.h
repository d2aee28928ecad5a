#pragma once

#include <filesystem>
#include <sys/stat.h>

namespace kfg::test {

// The permission bits of `path`, set-id and sticky bits included; 0 when it cannot be read.
inline mode_t ModeOf(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

} // namespace kfg::test
