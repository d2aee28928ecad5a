#include "platform/new_file.h"

#include "platform/descriptor_reads.h"
#include "platform/last_error.h"
#include "platform/unique_fd.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

std::string TemporaryName(int attempt) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return std::string(kNewFileTemporaryPrefix) + std::to_string(::getpid()) + "-" +
           std::to_string(now.tv_nsec + attempt);
}

// Gives the whole temporary file `temporary` its final name.
std::error_code NameTemporary(int folderFd, const char* temporary, const std::string& name,
                              ExistingName existing) {
    if (existing == ExistingName::IsReplaced) {
        return ::renameat(folderFd, temporary, folderFd, name.c_str()) == 0 ? std::error_code{}
                                                                            : LastError();
    }
    return ::linkat(folderFd, temporary, folderFd, name.c_str(), 0) == 0 ? std::error_code{}
                                                                         : LastError();
}

// An unnamed file (O_TMPFILE) linked in once whole; kills leave nothing behind. Unsupported
// (no such file system, or no /proc to link it through): unsupported is set.
std::error_code WriteUnnamed(int folderFd, const std::string& name, std::string_view bytes,
                             ExistingName existing, bool& unsupported) {
    UniqueFd fd(::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        unsupported = errno == EOPNOTSUPP || errno == EISDIR;
        return LastError();
    }
    if (const std::error_code error = WriteAll(fd.get(), bytes)) {
        return error;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
    if (existing == ExistingName::Fails) {
        if (::linkat(AT_FDCWD, self.c_str(), folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return {};
        }
        unsupported = errno == ENOENT;
        return LastError();
    }
    // A replacement needs a name of its own first: rename() takes names, not descriptors.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = TemporaryName(attempt);
        if (::linkat(AT_FDCWD, self.c_str(), folderFd, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            const std::error_code error =
                NameTemporary(folderFd, temporary.c_str(), name, existing);
            if (error) {
                ::unlinkat(folderFd, temporary.c_str(), 0);
            }
            return error;
        }
        if (errno != EEXIST) {
            unsupported = errno == ENOENT;
            return LastError();
        }
    }
    return std::make_error_code(std::errc::file_exists);
}

// A named temporary file, named as the caller asks when whole.
std::error_code WriteNamed(int folderFd, const std::string& name, std::string_view bytes,
                           ExistingName existing) {
    UniqueFd fd;
    std::string temporary;
    for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        temporary = TemporaryName(attempt);
        fd = UniqueFd(::openat(folderFd, temporary.c_str(),
                               O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!fd.valid() && errno != EEXIST) {
            return LastError();
        }
    }
    if (!fd.valid()) {
        return std::make_error_code(std::errc::file_exists);
    }
    std::error_code error = WriteAll(fd.get(), bytes);
    if (!error) {
        error = NameTemporary(folderFd, temporary.c_str(), name, existing);
    }
    if (error || existing == ExistingName::Fails) {
        ::unlinkat(folderFd, temporary.c_str(), 0); // the file has its name, or failed
    }
    return error;
}

} // namespace

std::error_code WriteNewFileAt(int folderFd, const std::string& name, std::string_view bytes,
                               ExistingName existing) {
    bool unsupported = false;
    const std::error_code error = WriteUnnamed(folderFd, name, bytes, existing, unsupported);
    if (!error || !unsupported) {
        return error;
    }
    return WriteNamed(folderFd, name, bytes, existing);
}

} // namespace kfg::platform
