#include "platform/file_save.h"

#include "platform/descriptor_reads.h"
#include "platform/extended_attributes.h"
#include "platform/last_error.h"
#include "platform/new_file.h"
#include "platform/process_umask.h"
#include "platform/unique_fd.h"

#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kfg::platform {
namespace {

// How long a save waits for the folder's lock that another process holds.
constexpr std::chrono::milliseconds kFolderLockWait{2000};

// The folder or the file said no to something a replacement needs; a write in place may
// still be allowed.
bool IsRefusal(std::error_code error) {
    return error == std::errc::permission_denied || error == std::errc::operation_not_permitted;
}

// The file system has no unnamed files (or /proc is not mounted, so one cannot be named).
bool IsUnnamedUnsupported(std::error_code error) {
    return error == std::errc::operation_not_supported || error == std::errc::is_a_directory;
}

// Permissions a new file gets: what open() would give with mode 0666 under the process umask.
mode_t NewFileMode() {
    return static_cast<mode_t>(0666 & ~ProcessUmask());
}

// Makes sure the new contents fit before any byte of the file changes: the file size limit
// is checked and the disk space reserved, so a full disk or quota fails here. Where the file
// system can, the space is reserved beyond the end without changing the length, so a kill
// or crash right after it leaves the old file exactly as it was; growing the length instead
// leaves the old contents followed by zeros (the kill benchmark tore three to five times as
// many files that way). Elsewhere the file is grown (posix_fallocate) and cut back when that
// fails.
std::error_code ReserveSpace(int fd, off_t size, off_t oldSize) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        static_cast<rlim_t>(size) > limit.rlim_cur) {
        return std::make_error_code(std::errc::file_too_large);
    }
    if (size == 0) {
        return {};
    }
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0) {
        return {};
    }
    if (errno != EOPNOTSUPP) {
        return LastError();
    }
    const int failed = ::posix_fallocate(fd, 0, size);
    if (failed == 0) {
        return {};
    }
    struct stat now {};
    // A growth that failed half way added zeros. Taking them off again is all that can be done;
    // if that fails too, the reservation's own failure is still the one to report. (An if, not a
    // (void) cast: the C library's warn_unused_result ignores the cast in hardened builds.)
    if (::fstat(fd, &now) == 0 && now.st_size != oldSize && ::ftruncate(fd, oldSize) != 0) {
        return {failed, std::generic_category()};
    }
    return {failed, std::generic_category()};
}

// How one attempt at a replacement ended.
struct Attempt {
    std::error_code error;
    bool tryInPlace = false; // refused by the folder or unable to keep the file as it is
    bool tryNamed = false;   // unnamed temporary files do not work here
};

class Saver {
public:
    Saver(const StepHook& hook, std::string_view contents, SaveNotes& notes)
        : hook_(hook)
        , contents_(contents)
        , notes_(notes) {}

    std::error_code Run(const std::filesystem::path& path);

private:
    std::error_code Step(SaveStep step) const { return hook_ ? hook_(step) : std::error_code{}; }
    bool LockFolder();
    void LockFolderAndRemoveLeftovers();
    Attempt Replace(bool unnamed);
    Attempt CreateTemporary(bool unnamed, NewFile& file);
    Attempt KeepOwnerModeAndAttributes(int fd) const;
    std::error_code WriteInPlace();

    const StepHook& hook_;
    std::string_view contents_;
    SaveNotes& notes_;
    std::filesystem::path target_;
    std::filesystem::path folder_;
    std::string name_;
    UniqueFd folderFd_; // holds the flock while the save runs
    UniqueFd pathFd_;   // the folder, where it cannot be opened for reading (no flock then)
    bool exists_ = false;
    struct stat old_ {};
};

std::error_code Saver::Run(const std::filesystem::path& path) {
    std::error_code error = Step(SaveStep::ResolveTarget);
    if (!error) {
        error = ResolveWriteTarget(path, target_);
    }
    if (error) {
        return error;
    }
    folder_ = target_.parent_path();
    if (folder_.empty()) {
        folder_ = ".";
    }
    name_ = target_.filename().string();
    LockFolderAndRemoveLeftovers();

    exists_ = ::stat(target_.c_str(), &old_) == 0;
    if (!exists_ && errno != ENOENT) {
        return LastError();
    }
    if (exists_ && !S_ISREG(old_.st_mode)) {
        return std::make_error_code(S_ISDIR(old_.st_mode) ? std::errc::is_a_directory
                                                          : std::errc::invalid_argument);
    }
    // A replacement would cut the other names off the new contents.
    if (exists_ && old_.st_nlink > 1) {
        return WriteInPlace();
    }
    Attempt attempt = Replace(true);
    if (attempt.tryNamed) {
        attempt = Replace(false);
    }
    if (attempt.error && attempt.tryInPlace && exists_) {
        return WriteInPlace();
    }
    if (!attempt.error && folderFd_.valid()) {
        ::fsync(folderFd_.get()); // best effort: the rename is done either way
    }
    return attempt.error;
}

// The flock keeps two saves into one folder apart, so the clean-up never takes a temporary
// file that another save is still writing: whatever matches the pattern is left over from a
// save that was killed. A folder that cannot be opened for reading gets neither.
void Saver::LockFolderAndRemoveLeftovers() {
    folderFd_ = UniqueFd(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd_.valid() || !LockFolder()) {
        return;
    }
    RemoveLeftovers(folderFd_.get(), name_);
}

