#include "platform/private_folder.h"

#include "platform/descriptor_reads.h"
#include "platform/last_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

class PrivateFolderCategoryImpl : public std::error_category {
public:
    const char* name() const noexcept override { return "kfg.private-folder"; }
    std::string message(int condition) const override {
        switch (static_cast<PrivateFolderErrc>(condition)) {
        case PrivateFolderErrc::NoStateFolder:
            return "neither XDG_STATE_HOME nor HOME is an absolute path";
        case PrivateFolderErrc::Link:
            return "a symbolic link stands there";
        case PrivateFolderErrc::NotOwned:
            return "it belongs to another user";
        case PrivateFolderErrc::OpenToOthers:
            return "other users may write into it";
        case PrivateFolderErrc::NotRegularFile:
            return "not a regular file";
        }
        return "unknown private-folder error";
    }
};

// Owned by this user and writable by nobody else: only the user (or root) put it there.
std::error_code CheckOwned(const struct stat& info) {
    if (info.st_uid != ::geteuid()) {
        return PrivateFolderErrc::NotOwned;
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return PrivateFolderErrc::OpenToOthers;
    }
    return {};
}

// An open with O_NOFOLLOW fails with ELOOP at a link (ENOTDIR for O_DIRECTORY on some
// systems); tell that apart from a file that is simply no folder.
std::error_code OpenFailure(int parentFd, const char* name) {
    const std::error_code error = LastError();
    struct stat info {};
    if ((error == std::errc::too_many_symbolic_link_levels ||
         error == std::errc::not_a_directory) &&
        ::fstatat(parentFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)) {
        return PrivateFolderErrc::Link;
    }
    return error;
}

} // namespace

const std::error_category& PrivateFolderCategory() {
    static const PrivateFolderCategoryImpl category;
    return category;
}

std::error_code make_error_code(PrivateFolderErrc errc) {
    return {static_cast<int>(errc), PrivateFolderCategory()};
}

UniqueFd OpenPrivateFolder(int parentFd, const char* name, Create create, std::error_code& error) {
    if (create == Create::Yes && ::mkdirat(parentFd, name, 0700) != 0 && errno != EEXIST) {
        error = LastError();
        return {};
    }
    // Looked at before it is read: a folder another user keeps unreadable is still theirs.
    const UniqueFd seen(::openat(parentFd, name, O_PATH | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW));
    if (!seen.valid()) {
        error = OpenFailure(parentFd, name);
        return {};
    }
    struct stat info {};
    if (::fstat(seen.get(), &info) != 0) {
        error = LastError();
        return {};
    }
    if ((error = CheckOwned(info))) {
        return {};
    }
    // The folder looked at, whatever has taken its name since.
    UniqueFd fd(::openat(seen.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) {
        error = LastError();
    }
    return fd;
}

std::error_code MayWriteInto(int fd) {
    // AT_EACCESS: the rights this process acts with, as a later mkdirat or openat meets them.
    if (::faccessat(fd, ".", W_OK | X_OK, AT_EACCESS) != 0) {
        return LastError();
    }
    return {};
}

std::error_code ReadOwnFile(int folderFd, const char* name, std::string& bytes) {
    bytes.clear();
    UniqueFd fd(::openat(folderFd, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd.valid()) {
        return OpenFailure(folderFd, name);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return LastError();
    }
    if (!S_ISREG(info.st_mode)) {
        return PrivateFolderErrc::NotRegularFile;
    }
    if (const std::error_code error = CheckOwned(info)) {
        return error;
    }
    return ReadToEnd(fd.get(), bytes);
}

} // namespace kfg::platform
