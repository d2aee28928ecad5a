// The command line: options, the command table, help.
#include "ctl/kfgctl.h"

#include "ctl/ctl_commands.h"
#include "ctl/ctl_folder.h"
#include "kfg_version.h"

#include <array>
#include <bit>
#include <optional>
#include <ostream>
#include <span>

namespace kfg::ctl {
namespace {

// Options a command takes beyond the ones every command takes, as bits of its row.
enum CommandOption : unsigned { kNoOptions = 0, kJson = 1u << 0, kForce = 1u << 1 };

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
    unsigned options; // CommandOption bits
    Needs needs;
    int (*run)(Folder&, Arguments, bool ownOption); // its option (--json, --force) was given
};

constexpr std::size_t kMany = 1000;

constexpr auto kCommands = std::to_array<Command>({
    {"edition", "edition",
     "Prints the Telvio edition that wrote Telvio.ini (edition=), its label (label=) and the\n"
     "section its settings are read from (section=).\n",
     0, 0, kNoOptions, Needs::ViewerSettings, EditionCommand},
    {"list", "list", "Prints the named configurations of KFG.ini, one a line, in file order.\n", 0,
     0, kNoOptions, Needs::ViewerSettings, ListCommand},
    {"show", "show [NAME] [--json]",
     "Prints the settings as KFG loads them for the edition, in the order it reads them, as\n"
     "KEY=VALUE lines: from Telvio.ini, or from configuration NAME of KFG.ini. List keys also\n"
     "show their text, as in \"DisplayMode=5 (720*576 YUY2)\". With --json: one object\n"
     "{\"edition\", \"section\", \"keys\": {KEY: number}, \"texts\": {KEY: text}}.\n",
     0, 1, kJson, Needs::ViewerSettings, ShowCommand},
    {"get", "get KEY",
     "Prints the value of KEY in Telvio.ini as show gives it, the number alone.\n", 1, 1,
     kNoOptions, Needs::ViewerSettings, GetCommand},
    {"set", "set KEY=VALUE...",
     "Changes keys of Telvio.ini that KFG writes for the edition. Check boxes take 0 or 1,\n"
     "numbers (an optional + or - and decimal digits) the range the dialog allows, list keys a\n"
     "row number or the row's text in German or Spanish. A memory slot of 0 is refused: KFG\n"
     "never writes one. When any value is refused nothing is written; otherwise all changes\n"
     "reach the file at once.\n",
     1, kMany, kNoOptions, Needs::ViewerSettings, SetCommand},
    {"save", "save NAME",
     "Stores the settings of Telvio.ini as configuration NAME in KFG.ini, as the dialog's\n"
     "\"Speichern\" does (with the sound options of KFG.ini); a memory slot of 0 leaves the\n"
     "configuration. Refused while the folder has no KFG.ini: kfg asks for the language and\n"
     "the display modes the first time it starts there, and would not ask after a save.\n",
     1, 1, kNoOptions, Needs::Manager, SaveCommand},
    {"apply", "apply NAME",
     "Writes configuration NAME into Telvio.ini, as showing it and starting Telvio in the dialog\n"
     "would; memory slots of 0 are not written.\n",
     1, 1, kNoOptions, Needs::ViewerSettings, ApplyCommand},
    {"delete", "delete NAME", "Removes configuration NAME from KFG.ini.\n", 1, 1, kNoOptions,
     Needs::ViewerSettings, DeleteCommand},
    {"start", "start [NAME]",
     "Does what the dialog's start button does, after apply NAME when a NAME is given: saves\n"
     "Telvio.ini, unmutes line-in when KFG.ini asks for it (LineIn), runs the sound\n"
     "initialisation when asked (SoundInit), then Telvio replaces kfgctl. The audio decoder is\n"
     "not started.\n",
     0, 1, kNoOptions, Needs::ViewerSettings, StartCommand},
    {"history", "history [Telvio.ini|KFG.ini] [--json]",
     "Lists the earlier states of Telvio.ini and KFG.ini that saves replaced, or of the one\n"
     "file named, in one list, newest first: the line's number (1 = the newest), the time a\n"
     "save replaced the state, which is its name (with fractional digits where two states\n"
     "share a second), the file, and the keys that differ in the state after it (at most\n"
     "three, then how many more). Every save by kfg, kfgctl or restore keeps the state it\n"
     "replaces, up to 50 per file, in $XDG_STATE_HOME/kfg/history (~/.local/state/kfg/history)\n"
     "while that folder is yours alone; when no state can be kept, it says why. With --json:\n"
     "one object {\"states\": [{\"number\", \"replaced\", \"file\", \"keys\": [KEY],\n"
     "\"name\"}]} that names every key, with \"notKept\": REASON when no state can be kept.\n"
     "Needs the folder only, not Telvio.ini.\n",
     0, 1, kJson, Needs::FolderOnly, HistoryCommand},
    {"restore", "restore N|TIME [Telvio.ini|KFG.ini] [--force]",
     "Puts back, byte for byte and as a save writes, the state on line N of history (of\n"
     "history FILE when a file is named), or the state named TIME as history prints it; a\n"
     "missing or empty file is made again. What the file holds now is kept first, so a\n"
     "restore can be undone; when it cannot be kept, nothing is written. Refused when there\n"
     "is no such state, and, unless --force, when a state of Telvio.ini was written by\n"
     "another Telvio edition than the file's now or the file tells no edition. Says which\n"
     "state it put back and which state holds what it replaced.\n",
     1, 2, kForce, Needs::FolderOnly, RestoreCommand},
});

// A command learns only whether its own option was given: it may take one at most.
constexpr bool AtMostOneOwnOption() {
    for (const Command& command : kCommands) {
        if (std::popcount(command.options) > 1) {
            return false;
        }
    }
    return true;
}
static_assert(AtMostOneOwnOption());

// Own: an option only the commands with its CommandOption bit take.
enum class OptionKind { Folder, Help, Version, Own };

struct Option {
    std::string_view spelling;
    OptionKind kind;
    unsigned commandOption = kNoOptions; // the CommandOption bit of an Own option
};

constexpr auto kOptionTable = std::to_array<Option>({
    {"-C", OptionKind::Folder},
    {"-h", OptionKind::Help},
    {"--help", OptionKind::Help},
    {"--version", OptionKind::Version},
    {"--json", OptionKind::Own, kJson},
    {"--force", OptionKind::Own, kForce},
});

constexpr std::string_view kOverview =
    "Usage: kfgctl [-C FOLDER] COMMAND [ARGUMENT...]\n"
    "Reads and changes Telvio's settings and KFG's named configurations in Telvio's folder\n"
    "(the working folder unless -C names another), with the rules of the KFG dialog.\n"
    "\nCommands:\n";
constexpr std::string_view kOptions =
    "\nOptions (before or after the command; -- ends them, so a NAME may start with -):\n"
    "  -C FOLDER    work in FOLDER; several -C go one from the other, in order\n"
    "  -h, --help   this text; kfgctl COMMAND --help tells about one command\n"
    "  --version    the version\n"
    "\nExit status: 0 done, 1 refused or failed (nothing written), 2 usage error.\n";

void Overview(std::ostream& out) {
    out << kOverview;
    for (const Command& command : kCommands) {
        out << "  " << command.synopsis << '\n';
    }
    out << kOptions;
}

const Command* CommandNamed(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

const Option* OptionSpelled(std::string_view spelling) {
    for (const Option& option : kOptionTable) {
        if (option.spelling == spelling) {
            return &option;
        }
    }
    return nullptr;
}

// The command line taken apart, getopt-style: options wherever they stand until "--", the
// words in between in order (the command first).
struct CommandLine {
    std::filesystem::path folder;
    std::vector<std::string> words;
    std::vector<const Option*> commandOptions; // those only some commands take, in order
    bool help = false;
    bool version = false;
};

// The command line, or the usage error after saying it.
std::optional<CommandLine> Parse(const std::vector<std::string>& arguments, Folder& usage,
                                 std::filesystem::path folder) {
    CommandLine line{std::move(folder), {}, {}, false, false};
    bool optionsEnded = false;
    for (std::size_t next = 0; next < arguments.size(); ++next) {
        const std::string& argument = arguments[next];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !argument.starts_with('-') || argument == "-") {
            line.words.push_back(argument);
            continue;
        }
        const Option* option = OptionSpelled(argument);
        if (option == nullptr) {
            usage.Refuse(Message::UnknownOption, {argument});
            return std::nullopt;
        }
        switch (option->kind) {
        case OptionKind::Folder:
            if (next + 1 == arguments.size()) {
                usage.Refuse(Message::FolderExpected);
                return std::nullopt;
            }
            line.folder /= arguments[++next]; // an absolute FOLDER replaces what came before
            break;
        case OptionKind::Help:
            line.help = true;
            break;
        case OptionKind::Version:
            line.version = true;
            break;
        case OptionKind::Own:
            line.commandOptions.push_back(option);
            break;
        }
    }
    return line;
}

} // namespace

