#include "places/state_home.h"

namespace kfg::places {

std::filesystem::path RecentFoldersFile(const std::filesystem::path& stateHome) {
    return stateHome / "kfg" / "recent-folders";
}

} // namespace kfg::places
