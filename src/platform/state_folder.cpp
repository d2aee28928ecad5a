#include "platform/state_folder.h"

#include "platform/last_error.h"

#include <cerrno>
#include <string_view>
#include <sys/stat.h>

namespace kfg::platform {

namespace fs = std::filesystem;

bool IsAbsolutePath(const char* value) {
    return value != nullptr && std::string_view(value).starts_with('/');
}

fs::path XdgBaseFolder(const char* variable, const char* home, const fs::path& underHome) {
    if (IsAbsolutePath(variable)) {
        return fs::path(variable);
    }
    if (IsAbsolutePath(home)) {
        return fs::path(home) / underHome;
    }
    return {};
}

fs::path KfgStateFolder(const char* xdgStateHome, const char* home) {
    const fs::path stateHome = XdgBaseFolder(xdgStateHome, home, fs::path(".local") / "state");
    return stateHome.empty() ? stateHome : stateHome / "kfg";
}

std::error_code MakePrivateFolders(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            return LastError();
        }
    }
    return {};
}

} // namespace kfg::platform
