#include "places/state_home.h"

#include <string_view>

namespace kfg::places {
namespace {

bool IsAbsolute(const char* value) {
    return value != nullptr && std::string_view(value).starts_with('/');
}

} // namespace

std::optional<std::filesystem::path> StateHome(const char* xdgStateHome, const char* home) {
    if (IsAbsolute(xdgStateHome)) {
        return std::filesystem::path(xdgStateHome);
    }
    if (IsAbsolute(home)) {
        return std::filesystem::path(home) / ".local" / "state";
    }
    return std::nullopt;
}

std::filesystem::path RecentFoldersFile(const std::filesystem::path& stateHome) {
    return stateHome / "kfg" / "recent-folders";
}

} // namespace kfg::places
