// The command line: options, the command table, help.
#include "ctl/kfgctl.h"

#include "ctl/ctl_commands.h"
#include "ctl/ctl_folder.h"
#include "kfg_version.h"

#include <array>
#include <ostream>

namespace kfg::ctl {
namespace {

struct Command {
    std::string_view name;
    std::string_view synopsis;
    std::string_view help;
    std::size_t least; // arguments
    std::size_t most;
    bool json; // takes --json
    int (*run)(Folder&, Arguments, bool);
};

constexpr std::size_t kMany = 1000;

constexpr auto kCommands = std::to_array<Command>({
    {"edition", "edition",
     "Prints the Telvio edition that wrote Telvio.ini (edition=), its label (label=) and the\n"
     "section its settings are read from (section=).\n",
     0, 0, false, EditionCommand},
    {"list", "list", "Prints the named configurations of KFG.ini, one a line, in file order.\n", 0,
     0, false, ListCommand},
    {"show", "show [NAME] [--json]",
     "Prints the settings as KFG loads them for the edition, in the order it reads them, as\n"
     "KEY=VALUE lines: from Telvio.ini, or from configuration NAME of KFG.ini. List keys also\n"
     "show their text, as in \"DisplayMode=5 (720*576 YUY2)\". With --json: one object\n"
     "{\"edition\", \"section\", \"keys\": {KEY: number}, \"texts\": {KEY: text}}.\n",
     0, 1, true, ShowCommand},
    {"get", "get KEY",
     "Prints the value of KEY in Telvio.ini as show gives it, the number alone.\n", 1, 1, false,
     GetCommand},
    {"set", "set KEY=VALUE...",
     "Changes keys of Telvio.ini that KFG writes for the edition. Check boxes take 0 or 1,\n"
     "numbers the range the dialog allows, list keys a row number or the row's text in German\n"
     "or Spanish. A memory slot of 0 is refused: KFG never writes one. When any value is\n"
     "refused nothing is written; otherwise all changes reach the file at once.\n",
     1, kMany, false, SetCommand},
    {"save", "save NAME",
     "Stores the settings of Telvio.ini as configuration NAME in KFG.ini, as the dialog's\n"
     "\"Speichern\" does (with the sound options of KFG.ini).\n",
     1, 1, false, SaveCommand},
    {"apply", "apply NAME",
     "Writes configuration NAME into Telvio.ini, as showing it and starting Telvio in the dialog\n"
     "would; memory slots of 0 are not written.\n",
     1, 1, false, ApplyCommand},
    {"delete", "delete NAME", "Removes configuration NAME from KFG.ini.\n", 1, 1, false,
     DeleteCommand},
    {"start", "start [NAME]",
     "Does what the dialog's start button does, after apply NAME when a NAME is given: saves\n"
     "Telvio.ini, unmutes line-in when KFG.ini asks for it (LineIn), runs the sound\n"
     "initialisation when asked (SoundInit), then Telvio replaces kfgctl. The audio decoder is\n"
     "not started.\n",
     0, 1, false, StartCommand},
});

constexpr std::string_view kOverview =
    "Usage: kfgctl [-C FOLDER] COMMAND [ARGUMENT...]\n"
    "Reads and changes Telvio's settings and KFG's named configurations in Telvio's folder\n"
    "(the working folder unless -C names another), with the rules of the KFG dialog.\n"
    "\nCommands:\n";
constexpr std::string_view kOptions =
    "\nOptions:\n"
    "  -C FOLDER    work in FOLDER\n"
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

bool IsHelp(std::string_view argument) {
    return argument == "--help" || argument == "-h";
}

} // namespace

int RunKfgctl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
              const Environment& environment) {
    std::filesystem::path folderPath = environment.workingDirectory;
    Folder usage(environment, folderPath, out, err); // for messages before a folder is known
    std::size_t next = 0;
    for (; next < arguments.size() && arguments[next].starts_with('-'); ++next) {
        const std::string& option = arguments[next];
        if (IsHelp(option)) {
            Overview(out);
            return kDone;
        }
        if (option == "--version") {
            out << "kfgctl " << kfg::kVersion << '\n';
            return kDone;
        }
        if (option == "-C") {
            if (next + 1 == arguments.size()) {
                usage.Refuse(Message::FolderExpected);
                return kUsage;
            }
            folderPath = folderPath / arguments[++next]; // an absolute FOLDER replaces it
            continue;
        }
        usage.Refuse(Message::UnknownOption, {option});
        return kUsage;
    }
    if (next == arguments.size()) {
        Overview(err);
        return kUsage;
    }
    const Command* command = CommandNamed(arguments[next]);
    if (command == nullptr) {
        usage.Refuse(Message::UnknownCommand, {arguments[next]});
        return kUsage;
    }
    std::vector<std::string> rest;
    bool json = false;
    for (++next; next < arguments.size(); ++next) {
        const std::string& argument = arguments[next];
        if (IsHelp(argument)) {
            out << "Usage: kfgctl [-C FOLDER] " << command->synopsis << "\n\n" << command->help;
            return kDone;
        }
        if (argument == "--json" && command->json) {
            json = true;
        } else {
            rest.push_back(argument);
        }
    }
    if (rest.size() < command->least || rest.size() > command->most) {
        usage.Refuse(Message::WrongArguments, {command->synopsis, command->name});
        return kUsage;
    }
    Folder folder(environment, folderPath, out, err);
    if (!folder.Open()) {
        return kRefused;
    }
    return command->run(folder, rest, json);
}

} // namespace kfg::ctl
