#pragma once

#include "ctl/ctl_folder.h"

#include <span>
#include <string>

namespace kfg::ctl {

// The commands, each on an opened folder with its arguments (options taken off). Each returns
// the exit status.
using Arguments = std::span<const std::string>;
int EditionCommand(Folder& folder, Arguments arguments, bool json);
int ListCommand(Folder& folder, Arguments arguments, bool json);
int ShowCommand(Folder& folder, Arguments arguments, bool json);
int GetCommand(Folder& folder, Arguments arguments, bool json);
int SetCommand(Folder& folder, Arguments arguments, bool json);
int SaveCommand(Folder& folder, Arguments arguments, bool json);
int ApplyCommand(Folder& folder, Arguments arguments, bool json);
int DeleteCommand(Folder& folder, Arguments arguments, bool json);
int StartCommand(Folder& folder, Arguments arguments, bool json);
// The kept states: history takes --json, restore --force (the last argument says which was
// given: each command takes at most one option of its own).
int HistoryCommand(Folder& folder, Arguments arguments, bool json);
int RestoreCommand(Folder& folder, Arguments arguments, bool force);

// `text` as a JSON string, quotes included: '"', '\' and control characters escaped, all else
// (UTF-8) as it is.
std::string JsonString(std::string_view text);

} // namespace kfg::ctl
