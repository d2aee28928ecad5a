#include "platform/descriptor_reads.h"

#include "platform/last_error.h"

#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace kfg::platform {

std::error_code ReadToEnd(int fd, std::string& contents) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return LastError();
        }
        if (got == 0) {
            return {};
        }
        contents.append(buffer, static_cast<std::size_t>(got));
    }
}

std::error_code WriteAll(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t written = offset < 0 ? ::write(fd, bytes.data(), bytes.size())
                                           : ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        if (offset >= 0) {
            offset += written;
        }
    }
    return {};
}

std::vector<std::string> FolderEntryNames(int atFd, const char* path) {
    std::error_code ignored;
    return FolderEntryNames(atFd, path, ignored);
}

std::vector<std::string> FolderEntryNames(int atFd, const char* path, std::error_code& error) {
    error.clear();
    std::vector<std::string> names;
    UniqueFd fd(::openat(atFd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) {
        error = LastError();
        return names;
    }
    const auto dir = OpenDirectory(std::move(fd));
    if (!dir) {
        error = LastError();
        return names;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    return names;
}

std::unique_ptr<DIR, DirCloser> OpenDirectory(UniqueFd fd) {
    std::unique_ptr<DIR, DirCloser> dir(fd.valid() ? ::fdopendir(fd.get()) : nullptr);
    if (dir) {
        (void)fd.release(); // the DIR closes it from here on
    }
    return dir;
}

} // namespace kfg::platform