int RunKfgctl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
              const Environment& environment) {
    Folder usage(environment, environment.workingDirectory, out, err); // before a folder is known
    const std::optional<CommandLine> line = Parse(arguments, usage, environment.workingDirectory);
    if (!line) {
        return kUsage;
    }
    if (line->version) {
        out << "kfgctl " << kfg::kVersion << '\n';
        return kDone;
    }
    if (line->words.empty()) {
        Overview(line->help ? out : err);
        return line->help ? kDone : kUsage;
    }
    const Command* command = CommandNamed(line->words.front());
    if (command == nullptr) {
        usage.Refuse(Message::UnknownCommand, {line->words.front()});
        return kUsage;
    }
    if (line->help) {
        out << "Usage: kfgctl [-C FOLDER] " << command->synopsis << "\n\n" << command->help;
        return kDone;
    }
    bool ownOption = false;
    for (const Option* option : line->commandOptions) {
        if ((command->options & option->commandOption) == 0) {
            usage.Refuse(Message::OptionNotTaken, {option->spelling, command->name});
            return kUsage;
        }
        ownOption = true;
    }
    const Arguments rest = std::span(line->words).subspan(1);
    if (rest.size() < command->least || rest.size() > command->most) {
        usage.Refuse(Message::WrongArguments, {command->synopsis, command->name});
        return kUsage;
    }
    Folder folder(environment, line->folder, out, err);
    if (!(command->needs == Needs::FolderOnly ? folder.OpenFolderOnly() : folder.Open())) {
        return kRefused;
    }
    if (command->needs == Needs::Manager && !folder.HasManagerFile()) {
        return folder.Refuse(Message::FirstRunPending);
    }
    return command->run(folder, rest, ownOption);
}

} // namespace kfg::ctl
