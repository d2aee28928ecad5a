#pragma once

#include "platform/unique_fd.h"

#include <dirent.h>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <system_error>
#include <vector>

namespace kfg::platform {

// Appends everything `fd` still gives until its end. A read error stops it: what came before
// stays in `contents`, and the caller decides whether a part is worth anything.
[[nodiscard]] std::error_code ReadToEnd(int fd, std::string& contents);

// Writes all of `bytes` to `fd`, at its position, or from `offset` on when that is not negative
// (the position then stays where it was).
[[nodiscard]] std::error_code WriteAll(int fd, std::string_view bytes, off_t offset = -1);

// The names in the folder `path` (relative to the folder descriptor `atFd`, or AT_FDCWD),
// without "." and "..", in the order the file system gives them. An unreadable folder has none.
std::vector<std::string> FolderEntryNames(int atFd, const char* path);
// The same; `error` tells when the folder could not be opened.
std::vector<std::string> FolderEntryNames(int atFd, const char* path, std::error_code& error);

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Reads the open folder `fd` as a DIR, which then owns the descriptor; on failure (null) the
// descriptor is closed.
std::unique_ptr<DIR, DirCloser> OpenDirectory(UniqueFd fd);

} // namespace kfg::platform
