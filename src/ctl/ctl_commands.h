#pragma once

#include "ctl/ctl_folder.h"

#include <span>
#include <string>

namespace kfg::ctl {

// The options a command may take beyond the ones every command takes, by name. Which command
// takes which is the command table's to say (ctl_command_table.cpp); a command reads only its
// own.
struct CommandOptions {
    bool json = false;  // --json: show, history
    bool force = false; // --force: restore
};

// The commands, each on an opened folder with its arguments (options taken off).
using Arguments = std::span<const std::string>;
ExitStatus EditionCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
ExitStatus ListCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
ExitStatus ShowCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
ExitStatus GetCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
ExitStatus SetCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
ExitStatus SaveCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
ExitStatus ApplyCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
ExitStatus DeleteCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
ExitStatus StartCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
// The kept states.
ExitStatus HistoryCommand(Folder& folder, Arguments arguments, const CommandOptions& options);
ExitStatus RestoreCommand(Folder& folder, Arguments arguments, const CommandOptions& options);

// `text` as a JSON string, quotes included: '"', '\' and control characters escaped, all else
// (UTF-8) as it is.
std::string JsonString(std::string_view text);

} // namespace kfg::ctl
