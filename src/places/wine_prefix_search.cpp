#include "places/wine_prefix_search.h"

#include "platform/descriptor_reads.h"
#include "platform/name_lookup.h"
#include "platform/state_folder.h"
#include "platform/unique_fd.h"
#include "telvio/telvio_ini.h"

#include <algorithm>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::places {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDriveC = "drive_c";
constexpr std::string_view kWindowsFolder = "windows";

std::optional<fs::path> AbsolutePath(const char* value) {
    if (!platform::IsAbsolutePath(value)) {
        return std::nullopt;
    }
    return fs::path(value);
}

// A folder to read, named by its components below drive_c.
struct PendingFolder {
    std::vector<std::string> components;
};

// Opens a folder below drive_c one component at a time, refusing a symbolic link at every
// step: a link swapped in after the folder was listed must not lead the search out.
platform::UniqueFd OpenBelow(int driveC, const std::vector<std::string>& components) {
    platform::UniqueFd current(::fcntl(driveC, F_DUPFD_CLOEXEC, 0));
    for (const std::string& component : components) {
        if (!current.valid()) {
            break;
        }
        current = platform::UniqueFd(::openat(current.get(), component.c_str(),
                                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return current;
}

enum class EntryKind { Folder, File, Other };

EntryKind KindOf(int folder, const dirent& entry) {
    switch (entry.d_type) {
    case DT_DIR:
        return EntryKind::Folder;
    case DT_REG:
        return EntryKind::File;
    case DT_UNKNOWN:
        break; // some file systems do not say; ask without following a link
    default:
        return EntryKind::Other;
    }
    struct stat status {};
    if (::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return EntryKind::Other;
    }
    if (S_ISDIR(status.st_mode)) {
        return EntryKind::Folder;
    }
    return S_ISREG(status.st_mode) ? EntryKind::File : EntryKind::Other;
}

// Walks one drive_c breadth first within the limits.
class DriveCWalk {
public:
    DriveCWalk(int driveC, fs::path canonicalDriveC, const PrefixSearchLimits& limits,
               std::stop_token stop)
        : driveC_(driveC)
        , canonicalDriveC_(std::move(canonicalDriveC))
        , limits_(limits)
        , stop_(std::move(stop)) {}

    std::vector<fs::path> Run() {
        pending_.push_back({});
        while (!pending_.empty() && entriesRead_ < limits_.entriesPerPrefix &&
               !stop_.stop_requested()) {
            PendingFolder folder = std::move(pending_.front());
            pending_.pop_front();
            Read(folder);
        }
        return std::move(found_);
    }

private:
    void Read(const PendingFolder& folder) {
        platform::UniqueFd fd = OpenBelow(driveC_, folder.components);
        if (!fd.valid()) {
            return; // unreadable, or replaced by a link since it was listed
        }
        const int dirFd = fd.get();
        const auto dir = platform::OpenDirectory(std::move(fd));
        if (!dir) {
            return;
        }

        const int level = static_cast<int>(folder.components.size());
        std::vector<std::string> subfolders;
        bool holdsTelvioIni = false;
        while (entriesRead_ < limits_.entriesPerPrefix) {
            const dirent* entry = ::readdir(dir.get());
            if (entry == nullptr) {
                break;
            }
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            ++entriesRead_;
            switch (KindOf(dirFd, *entry)) {
            case EntryKind::Folder:
                if (level < limits_.levelsBelowDriveC && !IsSkipped(level, name)) {
                    subfolders.emplace_back(name);
                }
                break;
            case EntryKind::File:
                holdsTelvioIni = holdsTelvioIni ||
                                 telvio::IsTelvioIniEntry(dirFd, entry->d_name,
                                                          {.mustRead = true, .linkCounts = false});
                break;
            case EntryKind::Other:
                break;
            }
        }
        if (holdsTelvioIni) {
            fs::path path = canonicalDriveC_;
            for (const std::string& component : folder.components) {
                path /= component;
            }
            found_.push_back(std::move(path));
        }
        std::sort(subfolders.begin(), subfolders.end());
        for (std::string& name : subfolders) {
            PendingFolder child{folder.components};
            child.components.push_back(std::move(name));
            pending_.push_back(std::move(child));
        }
    }

    // drive_c/windows holds the system's own files, never Telvio, and tens of thousands of them.
    static bool IsSkipped(int level, std::string_view name) {
        return level == 0 && platform::EqualIgnoringAsciiCase(name, kWindowsFolder);
    }

    int driveC_;
    fs::path canonicalDriveC_;
    PrefixSearchLimits limits_;
    std::stop_token stop_;
    std::deque<PendingFolder> pending_;
    std::size_t entriesRead_ = 0;
    std::vector<fs::path> found_;
};

} // namespace

WinePrefixPlaces WinePrefixPlaces::FromEnvironment(const char* winePrefix, const char* home) {
    return {AbsolutePath(winePrefix), AbsolutePath(home)};
}

std::optional<fs::path> WinePrefixPlaces::PrefixCollection() const {
    if (!home) {
        return std::nullopt;
    }
    return *home / kWinePrefixCollection;
}

std::vector<fs::path> ListWinePrefixes(const WinePrefixPlaces& places) {
    std::vector<fs::path> candidates;
    if (places.winePrefix) {
        candidates.push_back(*places.winePrefix);
    }
    if (places.home) {
        candidates.push_back(*places.home / kHomeWinePrefix);
    }
    if (const std::optional<fs::path> collection = places.PrefixCollection()) {
        std::vector<fs::path> collected;
        std::error_code error;
        for (fs::directory_iterator it(*collection, error), end; !error && it != end;
             it.increment(error)) {
            collected.push_back(it->path());
        }
        std::sort(collected.begin(), collected.end());
        candidates.insert(candidates.end(), collected.begin(), collected.end());
    }

    std::vector<fs::path> prefixes;
    std::set<fs::path> seen;
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        fs::path canonical = fs::canonical(candidate, error);
        if (error || !fs::is_directory(canonical, error) || !seen.insert(canonical).second) {
            continue;
        }
        prefixes.push_back(std::move(canonical));
    }
    return prefixes;
}

std::vector<fs::path> FindTelvioFolders(const fs::path& prefix, const PrefixSearchLimits& limits,
                                        std::stop_token stop) {
    const fs::path driveCPath = prefix / kDriveC;
    // Both may be links (a prefix kept on another disk): followed on purpose.
    platform::UniqueFd driveC(::open(driveCPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!driveC.valid()) {
        return {};
    }
    std::error_code error;
    fs::path canonicalDriveC = fs::canonical(driveCPath, error);
    if (error) {
        return {};
    }
    return DriveCWalk(driveC.get(), std::move(canonicalDriveC), limits, std::move(stop)).Run();
}

std::vector<fs::path> FindTelvioFoldersInPrefixes(const std::vector<fs::path>& prefixes,
                                                  const PrefixSearchLimits& limits,
                                                  std::stop_token stop) {
    std::vector<fs::path> folders;
    std::set<fs::path> seen;
    for (const fs::path& prefix : prefixes) {
        if (stop.stop_requested()) {
            break;
        }
        for (fs::path& folder : FindTelvioFolders(prefix, limits, stop)) {
            if (seen.insert(folder).second) {
                folders.push_back(std::move(folder));
            }
        }
    }
    return folders;
}

} // namespace kfg::places
