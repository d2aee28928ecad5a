// kfg's command line: its own options and Qt's (qt_options.h) through the shared option loop.
#include "app/command_line.h"

#include "app/qt_options.h"
#include "cli/exit_status.h"
#include "cli/folder_argument.h"
#include "kfg_version.h"
#include "platform/no_repeats.h"
#include "texts/command_line_texts.h"

#include <array>
#include <ostream>
#include <string_view>

namespace kfg::app {
namespace {

namespace fs = std::filesystem;
using texts::TextLanguage;
using texts::Texts;

enum class KfgOption { Help, Version, ChooseFolder, History };

// A new option is one row here, its action in kActions or a field of CommandLine, and what
// main() does with it.
constexpr auto kOwnOptions = std::to_array<cli::Option>({
    {.longName = "help", .shortName = 'h', .id = cli::IdOf(KfgOption::Help), .help = "this text"},
    {.longName = "version", .id = cli::IdOf(KfgOption::Version), .help = "the version"},
    {.longName = "choose-folder",
     .id = cli::IdOf(KfgOption::ChooseFolder),
     .help = "a window to pick the Telvio folder (the menu entry's way)"},
    {.longName = "history",
     .id = cli::IdOf(KfgOption::History),
     .help = "the window of the folder's earlier states instead of its settings"},
});
static_assert(platform::RowPerEnumerator(
                  kOwnOptions, [](const cli::Option& row) { return row.id; }, KfgOption::History),
              "one row per option, in the order of the enumeration");
constexpr auto kOptions = cli::JoinTables(kOwnOptions, kQtOptions);

// The actions options ask for, in the order they win when several are given. --history has
// none: it changes what the others show.
struct ActionRow {
    KfgOption option;
    StartAction action;
};
constexpr auto kActions = std::to_array<ActionRow>({
    {KfgOption::Help, StartAction::PrintHelp},
    {KfgOption::Version, StartAction::PrintVersion},
    {KfgOption::ChooseFolder, StartAction::ChooseFolder},
});

// kfg's own sentences; those the three programs share are in the texts room.
enum class Message {
    TwoFolders,
    ChooserTakesNoFolder,
    Usage,
};

struct MessageRow {
    Message message;
    Texts text;
};

constexpr auto kMessages = std::to_array<MessageRow>({
    {Message::TwoFolders,
     {"more than one folder: %1, %2", "mehr als ein Ordner: %1, %2", "más de una carpeta: %1, %2"}},
    {Message::ChooserTakesNoFolder,
     {"--choose-folder takes no folder: %1", "--choose-folder nimmt keinen Ordner: %1",
      "--choose-folder no admite ninguna carpeta: %1"}},
    {Message::Usage,
     {"usage: kfg [OPTION...] [FOLDER]; see kfg --help",
      "Aufruf: kfg [OPTION...] [ORDNER]; siehe kfg --help",
      "uso: kfg [OPCIÓN...] [CARPETA]; véase kfg --help"}},
});

static_assert(platform::RowPerEnumerator(
                  kMessages, [](const auto& row) { return row.message; }, Message::Usage),
              "one row per message, in the order of the enumeration");

const Texts& TextOf(Message message) {
    return kMessages[static_cast<std::size_t>(message)].text;
}

// The refusal: its sentence on one line, then the usage.
CommandLine Refusal(CommandLine commandLine, TextLanguage language, std::string_view sentence) {
    commandLine.action = StartAction::Refuse;
    commandLine.text =
        "kfg: " + std::string(sentence) + '\n' + TextOf(Message::Usage).In(language) + '\n';
    return commandLine;
}

CommandLine Refusal(CommandLine commandLine, TextLanguage language, const Texts& sentence,
                    std::initializer_list<std::string_view> values) {
    return Refusal(std::move(commandLine), language, texts::FillIn(sentence.In(language), values));
}

std::string HelpText() {
    return "Usage: kfg [OPTION...] [FOLDER]\n"
           "Shows and changes the settings of the Telvio TV viewer in FOLDER, keeps named\n"
           "configurations in its KFG.ini and hands over to Telvio. Without FOLDER, KFG works in\n"
           "the folder it is started in.\n"
           "\nOptions:\n" +
           cli::OptionsHelp(kOwnOptions) +
           "Qt's own options (-platform NAME, -style NAME, -display DISPLAY, ...) go to Qt.\n"
           "\nExit status: 0 when the dialog ends, 2 for wrong arguments; once KFG has handed\n"
           "over to Telvio, Telvio's.\n";
}

// `folder` as `cd` would take it: from `workingFolder` when relative, with "." and ".." taken
// by name, so that "link/.." is the folder holding the link, as in the shell.
fs::path AbsoluteFolder(std::string_view folder, const fs::path& workingFolder) {
    fs::path absolute = (workingFolder / folder).lexically_normal();
    if (!absolute.has_filename() && absolute != absolute.root_path()) {
        absolute = absolute.parent_path(); // the trailing separator
    }
    return absolute;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const fs::path& workingFolder, TextLanguage language) {
    CommandLine commandLine;
    const cli::ParsedArguments parsed =
        cli::ParseArguments(arguments, kOptions, cli::Dashes::OneOrTwo);
    // Only Qt's options take values. One whose value is missing is the last argument: Qt gets
    // it as it is and reads it as given without one.
    if (parsed.fault && parsed.fault->fault != cli::Fault::ValueMissing) {
        const Texts& sentence = parsed.fault->fault == cli::Fault::TakesNoValue
                                    ? texts::kTakesNoValue
                                    : texts::kUnknownOption;
        return Refusal(std::move(commandLine), language, sentence, {parsed.fault->name});
    }
    std::array<bool, kOwnOptions.size()> given{};
    for (const cli::GivenOption& option : parsed.options) {
        if (option.option->id != kQtOption) {
            given[static_cast<std::size_t>(option.option->id)] = true;
            continue;
        }
        commandLine.qtArguments.emplace_back(option.argument);
        if (option.valueSeparate) {
            commandLine.qtArguments.emplace_back(*option.value);
        }
    }
    const auto isGiven = [&given](KfgOption option) {
        return given[static_cast<std::size_t>(option)];
    };
    const std::vector<std::string_view>& folders = parsed.words;
    commandLine.history = isGiven(KfgOption::History);
    for (const ActionRow& row : kActions) {
        if (!isGiven(row.option)) {
            continue;
        }
        commandLine.action = row.action;
        if (row.action == StartAction::PrintHelp) {
            commandLine.text = HelpText();
        } else if (row.action == StartAction::PrintVersion) {
            commandLine.text = std::string("kfg ") + kVersion + '\n';
        } else if (!folders.empty()) { // the window is the folder's choice
            return Refusal(std::move(commandLine), language, TextOf(Message::ChooserTakesNoFolder),
                           {folders.front()});
        }
        return commandLine;
    }

    if (folders.size() > 1) {
        return Refusal(std::move(commandLine), language, TextOf(Message::TwoFolders),
                       {folders[0], folders[1]});
    }
    if (folders.empty()) {
        return commandLine; // the working folder, exactly as without arguments
    }
    const std::string_view named = folders.front();
    const fs::path folder = named.empty() ? fs::path() : AbsoluteFolder(named, workingFolder);
    if (const cli::FolderRefusal refusal = cli::CheckFolderArgument(folder);
        refusal != cli::FolderRefusal::None) {
        return Refusal(std::move(commandLine), language,
                       cli::FolderRefusalText(refusal, named, language));
    }
    commandLine.folder = folder;
    return commandLine;
}

std::optional<int> Answer(const CommandLine& commandLine, std::ostream& out, std::ostream& err) {
    switch (commandLine.action) {
    case StartAction::Run:
    case StartAction::ChooseFolder:
        return std::nullopt;
    case StartAction::PrintHelp:
    case StartAction::PrintVersion:
        out << commandLine.text << std::flush;
        // A closed stdout must not pass for a printed text.
        return cli::ExitCode(out ? cli::ExitStatus::Done : cli::ExitStatus::Refused);
    case StartAction::Refuse:
        err << commandLine.text << std::flush;
        break;
    }
    return cli::ExitCode(cli::ExitStatus::Usage);
}

std::string FolderNotEntered(const fs::path& folder, TextLanguage language) {
    return Refusal(
               {}, language,
               cli::FolderRefusalText(cli::FolderRefusal::NotEntered, folder.native(), language))
        .text;
}

QtArgv::QtArgv(const char* programName, const std::vector<std::string>& qtArguments) {
    strings_.emplace_back(programName != nullptr ? programName : "kfg");
    strings_.insert(strings_.end(), qtArguments.begin(), qtArguments.end());
    for (std::string& value : strings_) {
        pointers_.push_back(value.data());
    }
    count_ = static_cast<int>(strings_.size());
    pointers_.push_back(nullptr); // argv ends with a null pointer
}

} // namespace kfg::app
