#pragma once

#include "platform/private_folder.h"
#include "platform/unique_fd.h"

#include <filesystem>
#include <system_error>

namespace kfg::platform {

// Whether an environment variable's value is an absolute path: set, and starting with '/'.
bool IsAbsolutePath(const char* value);

// A base folder by the XDG base directory rules: the variable's value when that is an absolute
// path (a relative one is to be ignored), else `underHome` in $HOME; empty when neither is an
// absolute path. The state folder and the menu entries' data folder both follow it.
std::filesystem::path XdgBaseFolder(const char* variable, const char* home,
                                    const std::filesystem::path& underHome);

// KFG's own folder in the user's state folder ($XDG_STATE_HOME, else $HOME/.local/state): the
// save history, the folders KFG ran in. Empty when XdgBaseFolder is.
std::filesystem::path KfgStateFolder(const char* xdgStateHome, const char* home);

// Makes `folder` and every missing folder above it with mode 0700, as the XDG rules ask for
// the state folders a program creates. A folder that is there already is left as it is.
[[nodiscard]] std::error_code MakePrivateFolders(const std::filesystem::path& folder);

// KFG's state folder, used only while it is private to the user (OpenPrivateFolder): what
// another user could plant or change there is never read, listed or written through.
class StateFolder {
public:
    // None: nothing is kept or read (PrivateFolderErrc::NoStateFolder).
    StateFolder() = default;
    explicit StateFolder(std::filesystem::path path);
    // KfgStateFolder of XDG_STATE_HOME and HOME.
    static StateFolder OfEnvironment(const char* xdgStateHome, const char* home);

    bool Exists() const { return !path_.empty(); }
    const std::filesystem::path& Path() const { return path_; }

    // Opens the folder; when missing and `create`, makes it and the folders above it 0700.
    // The folders above it are followed as they are; the folder itself must be private.
    UniqueFd Open(Create create, std::error_code& error) const;

    // Why it cannot be used, without making or changing anything: one that is there must be
    // private; a missing one would be made (its nearest existing folder above must let this
    // user). {} when it can; else `where` is the folder at fault.
    [[nodiscard]] std::error_code WhyUnusable(std::filesystem::path& where) const;

private:
    std::filesystem::path path_;
};

} // namespace kfg::platform
