// kfg's command line: its own options from a table, Qt's options set aside for Qt.
#include "app/command_line.h"

#include "kfg_version.h"
#include "platform/no_repeats.h"
#include "texts/input_check_texts.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <array>
#include <ostream>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace kfg::app {
namespace {

namespace fs = std::filesystem;
using texts::TextLanguage;
using texts::Texts;

// KFG's options, in the order they win when several are given. A new option is one row here
// and its action in main().
struct ProgramOption {
    std::string_view shortName; // empty when there is none
    std::string_view longName;
    std::string_view help;
    StartAction action;
    bool modifier = false; // changes what the action shows, with any other option
};

constexpr auto kProgramOptions = std::to_array<ProgramOption>({
    {"h", "help", "this text", StartAction::PrintHelp},
    {"", "version", "the version", StartAction::PrintVersion},
    {"", "choose-folder", "a window to pick the Telvio folder (the menu entry's way)",
     StartAction::ChooseFolder},
    {"", "history", "the window of the folder's earlier states instead of its settings",
     StartAction::Run, true},
});

// Qt's own options, which Qt reads from argv itself (with one dash or two). Taking them out
// first keeps their values ("-style fusion") from being read as a folder.
enum class QtValue {
    None,      // -reverse
    Separate,  // -platform NAME
    Either,    // -style NAME or -style=NAME
    JoinedOnly // -qmljsdebugger=PORT
};

struct QtOption {
    std::string_view name;
    QtValue value;
};

constexpr auto kQtOptions = std::to_array<QtOption>({
    {"platform", QtValue::Separate},
    {"platformpluginpath", QtValue::Separate},
    {"platformtheme", QtValue::Separate},
    {"plugin", QtValue::Separate},
    {"qwindowgeometry", QtValue::Separate},
    {"qwindowicon", QtValue::Separate},
    {"qwindowtitle", QtValue::Separate},
    {"session", QtValue::Separate},
    {"display", QtValue::Separate},
    {"geometry", QtValue::Separate},
    {"title", QtValue::Separate},
    {"icon", QtValue::Separate},
    {"name", QtValue::Separate},
    {"style", QtValue::Either},
    {"stylesheet", QtValue::Either},
    {"qmljsdebugger", QtValue::JoinedOnly},
    {"reverse", QtValue::None},
    {"widgetcount", QtValue::None},
    {"sync", QtValue::None},
    {"nograb", QtValue::None},
    {"dograb", QtValue::None},
    {"testability", QtValue::None},
});

enum class Message {
    NoSuchFolder,
    NotAFolder,
    FolderNotEntered,
    TwoFolders,
    UnknownOption,
    TakesNoValue,
    ChooserTakesNoFolder,
    Usage,
};

struct MessageRow {
    Message message;
    Texts text;
};

constexpr auto kMessages = std::to_array<MessageRow>({
    {Message::NoSuchFolder, texts::kFolderMissing},
    {Message::NotAFolder, {"%1 is not a folder", "%1 ist kein Ordner", "%1 no es una carpeta"}},
    {Message::FolderNotEntered,
     {"the folder %1 cannot be entered", "in den Ordner %1 kann nicht gewechselt werden",
      "no se puede entrar en la carpeta %1"}},
    {Message::TwoFolders,
     {"more than one folder: %1, %2", "mehr als ein Ordner: %1, %2", "más de una carpeta: %1, %2"}},
    {Message::UnknownOption,
     {"%1: unknown option", "%1: unbekannte Option", "%1: opción desconocida"}},
    {Message::TakesNoValue,
     {"%1 takes no value", "%1 nimmt keinen Wert", "%1 no admite ningún valor"}},
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

std::string Text(Message message, TextLanguage language,
                 std::initializer_list<std::string_view> values = {}) {
    return texts::FillIn(kMessages[static_cast<std::size_t>(message)].text.In(language), values);
}

CommandLine Refusal(CommandLine commandLine, TextLanguage language, Message message,
                    std::initializer_list<std::string_view> values) {
    commandLine.action = StartAction::Refuse;
    commandLine.text =
        "kfg: " + Text(message, language, values) + '\n' + Text(Message::Usage, language) + '\n';
    return commandLine;
}

// An argument read as an option, with one dash or two, as both Qt and the parser read them.
struct OptionArgument {
    std::string_view typed; // the dashes and the name, without a joined value
    std::string_view name;
    bool valueJoined = false;
};

OptionArgument OptionOf(std::string_view argument) {
    OptionArgument option;
    option.typed = argument.substr(0, argument.find('='));
    option.valueJoined = option.typed.size() != argument.size();
    option.name = option.typed;
    option.name.remove_prefix(option.name.starts_with("--")  ? 2
                              : option.name.starts_with('-') ? 1
                                                             : 0);
    return option;
}

// The name of a Qt option as Qt compares it, or nothing for anything else.
const QtOption* QtOptionOf(std::string_view argument, bool& valueJoined) {
    if (!argument.starts_with('-')) {
        return nullptr;
    }
    const OptionArgument typed = OptionOf(argument);
    valueJoined = typed.valueJoined;
    for (const QtOption& option : kQtOptions) {
        if (option.name != typed.name) {
            continue;
        }
        const bool joinedAllowed =
            option.value == QtValue::Either || option.value == QtValue::JoinedOnly;
        if (valueJoined ? joinedAllowed : option.value != QtValue::JoinedOnly) {
            return &option;
        }
    }
    return nullptr;
}

// Puts Qt's options (with their values) into `qt` and everything else into `own`. After "--"
// nothing is an option.
void SplitQtOptions(const std::vector<std::string>& arguments, std::vector<std::string>& qt,
                    std::vector<std::string>& own) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            own.insert(own.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i),
                       arguments.end());
            return;
        }
        bool valueJoined = false;
        const QtOption* option = QtOptionOf(argument, valueJoined);
        if (option == nullptr) {
            own.push_back(argument);
            continue;
        }
        qt.push_back(argument);
        if (option->value != QtValue::None && !valueJoined && i + 1 < arguments.size()) {
            qt.push_back(arguments[++i]);
        }
    }
}

