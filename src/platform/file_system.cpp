#include "platform/file_system.h"

#include "platform/descriptor_reads.h"
#include "platform/last_error.h"
#include "platform/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::platform {

FileState PosixFileSystem::Probe(const std::filesystem::path& path) const {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        FileState state;
        // A dangling link or an unreachable folder leaves nothing to read.
        struct stat linkInfo {};
        state.exists = ::lstat(path.c_str(), &linkInfo) == 0 && !S_ISLNK(linkInfo.st_mode);
        return state;
    }
    FileState state;
    state.exists = true;
    state.present = S_ISREG(info.st_mode);
    state.mode = static_cast<std::uint32_t>(info.st_mode & 07777);
    state.size = static_cast<std::uint64_t>(info.st_size);
    state.modifiedNanoseconds =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    state.inode = static_cast<std::uint64_t>(info.st_ino);
    state.device = static_cast<std::uint64_t>(info.st_dev);
    return state;
}

bool PosixFileSystem::MayWrite(const std::filesystem::path& path) const {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

std::error_code PosixFileSystem::ReadAll(const std::filesystem::path& path,
                                         std::string& contents) const {
    contents.clear();
    std::error_code error;
    UniqueFd fd = OpenRegularFile(path, error);
    if (!fd.valid()) {
        return error;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return LastError();
    }
    contents.reserve(static_cast<std::size_t>(info.st_size));
    error = ReadToEnd(fd.get(), contents);
    if (error) {
        contents.clear();
    }
    return error;
}

std::error_code PosixFileSystem::Save(const std::filesystem::path& path, std::string_view contents,
                                      SaveNotes& notes) {
    return SaveFile(path, contents, hook_, &notes);
}

UniqueFd OpenRegularFile(const std::filesystem::path& path, std::error_code& error) {
    error.clear();
    int raw = -1;
    do {
        raw = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (raw < 0 && errno == EINTR);
    if (raw < 0) {
        error = LastError();
        return {};
    }
    UniqueFd fd(raw);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        error = LastError();
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
        return {};
    }
    return fd;
}

bool CanReadRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return OpenRegularFile(path, error).valid();
}

} // namespace kfg::platform