// Another process may hold the lock (a save of another KFG stuck on a slow disk, or any
// program that locks the folder): the attempts do not block, and after kFolderLockWait the
// save goes on without the lock. It is the clean-up that needs the lock, not the save.
bool Saver::LockFolder() {
    constexpr timespec kPause{0, 20'000'000}; // 20 ms between attempts
    const auto deadline = std::chrono::steady_clock::now() + kFolderLockWait;
    for (;;) {
        if (::flock(folderFd_.get(), LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return false; // a file system without locks: no clean-up either
        }
        if (Step(SaveStep::WaitForFolderLock) || std::chrono::steady_clock::now() >= deadline) {
            notes_.leftoversKept = true;
            return false;
        }
        ::nanosleep(&kPause, nullptr);
    }
}

Attempt Saver::CreateTemporary(bool unnamed, NewFile& file) {
    if (!folderFd_.valid() && !pathFd_.valid()) {
        pathFd_ = UniqueFd(::open(folder_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!pathFd_.valid()) {
            return {LastError()};
        }
    }
    const int folderFd = folderFd_.valid() ? folderFd_.get() : pathFd_.get();
    std::error_code error =
        Step(unnamed ? SaveStep::CreateUnnamedTemporary : SaveStep::CreateTemporary);
    if (!error) {
        error =
            file.Begin(folderFd, name_, unnamed ? NewFile::Kind::Unnamed : NewFile::Kind::Named);
    }
    return {error, exists_ && IsRefusal(error), unnamed && IsUnnamedUnsupported(error)};
}

Attempt Saver::KeepOwnerModeAndAttributes(int fd) const {
    if (std::error_code error = Step(SaveStep::CopyPermissions)) {
        return {error, IsRefusal(error)};
    }
    if (!exists_) {
        return {::fchmod(fd, NewFileMode()) == 0 ? std::error_code{} : LastError()};
    }
    struct stat created {};
    if (::fstat(fd, &created) != 0) {
        return {LastError()};
    }
    // Only root may give a file away; anyone may pick one of their own groups. When that is
    // not enough, the file is written in place and keeps its owner and group.
    if ((created.st_uid != old_.st_uid || created.st_gid != old_.st_gid) &&
        ::fchown(fd, old_.st_uid, old_.st_gid) != 0) {
        const std::error_code error = LastError();
        return {error, IsRefusal(error)};
    }
    if (::fchmod(fd, old_.st_mode & 07777) != 0) {
        return {LastError()};
    }
    // After the mode: an ACL sets the group bits from its mask, as on the old file.
    if (const std::error_code error = CopyExtendedAttributes(target_, fd)) {
        return {error, true};
    }
    return {};
}

Attempt Saver::Replace(bool unnamed) {
    NewFile file; // a named temporary goes again on every failure
    if (Attempt created = CreateTemporary(unnamed, file); created.error) {
        return created;
    }
    std::error_code error;
    if ((error = Step(SaveStep::WriteContents)) || (error = WriteAll(file.Fd(), contents_))) {
        return {error};
    }
    if (Attempt kept = KeepOwnerModeAndAttributes(file.Fd()); kept.error) {
        return kept;
    }
    // On the disk before it replaces the old file: a crash right after the rename must not
    // leave an empty or partial file under the name.
    if ((error = Step(SaveStep::FlushContents)) || ::fsync(file.Fd()) != 0) {
        return {error ? error : LastError()};
    }
    if (unnamed && ((error = Step(SaveStep::LinkTemporary)) || (error = file.NameTemporary()))) {
        // No /proc to name it through: the named way works without.
        return {error, false, error == std::errc::no_such_file_or_directory};
    }
    if ((error = Step(SaveStep::CloseTemporary)) || !file.Close()) {
        return {error ? error : LastError()};
    }
    if ((error = Step(SaveStep::RenameOverTarget)) ||
        (error = file.Commit(ExistingName::IsReplaced))) {
        // A sticky folder refuses to rename over another user's file.
        return {error, exists_ && IsRefusal(error)};
    }
    return {};
}

// What an in-place write risks: between the first byte written and the flush, a crash, a
// kill or a power loss leaves a file that is part new and part old, and a program that reads
// it meanwhile may see such a mix. It is done only where a replacement cannot be made or
// cannot keep the file as it is. Reserving the space first makes the common failure, a full
// disk, happen before any byte changes (copy-on-write file systems can still run out later).
std::error_code Saver::WriteInPlace() {
    int raw = ::open(target_.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (raw < 0 && errno == EACCES) { // writable but not readable; growing still works
        raw = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    }
    if (raw < 0) {
        return LastError();
    }
    UniqueFd fd(raw);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return LastError();
    }
    if (!S_ISREG(info.st_mode)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    const auto size = static_cast<off_t>(contents_.size());
    std::error_code error = Step(SaveStep::ReserveSpaceInPlace);
    if (!error) {
        error = ReserveSpace(fd.get(), size, info.st_size);
    }
    if (error) {
        return error;
    }
    if ((error = Step(SaveStep::WriteInPlace)) || (error = WriteAll(fd.get(), contents_, 0))) {
        return error;
    }
    if ((error = Step(SaveStep::TruncateInPlace)) || ::ftruncate(fd.get(), size) != 0) {
        return error ? error : LastError();
    }
    if ((error = Step(SaveStep::FlushInPlace)) || ::fsync(fd.get()) != 0) {
        return error ? error : LastError();
    }
    return fd.close() ? std::error_code{} : LastError();
}

} // namespace

std::error_code SaveFile(const std::filesystem::path& path, std::string_view contents,
                         const StepHook& hook, SaveNotes* notes) {
    SaveNotes ignored;
    return Saver(hook, contents, notes != nullptr ? *notes : ignored).Run(path);
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
