// The command line: options, the command table, help.
#include "ctl/kfgctl.h"

#include "ctl/ctl_command_table.h"
#include "ctl/ctl_commands.h"
#include "ctl/ctl_folder.h"
#include "kfg_version.h"

#include <optional>
#include <ostream>
#include <span>

namespace kfg::ctl {
namespace {

constexpr std::string_view kOverview =
    "Usage: kfgctl [-C FOLDER] COMMAND [ARGUMENT...]\n"
    "Reads and changes Telvio's settings and KFG's named configurations in Telvio's folder\n"
    "(the working folder unless -C names another), with the rules of the KFG dialog.\n"
    "\nCommands:\n";
constexpr std::string_view kOptionsHeading =
    "\nOptions (before or after the command; -- ends them, so a NAME may start with -):\n";
constexpr std::string_view kExitStatus =
    "\nExit status: 0 done, 1 refused or failed (nothing written), 2 usage error.\n";

void Overview(std::ostream& out) {
    out << kOverview;
    for (const Command& command : Commands()) {
        out << "  " << command.synopsis << '\n';
    }
    out << kOptionsHeading << cli::OptionsHelp(Options()) << kExitStatus;
}

const Command* CommandNamed(std::string_view name) {
    for (const Command& command : Commands()) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

bool Takes(const Command& command, CtlOption option) {
    for (const CtlOption taken : command.options) {
        if (taken == option) {
            return true;
        }
    }
    return false;
}

// The command line taken apart, getopt-style: options wherever they stand until "--", the
// words in between in order (the command first).
struct CommandLine {
    std::filesystem::path folder{};
    std::vector<std::string> words{};
    std::vector<cli::GivenOption> commandOptions{}; // those only some commands take, in order
    bool help = false;
    bool version = false;
};

// The command line, or the usage error after saying it.
std::optional<CommandLine> Parse(const std::vector<std::string>& arguments, Folder& usage,
                                 std::filesystem::path folder) {
    const cli::ParsedArguments parsed = cli::ParseArguments(arguments, Options(), cli::Dashes::Gnu);
    if (parsed.fault) {
        if (parsed.fault->fault == cli::Fault::ValueMissing) {
            usage.Refuse(Message::FolderExpected); // -C is the only option with a value
        } else {
            usage.Refuse(Message::UnknownOption, {parsed.fault->argument});
        }
        return std::nullopt;
    }
    CommandLine line{.folder = std::move(folder),
                     .words = {parsed.words.begin(), parsed.words.end()}};
    for (const cli::GivenOption& given : parsed.options) {
        switch (static_cast<CtlOption>(given.option->id)) {
        case CtlOption::Folder:
            line.folder /= *given.value; // an absolute FOLDER replaces what came before
            break;
        case CtlOption::Help:
            line.help = true;
            break;
        case CtlOption::Version:
            line.version = true;
            break;
        case CtlOption::Json:
        case CtlOption::Force:
            line.commandOptions.push_back(given);
            break;
        }
    }
    return line;
}

ExitStatus Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               const Environment& environment) {
    Folder usage(environment, environment.workingDirectory, out, err); // before a folder is known
    const std::optional<CommandLine> line = Parse(arguments, usage, environment.workingDirectory);
    if (!line) {
        return ExitStatus::Usage;
    }
    if (line->version) {
        out << "kfgctl " << kfg::kVersion << '\n';
        return ExitStatus::Done;
    }
    if (line->words.empty()) {
        Overview(line->help ? out : err);
        return line->help ? ExitStatus::Done : ExitStatus::Usage;
    }
    const Command* command = CommandNamed(line->words.front());
    if (command == nullptr) {
        usage.Refuse(Message::UnknownCommand, {line->words.front()});
        return ExitStatus::Usage;
    }
    if (line->help) {
        out << "Usage: kfgctl [-C FOLDER] " << command->synopsis << "\n\n" << command->help;
        return ExitStatus::Done;
    }
    CommandOptions options;
    for (const cli::GivenOption& given : line->commandOptions) {
        const auto option = static_cast<CtlOption>(given.option->id);
        if (!Takes(*command, option)) {
            usage.Refuse(Message::OptionNotTaken, {given.name, command->name});
            return ExitStatus::Usage;
        }
        options.*FieldOf(option) = true;
    }
    const Arguments rest = std::span(line->words).subspan(1);
    if (rest.size() < command->least || rest.size() > command->most) {
        usage.Refuse(Message::WrongArguments, {command->synopsis, command->name});
        return ExitStatus::Usage;
    }
    Folder folder(environment, line->folder, out, err);
    if (!(command->needs == Needs::FolderOnly ? folder.OpenFolderOnly() : folder.Open())) {
        return ExitStatus::Refused;
    }
    if (command->needs == Needs::Manager && !folder.HasManagerFile()) {
        return folder.Refuse(Message::FirstRunPending);
    }
    return command->run(folder, rest, options);
}

} // namespace

int RunKfgctl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
              const Environment& environment) {
    return cli::ExitCode(Run(arguments, out, err, environment));
}

} // namespace kfg::ctl
