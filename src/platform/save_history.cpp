#include "platform/save_history.h"

#include "platform/descriptor_reads.h"
#include "platform/last_error.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kStampDigits = 20;
constexpr const char* kFolderNote = "folder"; // names the Telvio folder, for a listing
constexpr std::string_view kTemporaryPrefix = ".keep-";
// A named temporary file older than this is left over from a keep that was killed.
constexpr std::int64_t kLeftoverAgeSeconds = 3600;
// Different folders whose paths hash alike take the next of these slots.
constexpr int kHashSlots = 8;

std::int64_t NowNanoseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::string StampName(std::int64_t nanoseconds) {
    char name[kStampDigits + 1] = {};
    std::snprintf(name, sizeof name, "%020lld", static_cast<long long>(nanoseconds));
    return name;
}

// The time a state's name gives; -1 for any other entry.
std::int64_t StampOf(std::string_view name) {
    if (name.size() != kStampDigits ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    return std::strtoll(std::string(name).c_str(), nullptr, 10);
}

// FNV-1a: stable across builds and machines, so a folder keeps its history folder.
std::string HashName(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char name[17] = {};
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return name;
}

std::error_code ReadAt(int folderFd, const char* name, std::string& bytes) {
    bytes.clear();
    UniqueFd fd(::openat(folderFd, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd.valid()) {
        return LastError();
    }
    return ReadToEnd(fd.get(), bytes);
}

// Gives `name` in the folder the bytes, or fails with nothing under that name; an
// existing entry of that name fails with errc::file_exists and stays as it is. The bytes are
// whole before the name appears, but not flushed: a flush here, or even one started for the
// save's own flush to wait for, cost a save on a disk several times the millisecond a keep
// may take. A power cut right after a save may thus leave its state empty, and an empty
// state is never listed (an empty file is never kept).
std::error_code WriteNewFile(int folderFd, const std::string& name, std::string_view bytes) {
    UniqueFd fd(::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd.valid()) {
        if (const std::error_code error = WriteAll(fd.get(), bytes)) {
            return error;
        }
        const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
        if (::linkat(AT_FDCWD, self.c_str(), folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return {};
        }
        if (errno != ENOENT) { // without /proc the named way below still works
            return LastError();
        }
    } else if (errno != EOPNOTSUPP && errno != EISDIR) {
        return LastError();
    }
    // A file system without unnamed files: a named temporary file, linked when whole.
    fd = UniqueFd();
    std::string temporary;
    for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        temporary = std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
                    std::to_string(NowNanoseconds() + attempt);
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
    if (!error && ::linkat(folderFd, temporary.c_str(), folderFd, name.c_str(), 0) != 0) {
        error = LastError();
    }
    ::unlinkat(folderFd, temporary.c_str(), 0); // the state has its name, or failed
    return error;
}

// Opens the folder `name` inside `parentFd`, made 0700 when missing and `create`.
UniqueFd OpenFolder(int parentFd, const char* name, bool create, std::error_code& error) {
    if (create && ::mkdirat(parentFd, name, 0700) != 0 && errno != EEXIST) {
        error = LastError();
        return {};
    }
    UniqueFd fd(::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.valid()) {
        error = LastError();
    }
    return fd;
}

// Opens the root, making it and every missing folder above it (0700, as the XDG rules ask
// for the state folder) when `create`.
UniqueFd OpenRoot(const fs::path& root, bool create, std::error_code& error) {
    UniqueFd fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid() || !create || errno != ENOENT) {
        error = fd.valid() ? std::error_code{} : LastError();
        return fd;
    }
    if (const std::error_code made = MakePrivateFolders(root)) {
        error = made;
        return {};
    }
    fd = UniqueFd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    error = fd.valid() ? std::error_code{} : LastError();
    return fd;
}

// The Telvio folder a file lies in, as one path however it is reached.
std::string CanonicalFolderOf(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    std::error_code error;
    fs::path canonical = fs::canonical(folder, error);
    if (error) {
        canonical = fs::absolute(folder, error).lexically_normal();
    }
    return canonical.string();
}

std::string SlotName(const std::string& folder, int slot) {
    return HashName(slot == 0 ? folder : folder + '\n' + std::to_string(slot));
}

// An open folder of the history and its path below the history's root.
struct OpenedFolder {
    UniqueFd fd;
    std::string name;
};

// The history folder of one Telvio folder: the first hash slot whose note names it. When
// `create`, else the first free one, made and noted; otherwise a slot that cannot be read is
// not this folder's.
OpenedFolder FindSlot(int rootFd, const std::string& folder, bool create, std::error_code& error) {
    const std::string note = folder + '\n';
    for (int slot = 0; slot < kHashSlots; ++slot) {
        std::string name = SlotName(folder, slot);
        UniqueFd fd = OpenFolder(rootFd, name.c_str(), create, error);
        if (!fd.valid()) {
            if (!create || error == std::errc::not_a_directory ||
                error == std::errc::too_many_symbolic_link_levels) {
                continue; // missing, or something else took the name: the next slot
            }
            return {};
        }
        std::string noted;
        error = ReadAt(fd.get(), kFolderNote, noted);
        if (create && error == std::errc::no_such_file_or_directory) {
            error = WriteNewFile(fd.get(), kFolderNote, note);
            if (error == std::errc::file_exists) { // a keep beside this one noted it first
                error = ReadAt(fd.get(), kFolderNote, noted);
            } else if (!error) {
                return {std::move(fd), std::move(name)};
            }
        }
        if (error && create) {
            return {};
        }
        if (!error && noted == note) {
            return {std::move(fd), std::move(name)};
        }
        // Another folder whose path has the same hash.
    }
    error = std::make_error_code(create ? std::errc::file_exists
                                        : std::errc::no_such_file_or_directory);
    return {};
}

struct Entries {
    std::vector<std::int64_t> stamps; // sorted, oldest first
    std::vector<std::string> leftovers;
};

Entries ListEntries(int folderFd) {
    Entries entries;
    for (std::string& name : FolderEntryNames(folderFd, ".")) {
        if (const std::int64_t stamp = StampOf(name); stamp >= 0) {
            entries.stamps.push_back(stamp);
        } else if (name.starts_with(kTemporaryPrefix)) {
            entries.leftovers.push_back(std::move(name));
        }
    }
    std::sort(entries.stamps.begin(), entries.stamps.end());
    return entries;
}

bool HoldsBytes(int folderFd, const std::string& name, std::string_view bytes) {
    struct stat info {};
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        static_cast<std::size_t>(info.st_size) != bytes.size()) {
        return false;
    }
    std::string kept;
    return !ReadAt(folderFd, name.c_str(), kept) && kept == bytes;
}

// The folder of the states of `file`, and its path below the history's root: the file's
// name in its Telvio folder's slot. When `create`, what is missing is made.
OpenedFolder OpenStatesFolder(const fs::path& root, const fs::path& file, bool create,
                              std::error_code& error) {
    const UniqueFd rootFd = OpenRoot(root, create, error);
    if (!rootFd.valid()) {
        return {};
    }
    const OpenedFolder telvioFolder =
        FindSlot(rootFd.get(), CanonicalFolderOf(file), create, error);
    if (!telvioFolder.fd.valid()) {
        return {};
    }
    const std::string fileName = file.filename().string();
    UniqueFd states = OpenFolder(telvioFolder.fd.get(), fileName.c_str(), create, error);
    if (!states.valid()) {
        return {};
    }
    return {std::move(states), telvioFolder.name + '/' + fileName};
}

void RemoveOldLeftovers(int folderFd, const std::vector<std::string>& leftovers) {
    const std::int64_t now = NowNanoseconds() / 1'000'000'000;
    for (const std::string& name : leftovers) {
        struct stat info {};
        if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && now - info.st_mtim.tv_sec > kLeftoverAgeSeconds) {
            ::unlinkat(folderFd, name.c_str(), 0); // best effort
        }
    }
}

} // namespace

