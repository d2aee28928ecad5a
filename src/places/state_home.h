#pragma once

#include <filesystem>
#include <optional>

namespace kfg::places {

// The user's state folder by the XDG base directory rules: XDG_STATE_HOME when it is an
// absolute path (a relative one is to be ignored), else HOME/.local/state; nothing when
// neither works.
std::optional<std::filesystem::path> StateHome(const char* xdgStateHome, const char* home);

// The file that lists the folders KFG found "Telvio.ini" in: <state home>/kfg/recent-folders.
std::filesystem::path RecentFoldersFile(const std::filesystem::path& stateHome);

} // namespace kfg::places
