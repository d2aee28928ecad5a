#pragma once

#include "cli/argument_loop.h"
#include "ctl/ctl_commands.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace kfg::ctl {

// kfgctl's options, as its option table numbers them.
enum class CtlOption {
    Folder,  // -C FOLDER
    Help,    // -h, --help
    Version, // --version
    Json,    // --json
    Force,   // --force
};

// What a command needs of the folder before it runs.
enum class Needs {
    ViewerSettings, // "Telvio.ini", whose edition decides the keys
    Manager,        // "Telvio.ini" and "KFG.ini": it may not create "KFG.ini", kfg's first run does
    FolderOnly,     // the kept states: a deleted "Telvio.ini" is when they are needed most
};

struct Command {
    std::string_view name;
    std::string_view synopsis;
    std::string_view help;
    std::size_t least; // arguments
    std::size_t most;
    // The options of its own, beyond those every command takes; each sets a field of
    // CommandOptions.
    std::span<const CtlOption> options;
    Needs needs;
    ExitStatus (*run)(Folder&, Arguments, const CommandOptions&);
};

// kfgctl's commands, in the order its help lists them. The bash completion
// (data/completion/kfgctl.bash) offers the same commands and options; a test holds the two
// together.
std::span<const Command> Commands();

// Every option kfgctl takes, before or after the command: those every command takes first
// (-C, -h/--help, --version, which --help lists), then those of some commands.
std::span<const cli::Option> Options();

// The row of `option` in Options().
const cli::Option& OptionRow(CtlOption option);

// The field of CommandOptions that `option` sets; null for the options every command takes.
bool CommandOptions::*FieldOf(CtlOption option);

} // namespace kfg::ctl
