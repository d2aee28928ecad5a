#pragma once

#include "dialogs/chooser/folder_chooser.h"

#include <filesystem>
#include <optional>

namespace kfg::app {

// This user's state folder ($XDG_STATE_HOME/kfg), which holds the list of the folders KFG
// ran in; none when neither XDG_STATE_HOME nor HOME is an absolute path.
platform::StateFolder StateFolderOfProcess();

// Puts `folder` first in the state folder's list when it holds "Telvio.ini". A failed write
// (no state folder, one another user could have planted) is logged to kfg.settings and
// nothing else: the list is a convenience and never stops KFG.
void RecordFolderRun(const platform::StateFolder& stateFolder, const std::filesystem::path& folder);

// Where the folder chooser looks, as this process's environment says: the recent list of
// `stateFolder`, the wine prefixes of $WINEPREFIX and $HOME.
dialogs::FolderChooserSources ChooserSourcesOfProcess(const platform::StateFolder& stateFolder);

} // namespace kfg::app
