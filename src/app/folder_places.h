#pragma once

#include "dialogs/chooser/folder_chooser.h"

#include <filesystem>
#include <optional>

namespace kfg::app {

// This user's list of the folders KFG ran in ($XDG_STATE_HOME/kfg/recent-folders); nothing
// when neither XDG_STATE_HOME nor HOME is an absolute path.
std::optional<std::filesystem::path> RecentFoldersFileOfProcess();

// Puts `folder` first in the list when it holds "Telvio.ini". A failed write is logged to
// kfg.settings and nothing else: the list is a convenience and never stops KFG.
void RecordFolderRun(const std::optional<std::filesystem::path>& recentFoldersFile,
                     const std::filesystem::path& folder);

// Where the folder chooser looks, as this process's environment says: the recent list, the
// wine prefixes of $WINEPREFIX and $HOME.
dialogs::FolderChooserSources ChooserSourcesOfProcess();

} // namespace kfg::app