// Bytes through QString and back unchanged: Latin-1 maps each byte to one character, and
// the option names are ASCII either way.
QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
std::string Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

QStringList NamesOf(const ProgramOption& option) {
    QStringList names;
    if (!option.shortName.empty()) {
        names << Latin1(option.shortName);
    }
    names << Latin1(option.longName);
    return names;
}

std::string HelpText() {
    std::vector<std::string> names;
    std::size_t width = 0;
    for (const ProgramOption& option : kProgramOptions) {
        std::string shown;
        if (!option.shortName.empty()) {
            shown.append("-").append(option.shortName).append(", ");
        }
        shown.append("--").append(option.longName);
        width = std::max(width, shown.size());
        names.push_back(std::move(shown));
    }
    std::string text =
        "Usage: kfg [OPTION...] [FOLDER]\n"
        "Shows and changes the settings of the Telvio TV viewer in FOLDER, keeps named\n"
        "configurations in its KFG.ini and hands over to Telvio. Without FOLDER, KFG works in\n"
        "the folder it is started in.\n"
        "\nOptions:\n";
    for (std::size_t i = 0; i < kProgramOptions.size(); ++i) {
        text += "  " + names[i] + std::string(width - names[i].size() + 3, ' ') +
                std::string(kProgramOptions[i].help) + '\n';
    }
    text += "Qt's own options (-platform NAME, -style NAME, -display DISPLAY, ...) go to Qt.\n"
            "\nExit status: 0 when the dialog ends, 2 for wrong arguments; once KFG has handed\n"
            "over to Telvio, Telvio's.\n";
    return text;
}

