#pragma once

#include "places/telvio_folder.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kfg::places {

// How many folders the list keeps and shows.
inline constexpr std::size_t kRecentFoldersKept = 10;

// The list's bytes: each folder's absolute path followed by a NUL byte, newest first. NUL is
// the one byte no path holds, so every path (a newline in a name included) comes back exactly.
std::string EncodeRecentFolders(const std::vector<std::filesystem::path>& folders);
// Reads what EncodeRecentFolders wrote. A last path without its NUL (a file cut short by
// another writer) and paths that are not absolute are dropped, as are repeats.
std::vector<std::filesystem::path> DecodeRecentFolders(std::string_view bytes);

// The folders to offer with their editions, newest first, at most kRecentFoldersKept: those of
// the list in `file` whose "Telvio.ini" still reads. A missing or unreadable file is an empty
// list.
std::vector<FolderEdition> ShownRecentFolders(const std::filesystem::path& file);

// The file that lists the folders KFG found "Telvio.ini" in: recent-folders in KFG's state
// folder (platform::KfgStateFolder); empty, meaning none, when that folder is.
std::filesystem::path RecentFoldersFile(const std::filesystem::path& kfgStateFolder);

// Puts the canonical path of `folder` first in the list in `file` and drops what has gone or
// lost its "Telvio.ini" and what is beyond kRecentFoldersKept. The file is written whole or
// not at all (the settings files' save), and not touched when `folder` is first already; a
// missing state folder is made, private to the user.
[[nodiscard]] std::error_code RecordRecentFolder(const std::filesystem::path& file,
                                                 const std::filesystem::path& folder);

} // namespace kfg::places
