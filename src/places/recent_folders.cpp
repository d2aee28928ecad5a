#include "places/recent_folders.h"

#include "places/telvio_folder.h"
#include "platform/new_file.h"
#include "platform/private_folder.h"
#include "telvio/telvio_ini.h"

#include <algorithm>
#include <optional>

namespace kfg::places {
namespace {

namespace fs = std::filesystem;

std::string ReadList(int stateFd) {
    std::string bytes;
    // Missing or unreadable: no list yet, which is no failure for a list of hints.
    if (platform::ReadOwnFile(stateFd, kRecentFoldersFile, bytes)) {
        bytes.clear();
    }
    return bytes;
}

} // namespace

std::string EncodeRecentFolders(const std::vector<fs::path>& folders) {
    std::string bytes;
    for (const fs::path& folder : folders) {
        bytes += folder.native();
        bytes += '\0';
    }
    return bytes;
}

std::vector<fs::path> DecodeRecentFolders(std::string_view bytes) {
    std::vector<fs::path> folders;
    for (std::size_t end = bytes.find('\0'); end != std::string_view::npos;
         end = bytes.find('\0')) {
        fs::path folder(std::string(bytes.substr(0, end)));
        bytes.remove_prefix(end + 1);
        if (folder.is_absolute() &&
            std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

std::vector<FolderEdition> ShownRecentFolders(const platform::StateFolder& stateFolder) {
    std::vector<FolderEdition> shown;
    std::error_code error;
    const platform::UniqueFd stateFd = stateFolder.Open(platform::Create::No, error);
    if (!stateFd.valid()) {
        return shown;
    }
    for (fs::path& folder : DecodeRecentFolders(ReadList(stateFd.get()))) {
        if (shown.size() == kRecentFoldersKept) {
            break;
        }
        if (const std::optional<telvio::Edition> edition = EditionOf(folder)) {
            shown.push_back({std::move(folder), *edition});
        }
    }
    return shown;
}

std::error_code RecordRecentFolder(const platform::StateFolder& stateFolder,
                                   const fs::path& folder) {
    std::error_code error;
    const fs::path canonical = fs::canonical(folder, error);
    if (error) {
        return error;
    }
    const platform::UniqueFd stateFd = stateFolder.Open(platform::Create::Yes, error);
    if (!stateFd.valid()) {
        return error;
    }
    std::vector<fs::path> earlier = DecodeRecentFolders(ReadList(stateFd.get()));
    // The usual start, in the folder of the last one: nothing to write, and no need to look
    // into every remembered folder first; gone ones wait for the next write that changes it.
    if (!earlier.empty() && earlier.front() == canonical) {
        return {};
    }
    std::vector<fs::path> kept{canonical};
    for (fs::path& other : earlier) {
        if (kept.size() == kRecentFoldersKept) {
            break;
        }
        if (other != canonical && telvio::HoldsTelvioIni(other)) {
            kept.push_back(std::move(other));
        }
    }
    (void)platform::RemoveLeftoversIfFree(stateFd.get(), kRecentFoldersFile);
    return platform::WriteNewFileAt(stateFd.get(), kRecentFoldersFile, EncodeRecentFolders(kept),
                                    platform::ExistingName::IsReplaced);
}

} // namespace kfg::places
