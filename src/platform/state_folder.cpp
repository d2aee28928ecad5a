#include "platform/state_folder.h"

#include "platform/last_error.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

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

StateFolder::StateFolder(fs::path path)
    : path_(std::move(path).lexically_normal()) {
    if (!path_.empty() && !path_.has_filename()) {
        path_ = path_.parent_path(); // "/x/kfg/" names the folder "kfg" in "/x"
    }
}

StateFolder StateFolder::OfEnvironment(const char* xdgStateHome, const char* home) {
    return StateFolder(KfgStateFolder(xdgStateHome, home));
}

UniqueFd StateFolder::Open(Create create, std::error_code& error) const {
    if (!Exists()) {
        error = PrivateFolderErrc::NoStateFolder;
        return {};
    }
    const fs::path above = path_.parent_path();
    if (create == Create::Yes) {
        if (const std::error_code made = MakePrivateFolders(above)) {
            error = made;
            return {};
        }
    }
    const UniqueFd aboveFd(::open(above.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!aboveFd.valid()) {
        error = LastError();
        return {};
    }
    return OpenPrivateFolder(aboveFd.get(), path_.filename().c_str(), create, error);
}

std::error_code StateFolder::WhyUnusable(fs::path& where) const {
    where = path_;
    std::error_code error;
    const UniqueFd fd = Open(Create::No, error);
    if (fd.valid()) {
        return {};
    }
    if (error != std::errc::no_such_file_or_directory) {
        return error;
    }
    // Missing: a keep would make it, below the nearest folder that is there.
    for (fs::path above = path_.parent_path();; above = above.parent_path()) {
        where = above;
        const UniqueFd aboveFd(::open(above.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (aboveFd.valid()) {
            return MayWriteInto(aboveFd.get());
        }
        if (errno != ENOENT || above == above.parent_path()) {
            return LastError();
        }
    }
}

} // namespace kfg::platform
