#pragma once

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

} // namespace kfg::platform