// The argument as typed that gave the parser's option `name` (which it gives without dashes
// or value).
std::string Typed(const QString& name, const std::vector<std::string>& own) {
    const std::string wanted = Bytes(name);
    for (const std::string& argument : own) {
        if (argument == "--") {
            break;
        }
        const OptionArgument typed = OptionOf(argument);
        if (typed.name == wanted) {
            return std::string(typed.typed);
        }
    }
    return "--" + wanted;
}

// The option parser refuses only an unknown option or a value joined to one of KFG's options,
// none of which takes a value.
CommandLine OptionRefusal(CommandLine commandLine, const QCommandLineParser& parser,
                          const std::vector<std::string>& own, TextLanguage language) {
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) {
        for (const std::string& argument : own) {
            if (argument == "--") {
                break;
            }
            const OptionArgument typed = OptionOf(argument);
            if (argument.starts_with('-') && typed.valueJoined) {
                return Refusal(std::move(commandLine), language, Message::TakesNoValue,
                               {typed.typed});
            }
        }
    }
    return Refusal(std::move(commandLine), language, Message::UnknownOption,
                   {Typed(unknown.value(0), own)});
}

// `folder` as `cd` would take it: from `workingFolder` when relative, with "." and ".." taken
// by name, so that "link/.." is the folder holding the link, as in the shell.
fs::path AbsoluteFolder(const std::string& folder, const fs::path& workingFolder) {
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
    std::vector<std::string> own;
    SplitQtOptions(arguments, commandLine.qtArguments, own);

    QCommandLineParser parser;
    // "-version" is the long option, not six short ones, as Qt reads its own "-platform".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const ProgramOption& option : kProgramOptions) {
        parser.addOption(QCommandLineOption(NamesOf(option)));
    }
    QStringList list{QStringLiteral("kfg")}; // the parser skips the program's name
    for (const std::string& argument : own) {
        list << Latin1(argument);
    }
    if (!parser.parse(list)) {
        return OptionRefusal(std::move(commandLine), parser, own, language);
    }
    const QStringList folders = parser.positionalArguments();
    for (const ProgramOption& option : kProgramOptions) {
        if (option.modifier) {
            commandLine.history = commandLine.history || parser.isSet(Latin1(option.longName));
        }
    }
    for (const ProgramOption& option : kProgramOptions) {
        if (option.modifier || !parser.isSet(Latin1(option.longName))) {
            continue;
        }
        commandLine.action = option.action;
        if (option.action == StartAction::PrintHelp) {
            commandLine.text = HelpText();
        } else if (option.action == StartAction::PrintVersion) {
            commandLine.text = std::string("kfg ") + kVersion + '\n';
        } else if (!folders.isEmpty()) { // the window is the folder's choice
            return Refusal(std::move(commandLine), language, Message::ChooserTakesNoFolder,
                           {Bytes(folders.constFirst())});
        }
        return commandLine;
    }

    if (folders.size() > 1) {
        return Refusal(std::move(commandLine), language, Message::TwoFolders,
                       {Bytes(folders[0]), Bytes(folders[1])});
    }
    if (folders.isEmpty()) {
        return commandLine; // the working folder, exactly as without arguments
    }
    const std::string given = Bytes(folders.constFirst());
    const fs::path folder = AbsoluteFolder(given, workingFolder);
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (given.empty() || !fs::exists(status)) {
        return Refusal(std::move(commandLine), language, Message::NoSuchFolder, {given});
    }
    if (!fs::is_directory(status)) {
        return Refusal(std::move(commandLine), language, Message::NotAFolder, {given});
    }
    if (::access(folder.c_str(), X_OK) != 0) {
        return Refusal(std::move(commandLine), language, Message::FolderNotEntered, {given});
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
        return out ? 0 : 1; // a closed stdout must not pass for a printed text
    case StartAction::Refuse:
        err << commandLine.text << std::flush;
        break;
    }
    return kUsageError;
}

std::string FolderNotEntered(const fs::path& folder, TextLanguage language) {
    return Refusal({}, language, Message::FolderNotEntered, {folder.native()}).text;
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
