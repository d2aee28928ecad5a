// kfgctl's commands and options as tables.
#include "ctl/ctl_command_table.h"

#include "platform/no_repeats.h"

#include <array>

namespace kfg::ctl {
namespace {

constexpr auto kOptions = std::to_array<cli::Option>({
    {.shortName = 'C',
     .value = cli::Value::Separate,
     .id = cli::IdOf(CtlOption::Folder),
     .valueName = "FOLDER",
     .help = "work in FOLDER; several -C go one from the other, in order"},
    {.longName = "help",
     .shortName = 'h',
     .id = cli::IdOf(CtlOption::Help),
     .help = "this text; kfgctl COMMAND --help tells about one command"},
    {.longName = "version", .id = cli::IdOf(CtlOption::Version), .help = "the version"},
    // A command's own: its synopsis shows it.
    {.longName = "json", .id = cli::IdOf(CtlOption::Json)},
    {.longName = "force", .id = cli::IdOf(CtlOption::Force)},
});

static_assert(platform::RowPerEnumerator(
                  kOptions, [](const cli::Option& row) { return row.id; }, CtlOption::Force),
              "one row per option, in the order of the enumeration");

struct FieldRow {
    CtlOption option;
    bool CommandOptions::*field;
};
constexpr auto kFields = std::to_array<FieldRow>({
    {CtlOption::Json, &CommandOptions::json},
    {CtlOption::Force, &CommandOptions::force},
});

constexpr CtlOption kJsonOnly[] = {CtlOption::Json};
constexpr CtlOption kForceOnly[] = {CtlOption::Force};

constexpr std::size_t kMany = 1000;

constexpr auto kCommands = std::to_array<Command>({
    {.name = "edition",
     .synopsis = "edition",
     .help =
         "Prints the Telvio edition that wrote Telvio.ini (edition=), its label (label=) and the\n"
         "section its settings are read from (section=).\n",
     .least = 0,
     .most = 0,
     .options = {},
     .needs = Needs::ViewerSettings,
     .run = EditionCommand},
    {.name = "list",
     .synopsis = "list",
     .help = "Prints the named configurations of KFG.ini, one a line, in file order.\n",
     .least = 0,
     .most = 0,
     .options = {},
     .needs = Needs::ViewerSettings,
     .run = ListCommand},
    {.name = "show",
     .synopsis = "show [NAME] [--json]",
     .help =
         "Prints the settings as KFG loads them for the edition, in the order it reads them, as\n"
         "KEY=VALUE lines: from Telvio.ini, or from configuration NAME of KFG.ini. List keys also\n"
         "show their text, as in \"DisplayMode=5 (720*576 YUY2)\". With --json: one object\n"
         "{\"edition\", \"section\", \"keys\": {KEY: number}, \"texts\": {KEY: text}}.\n",
     .least = 0,
     .most = 1,
     .options = kJsonOnly,
     .needs = Needs::ViewerSettings,
     .run = ShowCommand},
    {.name = "get",
     .synopsis = "get KEY",
     .help = "Prints the value of KEY in Telvio.ini as show gives it, the number alone.\n",
     .least = 1,
     .most = 1,
     .options = {},
     .needs = Needs::ViewerSettings,
     .run = GetCommand},
    {.name = "set",
     .synopsis = "set KEY=VALUE...",
     .help =
         "Changes keys of Telvio.ini that KFG writes for the edition. Check boxes take 0 or 1,\n"
         "numbers (an optional + or - and decimal digits) the range the dialog allows, list keys "
         "a\n"
         "row number or the row's text in German or Spanish. A memory slot of 0 is refused: KFG\n"
         "never writes one. When any value is refused nothing is written; otherwise all changes\n"
         "reach the file at once.\n",
     .least = 1,
     .most = kMany,
     .options = {},
     .needs = Needs::ViewerSettings,
     .run = SetCommand},
    {.name = "save",
     .synopsis = "save NAME",
     .help =
         "Stores the settings of Telvio.ini as configuration NAME in KFG.ini, as the dialog's\n"
         "\"Speichern\" does (with the sound options of KFG.ini); a memory slot of 0 leaves the\n"
         "configuration. Refused while the folder has no KFG.ini: kfg asks for the language and\n"
         "the display modes the first time it starts there, and would not ask after a save.\n",
     .least = 1,
     .most = 1,
     .options = {},
     .needs = Needs::Manager,
     .run = SaveCommand},
    {.name = "apply",
     .synopsis = "apply NAME",
     .help = "Writes configuration NAME into Telvio.ini, as showing it and starting Telvio in the "
             "dialog\n"
             "would; memory slots of 0 are not written.\n",
     .least = 1,
     .most = 1,
     .options = {},
     .needs = Needs::ViewerSettings,
     .run = ApplyCommand},
    {.name = "delete",
     .synopsis = "delete NAME",
     .help = "Removes configuration NAME from KFG.ini.\n",
     .least = 1,
     .most = 1,
     .options = {},
     .needs = Needs::ViewerSettings,
     .run = DeleteCommand},
    {.name = "start",
     .synopsis = "start [NAME]",
     .help =
         "Does what the dialog's start button does, after apply NAME when a NAME is given: saves\n"
         "Telvio.ini, unmutes line-in when KFG.ini asks for it (LineIn), runs the sound\n"
         "initialisation when asked (SoundInit), then Telvio replaces kfgctl. The audio decoder "
         "is\n"
         "not started.\n",
     .least = 0,
     .most = 1,
     .options = {},
     .needs = Needs::ViewerSettings,
     .run = StartCommand},
    {.name = "history",
     .synopsis = "history [Telvio.ini|KFG.ini] [--json]",
     .help =
         "Lists the earlier states of Telvio.ini and KFG.ini that saves replaced, or of the one\n"
         "file named, in one list, newest first: the line's number (1 = the newest), the time a\n"
         "save replaced the state, which is its name (with fractional digits where two states\n"
         "share a second), the file, and the keys that differ in the state after it (at most\n"
         "three, then how many more). Every save by kfg, kfgctl or restore keeps the state it\n"
         "replaces, up to 50 per file, in $XDG_STATE_HOME/kfg/history "
         "(~/.local/state/kfg/history)\n"
         "while that folder is yours alone; when no state can be kept, it says why. With --json:\n"
         "one object {\"states\": [{\"number\", \"replaced\", \"file\", \"keys\": [KEY],\n"
         "\"name\"}]} that names every key, with \"notKept\": REASON when no state can be kept.\n"
         "Needs the folder only, not Telvio.ini.\n",
     .least = 0,
     .most = 1,
     .options = kJsonOnly,
     .needs = Needs::FolderOnly,
     .run = HistoryCommand},
    {.name = "restore",
     .synopsis = "restore N|TIME [Telvio.ini|KFG.ini] [--force]",
     .help =
         "Puts back, byte for byte and as a save writes, the state on line N of history (of\n"
         "history FILE when a file is named), or the state named TIME as history prints it; a\n"
         "missing or empty file is made again. What the file holds now is kept first, so a\n"
         "restore can be undone; when it cannot be kept, nothing is written. Refused when there\n"
         "is no such state, and, unless --force, when a state of Telvio.ini was written by\n"
         "another Telvio edition than the file's now or the file tells no edition. Says which\n"
         "state it put back and which state holds what it replaced.\n",
     .least = 1,
     .most = 2,
     .options = kForceOnly,
     .needs = Needs::FolderOnly,
     .run = RestoreCommand},
});

static_assert(platform::NoRepeats(kCommands, [](const Command& a, const Command& b) {
    return a.name == b.name;
}));

// Every option a command names sets a field.
constexpr bool EveryOwnOptionHasAField() {
    for (const Command& command : kCommands) {
        for (const CtlOption option : command.options) {
            bool found = false;
            for (const FieldRow& row : kFields) {
                found = found || row.option == option;
            }
            if (!found) {
                return false;
            }
        }
    }
    return true;
}
static_assert(EveryOwnOptionHasAField());

} // namespace

std::span<const Command> Commands() {
    return kCommands;
}

std::span<const cli::Option> Options() {
    return kOptions;
}

const cli::Option& OptionRow(CtlOption option) {
    return kOptions[static_cast<std::size_t>(option)];
}

bool CommandOptions::*FieldOf(CtlOption option) {
    for (const FieldRow& row : kFields) {
        if (row.option == option) {
            return row.field;
        }
    }
    return nullptr;
}

} // namespace kfg::ctl
