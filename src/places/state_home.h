#pragma once

#include <filesystem>

namespace kfg::places {

// The file that lists the folders KFG found "Telvio.ini" in: <state home>/kfg/recent-folders
// (the state home: platform::UserStateHome).
std::filesystem::path RecentFoldersFile(const std::filesystem::path& stateHome);

} // namespace kfg::places
