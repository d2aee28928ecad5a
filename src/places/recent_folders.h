#pragma once

#include "places/telvio_folder.h"
#include "platform/state_folder.h"

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

// The name of the list in KFG's state folder.
inline constexpr const char* kRecentFoldersFile = "recent-folders";

// The folders to offer with their editions, newest first, at most kRecentFoldersKept: those of
// the list in `stateFolder` whose "Telvio.ini" still reads. A missing or unreadable list, or
// one in a state folder that is not private to the user (another user could have planted it),
// is an empty list.
std::vector<FolderEdition> ShownRecentFolders(const platform::StateFolder& stateFolder);

// Puts the canonical path of `folder` first in the list in `stateFolder` and drops what has
// gone or lost its "Telvio.ini" and what is beyond kRecentFoldersKept. The list is written
// whole or not at all, as a new file that replaces the entry (a link there is replaced, never
// written through), and not touched when `folder` is first already; a missing state folder is
// made, private to the user. A state folder that is not private is refused.
[[nodiscard]] std::error_code RecordRecentFolder(const platform::StateFolder& stateFolder,
                                                 const std::filesystem::path& folder);

} // namespace kfg::places
