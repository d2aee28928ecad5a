#include "platform/save_history.h"

#include "platform/descriptor_reads.h"
#include "platform/last_error.h"
#include "platform/new_file.h"
#include "platform/private_folder.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHistoryFolder = "history";
constexpr std::size_t kStampDigits = 20;
constexpr const char* kFolderNote = "folder"; // names the folder of the files, for a listing
// What killed keeps of earlier versions left behind, beside the temporaries of NewFile.
constexpr std::string_view kOldPrefix = ".keep-";
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

// The time a state's name gives; -1 for any other entry, a number beyond 64 bits included.
std::int64_t StampOf(std::string_view name) {
    if (name.size() != kStampDigits ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    std::int64_t stamp = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), stamp);
    return error == std::errc() && end == name.data() + name.size() ? stamp : -1;
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

// The folder a file lies in, as one path however it is reached.
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

// A slot name another user's entry or something that is no folder took: the next slot.
bool IsTakenByOther(std::error_code error) {
    return error == std::errc::not_a_directory || error == PrivateFolderErrc::Link ||
           error == PrivateFolderErrc::NotOwned || error == PrivateFolderErrc::OpenToOthers;
}

// An open folder of the history and its path below the history's root.
struct OpenedFolder {
    UniqueFd fd;
    std::string name;
};

// The history folder of one folder of settings files: the first hash slot whose note names it. When
// `create`, else the first free one, made and noted; otherwise a slot that cannot be read is
// not this folder's.
OpenedFolder FindSlot(int historyFd, const std::string& folder, Create create,
                      std::error_code& error) {
    const std::string note = folder + '\n';
    for (int slot = 0; slot < kHashSlots; ++slot) {
        std::string name = SlotName(folder, slot);
        UniqueFd fd = OpenPrivateFolder(historyFd, name.c_str(), create, error);
        if (!fd.valid()) {
            if (create == Create::No || IsTakenByOther(error)) {
                continue;
            }
            return {};
        }
        std::string noted;
        error = ReadOwnFile(fd.get(), kFolderNote, noted);
        if (create == Create::Yes && error == std::errc::no_such_file_or_directory) {
            error = WriteNewFileAt(fd.get(), kFolderNote, note, ExistingName::Fails);
            if (error == std::errc::file_exists) { // a keep beside this one noted it first
                error = ReadOwnFile(fd.get(), kFolderNote, noted);
            } else if (!error) {
                return {std::move(fd), std::move(name)};
            }
        }
        if (error && create == Create::Yes && !IsTakenByOther(error) &&
            error != PrivateFolderErrc::NotRegularFile) {
            return {};
        }
        if (!error && noted == note) {
            return {std::move(fd), std::move(name)};
        }
        // Another folder whose path has the same hash, or a note nobody can trust.
    }
    error = std::make_error_code(create == Create::Yes ? std::errc::file_exists
                                                       : std::errc::no_such_file_or_directory);
    return {};
}

// The times of the states in a folder, oldest first.
std::vector<std::int64_t> ListStamps(int folderFd) {
    std::vector<std::int64_t> stamps;
    for (const std::string& name : FolderEntryNames(folderFd, ".")) {
        if (const std::int64_t stamp = StampOf(name); stamp >= 0) {
            stamps.push_back(stamp);
        }
    }
    std::sort(stamps.begin(), stamps.end());
    return stamps;
}

// A state this user kept: a regular file of theirs that nobody else may write, not empty (a
// power cut right after a save may leave one empty).
bool IsOwnState(int folderFd, const std::string& name) {
    struct stat info {};
    return ::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0 && info.st_size > 0;
}

bool HoldsBytes(int folderFd, const std::string& name, std::string_view bytes) {
    struct stat info {};
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        static_cast<std::size_t>(info.st_size) != bytes.size()) {
        return false;
    }
    std::string kept;
    return !ReadOwnFile(folderFd, name.c_str(), kept) && kept == bytes;
}

// The folder of the states of `file`, and its path below the history's root: the file's
// name in its folder's slot. When `create`, what is missing is made.
OpenedFolder OpenStatesFolder(const StateFolder& stateFolder, const fs::path& file, Create create,
                              std::error_code& error) {
    const UniqueFd stateFd = stateFolder.Open(create, error);
    if (!stateFd.valid()) {
        return {};
    }
    const UniqueFd historyFd = OpenPrivateFolder(stateFd.get(), kHistoryFolder, create, error);
    if (!historyFd.valid()) {
        return {};
    }
    const OpenedFolder folderSlot =
        FindSlot(historyFd.get(), CanonicalFolderOf(file), create, error);
    if (!folderSlot.fd.valid()) {
        return {};
    }
    const std::string fileName = file.filename().string();
    UniqueFd states = OpenPrivateFolder(folderSlot.fd.get(), fileName.c_str(), create, error);
    if (!states.valid()) {
        return {};
    }
    return {std::move(states), folderSlot.name + '/' + fileName};
}

// The leftovers of killed keeps go by the saves' rule, under the folder's flock; a keep takes
// it only when it is free, since a keep never waits (nor flushes): a keep beside it cleans up.
void RemoveKeepLeftovers(int folderFd) {
    if (!RemoveLeftoversIfFree(folderFd, {})) {
        return;
    }
    for (const std::string& name : FolderEntryNames(folderFd, ".")) {
        struct stat info {};
        if (name.starts_with(kOldPrefix) &&
            ::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(folderFd, name.c_str(), 0); // best effort
        }
    }
}

} // namespace

