#include "platform/file_system.h"

#include "platform/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::error_code WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// Permissions a new file gets: what open() would give with mode 0666 under the process umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// Best effort: the rename is already done, so the new contents are in place either way.
void FlushFolder(const std::filesystem::path& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::fsync(fd.get());
    }
}

} // namespace

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
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            contents.clear();
            return LastError();
        }
        if (got == 0) {
            return {};
        }
        contents.append(buffer, static_cast<std::size_t>(got));
    }
}

std::error_code PosixFileSystem::RunHook(ReplaceStep step) const {
    return hook_ ? hook_(step) : std::error_code{};
}

std::error_code PosixFileSystem::ReplaceAtomically(const std::filesystem::path& path,
                                                   std::string_view contents) {
    std::filesystem::path target;
    std::error_code error = RunHook(ReplaceStep::ResolveTarget);
    if (!error) {
        error = ResolveWriteTarget(path, target);
    }
    if (error) {
        return error;
    }

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) {
        return std::make_error_code(S_ISDIR(old.st_mode) ? std::errc::is_a_directory
                                                         : std::errc::invalid_argument);
    }

    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::string temporaryName =
        (folder / ("." + target.filename().string() + ".kfg-XXXXXX")).string();
    if ((error = RunHook(ReplaceStep::CreateTemporary))) {
        return error;
    }
    UniqueFd fd(::mkostemp(temporaryName.data(), O_CLOEXEC));
    if (!fd.valid()) {
        return LastError();
    }
    // From here on every failure removes the temporary file and leaves the old one alone.
    const auto fail = [&](std::error_code failure) {
        fd.close();
        ::unlink(temporaryName.c_str());
        return failure;
    };

    if ((error = RunHook(ReplaceStep::WriteContents)) || (error = WriteAll(fd.get(), contents))) {
        return fail(error);
    }
    if ((error = RunHook(ReplaceStep::CopyPermissions))) {
        return fail(error);
    }
    if (replacing) {
        // Keeping the owner only works for root; for anyone else it is already theirs.
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0 && errno != EPERM) {
            return fail(LastError());
        }
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
            return fail(LastError());
        }
    } else if (::fchmod(fd.get(), NewFileMode()) != 0) {
        return fail(LastError());
    }
    if ((error = RunHook(ReplaceStep::FlushContents))) {
        return fail(error);
    }
    if (::fsync(fd.get()) != 0) {
        return fail(LastError());
    }
    if ((error = RunHook(ReplaceStep::CloseTemporary))) {
        return fail(error);
    }
    if (!fd.close()) {
        return fail(LastError());
    }
    if ((error = RunHook(ReplaceStep::RenameOverTarget))) {
        return fail(error);
    }
    if (::rename(temporaryName.c_str(), target.c_str()) != 0) {
        return fail(LastError());
    }
    FlushFolder(folder);
    return {};
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

std::error_code ResolveWriteTarget(const std::filesystem::path& path,
                                   std::filesystem::path& target) {
    constexpr int kMaxLinks = 40; // what the kernel allows in one path lookup
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = current;
            return {};
        }
        std::error_code error;
        std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error) {
            return error;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return std::make_error_code(std::errc::too_many_symbolic_link_levels);
}

} // namespace kfg::platform