SaveHistory::SaveHistory(fs::path root)
    : root_(std::move(root)) {}

std::shared_ptr<SaveHistory> SaveHistory::OfUser() {
    const fs::path state = KfgStateFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    return state.empty() ? nullptr : std::make_shared<SaveHistory>(state / "history");
}

std::error_code SaveHistory::Keep(const fs::path& file, std::string_view bytes) {
    if (bytes.empty()) {
        return {}; // no setting to get back
    }
    std::error_code error;
    const OpenedFolder folder = OpenStatesFolder(root_, file, true, error);
    const UniqueFd& states = folder.fd;
    if (!states.valid()) {
        return error;
    }
    Entries entries = ListEntries(states.get());
    RemoveOldLeftovers(states.get(), entries.leftovers);
    if (!entries.stamps.empty() &&
        HoldsBytes(states.get(), StampName(entries.stamps.back()), bytes)) {
        return {};
    }
    // Names sort as they were kept, even when the clock went back meanwhile.
    std::int64_t stamp = NowNanoseconds();
    if (!entries.stamps.empty()) {
        stamp = std::max(stamp, entries.stamps.back() + 1);
    }
    for (int attempt = 0;; ++attempt, ++stamp) {
        error = WriteNewFile(states.get(), StampName(stamp), bytes);
        if (error != std::errc::file_exists || attempt == 100) {
            break;
        }
    }
    if (error) {
        return error;
    }
    entries.stamps.push_back(stamp);
    for (std::size_t i = 0; i + kKeptStatesPerFile < entries.stamps.size(); ++i) {
        ::unlinkat(states.get(), StampName(entries.stamps[i]).c_str(), 0); // best effort
    }
    return {};
}

std::vector<KeptState> SaveHistory::States(const fs::path& file) const {
    std::vector<KeptState> states;
    std::error_code error;
    const OpenedFolder found = OpenStatesFolder(root_, file, false, error);
    const UniqueFd& fd = found.fd;
    if (!fd.valid()) {
        return states;
    }
    const fs::path folder = root_ / found.name;
    const Entries entries = ListEntries(fd.get());
    for (auto stamp = entries.stamps.rbegin(); stamp != entries.stamps.rend(); ++stamp) {
        struct stat info {};
        const std::string name = StampName(*stamp);
        if (::fstatat(fd.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_size > 0) { // empty: cut short by a power cut
            states.push_back({folder / name, *stamp});
        }
    }
    return states;
}

} // namespace kfg::platform