SaveHistory::SaveHistory(StateFolder stateFolder)
    : stateFolder_(std::move(stateFolder)) {}

fs::path SaveHistory::Root() const {
    return stateFolder_.Exists() ? stateFolder_.Path() / kHistoryFolder : fs::path();
}

std::error_code SaveHistory::Keep(const fs::path& file, std::string_view bytes, KeptState* holder) {
    if (bytes.empty()) {
        return {}; // no setting to get back
    }
    std::error_code error;
    const OpenedFolder folder = OpenStatesFolder(stateFolder_, file, Create::Yes, error);
    const UniqueFd& states = folder.fd;
    if (!states.valid()) {
        return error;
    }
    RemoveKeepLeftovers(states.get());
    std::vector<std::int64_t> stamps = ListStamps(states.get());
    const fs::path folderPath = Root() / folder.name;
    if (!stamps.empty() && HoldsBytes(states.get(), StampName(stamps.back()), bytes)) {
        if (holder != nullptr) {
            *holder = {folderPath / StampName(stamps.back()), stamps.back()};
        }
        return {};
    }
    // Names sort as they were kept, even when the clock went back meanwhile; a name at the end
    // of the range (made by hand) leaves none later, and the clock's time is taken.
    std::int64_t stamp = NowNanoseconds();
    constexpr std::int64_t kLastLaterName = std::numeric_limits<std::int64_t>::max() - 128;
    if (!stamps.empty() && stamps.back() < kLastLaterName) {
        stamp = std::max(stamp, stamps.back() + 1);
    }
    for (int attempt = 0;; ++attempt, ++stamp) {
        error = WriteNewFileAt(states.get(), StampName(stamp), bytes, ExistingName::Fails);
        if (error != std::errc::file_exists || attempt == 100) {
            break;
        }
    }
    if (error) {
        return error;
    }
    if (holder != nullptr) {
        *holder = {folderPath / StampName(stamp), stamp};
    }
    stamps.push_back(stamp);
    for (std::size_t i = 0; i + kKeptStatesPerFile < stamps.size(); ++i) {
        ::unlinkat(states.get(), StampName(stamps[i]).c_str(), 0); // best effort
    }
    return {};
}

std::vector<KeptState> SaveHistory::States(const fs::path& file) const {
    std::vector<KeptState> states;
    std::error_code error;
    const OpenedFolder found = OpenStatesFolder(stateFolder_, file, Create::No, error);
    const UniqueFd& fd = found.fd;
    if (!fd.valid()) {
        return states;
    }
    const fs::path folder = Root() / found.name;
    const std::vector<std::int64_t> stamps = ListStamps(fd.get());
    for (auto stamp = stamps.rbegin(); stamp != stamps.rend(); ++stamp) {
        const std::string name = StampName(*stamp);
        if (IsOwnState(fd.get(), name)) {
            states.push_back({folder / name, *stamp});
        }
    }
    return states;
}

std::error_code SaveHistory::ReadState(const fs::path& file, std::int64_t replacedNanoseconds,
                                       std::string& bytes) const {
    bytes.clear();
    std::error_code error;
    const OpenedFolder found = OpenStatesFolder(stateFolder_, file, Create::No, error);
    if (!found.fd.valid()) {
        return error;
    }
    const std::string name = StampName(replacedNanoseconds);
    if (!IsOwnState(found.fd.get(), name)) {
        return std::make_error_code(std::errc::no_such_file_or_directory);
    }
    return ReadOwnFile(found.fd.get(), name.c_str(), bytes);
}

std::error_code SaveHistory::WhyNothingIsKept(const fs::path& file, fs::path& where) const {
    if (const std::error_code unusable = stateFolder_.WhyUnusable(where)) {
        return unusable;
    }
    std::error_code error;
    const UniqueFd stateFd = stateFolder_.Open(Create::No, error);
    if (!stateFd.valid()) {
        return {}; // missing: a keep makes it, where WhyUnusable found it may
    }
    // Each folder on the way that is there must be private; a keep makes the first missing one
    // in the folder before it, or writes into the last: that one must be writable.
    const auto missingOrFailed = [&](const UniqueFd& parent, const fs::path& parentPath) {
        if (error != std::errc::no_such_file_or_directory) {
            return error;
        }
        where = parentPath;
        return MayWriteInto(parent.get());
    };
    const UniqueFd historyFd = OpenPrivateFolder(stateFd.get(), kHistoryFolder, Create::No, error);
    where = Root();
    if (!historyFd.valid()) {
        return missingOrFailed(stateFd, stateFolder_.Path());
    }
    const OpenedFolder slot = FindSlot(historyFd.get(), CanonicalFolderOf(file), Create::No, error);
    if (!slot.fd.valid()) {
        return missingOrFailed(historyFd, Root()); // a keep makes a free slot there
    }
    const std::string fileName = file.filename().string();
    const UniqueFd states = OpenPrivateFolder(slot.fd.get(), fileName.c_str(), Create::No, error);
    where = Root() / slot.name / fileName;
    if (!states.valid()) {
        return missingOrFailed(slot.fd, Root() / slot.name);
    }
    return MayWriteInto(states.get());
}

} // namespace kfg::platform
