#include "platform/new_file.h"

#include "platform/descriptor_reads.h"
#include "platform/last_error.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

constexpr std::string_view kTemporaryMark = ".kfg-";

// Six letters or digits for a temporary name.
std::string RandomSuffix() {
    static constexpr char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[6] = {};
    if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        auto seed =
            static_cast<unsigned long>(now.tv_nsec) ^ static_cast<unsigned long>(::getpid());
        for (unsigned char& byte : bytes) {
            seed = seed * 6364136223846793005ul + 1442695040888963407ul;
            byte = static_cast<unsigned char>(seed >> 56);
        }
    }
    std::string suffix;
    for (const unsigned char byte : bytes) {
        suffix.push_back(kAlphabet[byte % (sizeof kAlphabet - 1)]);
    }
    return suffix;
}

// A temporary's name: ".<name>.kfg-" and at least one more character; any name when `name`
// is empty.
bool IsTemporaryOf(std::string_view entry, std::string_view name) {
    if (name.empty()) {
        const std::size_t mark = entry.find(kTemporaryMark);
        return entry.starts_with('.') && mark != std::string_view::npos && mark > 1 &&
               entry.size() > mark + kTemporaryMark.size();
    }
    const std::string prefix = TemporaryPrefixOf(name);
    return entry.size() > prefix.size() && entry.starts_with(prefix);
}

} // namespace

std::string TemporaryPrefixOf(std::string_view name) {
    return "." + std::string(name) + std::string(kTemporaryMark);
}

NewFile::~NewFile() {
    if (!temporary_.empty()) {
        ::unlinkat(folderFd_, temporary_.c_str(), 0); // not committed: nothing stays
    }
}

std::error_code NewFile::Begin(int folderFd, std::string name, Kind kind) {
    folderFd_ = folderFd;
    name_ = std::move(name);
    unnamed_ = kind == Kind::Unnamed;
    if (unnamed_) {
        fd_ = UniqueFd(::openat(folderFd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (!fd_.valid()) {
            // No unnamed files on this file system (or no O_TMPFILE at all).
            return errno == EISDIR ? std::make_error_code(std::errc::operation_not_supported)
                                   : LastError();
        }
        return {};
    }
    for (int tries = 0; tries < 100; ++tries) {
        std::string temporary = TemporaryPrefixOf(name_) + RandomSuffix();
        fd_ = UniqueFd(::openat(folderFd_, temporary.c_str(),
                                O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (fd_.valid()) {
            temporary_ = std::move(temporary);
            return {};
        }
        if (errno != EEXIST) {
            return LastError();
        }
    }
    return std::make_error_code(std::errc::file_exists);
}

std::error_code NewFile::NameTemporary() {
    if (!temporary_.empty()) {
        return {};
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    for (int tries = 0; tries < 100; ++tries) {
        std::string temporary = TemporaryPrefixOf(name_) + RandomSuffix();
        if (::linkat(AT_FDCWD, self.c_str(), folderFd_, temporary.c_str(), AT_SYMLINK_FOLLOW) ==
            0) {
            temporary_ = std::move(temporary);
            return {};
        }
        if (errno != EEXIST) {
            return LastError();
        }
    }
    return std::make_error_code(std::errc::file_exists);
}

bool NewFile::Close() {
    return fd_.close();
}

std::error_code NewFile::Commit(ExistingName existing) {
    if (temporary_.empty()) {
        if (existing == ExistingName::Fails) { // straight in: nothing to clean up on the way
            const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
            return ::linkat(AT_FDCWD, self.c_str(), folderFd_, name_.c_str(), AT_SYMLINK_FOLLOW) ==
                           0
                       ? std::error_code{}
                       : LastError();
        }
        if (const std::error_code error = NameTemporary()) {
            return error;
        }
    }
    const int done = existing == ExistingName::IsReplaced
                         ? ::renameat(folderFd_, temporary_.c_str(), folderFd_, name_.c_str())
                         : ::linkat(folderFd_, temporary_.c_str(), folderFd_, name_.c_str(), 0);
    if (done != 0) {
        return LastError(); // the temporary goes with the object
    }
    if (existing == ExistingName::Fails) {
        ::unlinkat(folderFd_, temporary_.c_str(), 0); // the file has its name now
    }
    temporary_.clear();
    return {};
}

std::error_code WriteNewFileAt(int folderFd, const std::string& name, std::string_view bytes,
                               ExistingName existing) {
    NewFile file;
    std::error_code error = file.Begin(folderFd, name, NewFile::Kind::Unnamed);
    const bool noUnnamed = error == std::errc::operation_not_supported;
    if (noUnnamed) {
        error = file.Begin(folderFd, name, NewFile::Kind::Named);
    }
    if (error || (error = WriteAll(file.Fd(), bytes))) {
        return error;
    }
    error = file.Commit(existing);
    if (error == std::errc::no_such_file_or_directory && file.IsUnnamed()) {
        // No /proc to name an unnamed file through: once more, named.
        NewFile named;
        if (!(error = named.Begin(folderFd, name, NewFile::Kind::Named)) &&
            !(error = WriteAll(named.Fd(), bytes))) {
            error = named.Commit(existing);
        }
    }
    return error;
}

void RemoveLeftovers(int folderFd, std::string_view name) {
    for (const std::string& entry : FolderEntryNames(folderFd, ".")) {
        struct stat info {};
        if (IsTemporaryOf(entry, name) &&
            ::fstatat(folderFd, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(folderFd, entry.c_str(), 0); // best effort
        }
    }
}

bool RemoveLeftoversIfFree(int folderFd, std::string_view name) {
    if (::flock(folderFd, LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    RemoveLeftovers(folderFd, name);
    return true;
}

} // namespace kfg::platform
