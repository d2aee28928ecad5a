// kfg-shortcut: makes or removes the menu entry that starts KFG in one Telvio folder.
#include "cli/argument_loop.h"
#include "cli/exit_status.h"
#include "cli/folder_argument.h"
#include "kfg_version.h"
#include "platform/failure_cause.h"
#include "platform/standard_output.h"
#include "platform/state_folder.h"
#include "shortcut/folder_shortcut.h"
#include "shortcut/shortcut_texts.h"
#include "texts/command_line_texts.h"
#include "texts/failure_reasons.h"
#include "texts/message_language.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kfg::cli::ExitStatus;
using kfg::shortcut::Message;
using kfg::shortcut::ShortcutErrc;
using kfg::texts::TextLanguage;

enum class ShortcutOption { Remove, Help, Version };

constexpr auto kOptions = std::to_array<kfg::cli::Option>({
    {.longName = "remove", .id = kfg::cli::IdOf(ShortcutOption::Remove)},
    {.longName = "help", .shortName = 'h', .id = kfg::cli::IdOf(ShortcutOption::Help)},
    {.longName = "version", .id = kfg::cli::IdOf(ShortcutOption::Version)},
});

// The sentence for each refusal of the folder that names it; a failure the entry met is said
// with the entry, in the system's words.
struct RefusalRow {
    ShortcutErrc errc;
    Message message;
};
constexpr auto kRefusals = std::to_array<RefusalRow>({
    {ShortcutErrc::NotAFolder, Message::NotAFolder},
    {ShortcutErrc::NoTelvioIni, Message::NoTelvioIni},
    {ShortcutErrc::PathNotUtf8, Message::PathNotUtf8},
    {ShortcutErrc::PathHasControl, Message::PathHasControl},
    {ShortcutErrc::NoDataHome, Message::NoDataHome},
    {ShortcutErrc::NoEntry, Message::NoEntry},
});

void PrintHelp(std::ostream& out) {
    out << "Usage: kfg-shortcut FOLDER\n"
           "       kfg-shortcut --remove FOLDER\n"
           "\n"
           "Makes the menu entry \"KFG – Telvio in <folder name>\" that starts KFG in FOLDER,\n"
           "a Telvio folder, the way the desktop's menus list programs. The entry is the file\n"
           "  $XDG_DATA_HOME/applications/"
        << kfg::kApplicationId << ".folder-<hex>.desktop\n"
        << "where <hex> is the first 12 hex digits of the SHA-256 of FOLDER's canonical path;\n"
           "XDG_DATA_HOME defaults to ~/.local/share. Making the entry again for the same folder\n"
           "replaces it. It disappears from the menu when KFG is removed and stays in your home\n"
           "until you remove it with --remove.\n"
           "\n"
           "FOLDER is refused when it holds no \"Telvio.ini\" (letter case ignored), when its "
           "path\n"
           "is not valid UTF-8, or when its path holds a control character other than tab,\n"
           "newline and carriage return: a menu entry cannot hold such a path.\n"
           "\n"
           "Options:\n"
           "  --remove   take away the menu entry of FOLDER (the folder may be gone already)\n"
           "  -h, --help show this text and end\n"
           "  --version  show the version and end\n"
           "\n"
           "Exit status: 0 when done; 1 when FOLDER is refused or the entry cannot be written\n"
           "or removed; 2 on wrong arguments.\n";
}

ExitStatus Refuse(const std::string& sentence) {
    std::cerr << "kfg-shortcut: " << sentence << '\n';
    return ExitStatus::Refused;
}

ExitStatus WrongArguments(const std::string& why, TextLanguage language) {
    std::cerr << "kfg-shortcut: " << why << '\n'
              << kfg::shortcut::Text(Message::SeeHelp, language) << '\n';
    return ExitStatus::Usage;
}

// Why it failed: a refusal names the folder, a failed write or removal the entry.
ExitStatus Report(std::string_view folder, const fs::path& entry, std::error_code error,
                  bool removing, TextLanguage language) {
    for (const RefusalRow& row : kRefusals) {
        if (error == row.errc) {
            return Refuse(kfg::shortcut::Text(row.message, language, {folder}));
        }
    }
    if (entry.empty()) {
        return Refuse(kfg::shortcut::Text(Message::FolderUnusable, language,
                                          {folder, kfg::texts::FailureReason(error, language)}));
    }
    if (!removing) {
        return Refuse(kfg::texts::SaveFailureMessage(entry.native(), error, language));
    }
    return Refuse(kfg::shortcut::Text(
        Message::EntryNotRemoved, language,
        {entry.native(),
         kfg::texts::FailureReason(kfg::platform::SortWriteFailure(error), language)}));
}

ExitStatus Run(const std::vector<std::string>& arguments, std::ostream& out,
               TextLanguage language) {
    const kfg::cli::ParsedArguments parsed =
        kfg::cli::ParseArguments(arguments, kOptions, kfg::cli::Dashes::Gnu);
    if (parsed.fault) { // no option takes a value, so none can miss one
        const kfg::texts::Texts& sentence = parsed.fault->fault == kfg::cli::Fault::TakesNoValue
                                                ? kfg::texts::kTakesNoValue
                                                : kfg::texts::kUnknownOption;
        return WrongArguments(kfg::texts::FillIn(sentence.In(language), {parsed.fault->name}),
                              language);
    }
    bool remove = false;
    for (const kfg::cli::GivenOption& given : parsed.options) { // the first of help and version
        switch (static_cast<ShortcutOption>(given.option->id)) {
        case ShortcutOption::Help:
            PrintHelp(out);
            return ExitStatus::Done;
        case ShortcutOption::Version:
            out << "kfg-shortcut " << kfg::kVersion << '\n';
            return ExitStatus::Done;
        case ShortcutOption::Remove:
            remove = true;
            break;
        }
    }
    if (parsed.words.empty()) {
        return WrongArguments(kfg::shortcut::Text(Message::NoFolderGiven, language), language);
    }
    if (parsed.words.size() > 1) {
        return WrongArguments(kfg::shortcut::Text(Message::TwoFolders, language), language);
    }
    const std::string folder(parsed.words.front());
    // The folder is checked as kfg and kfgctl check theirs, and refused in their words; one
    // to remove the entry of may be gone already.
    if (!remove) {
        const kfg::cli::FolderRefusal refusal = kfg::cli::CheckFolderArgument(folder);
        if (refusal != kfg::cli::FolderRefusal::None) {
            return Refuse(kfg::cli::FolderRefusalText(refusal, folder, language));
        }
    }

    // The user's data folder: $XDG_DATA_HOME, else $HOME/.local/share.
    const fs::path dataHome = kfg::platform::XdgBaseFolder(
        std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), fs::path(".local") / "share");
    if (dataHome.empty()) {
        return Report(folder, {}, ShortcutErrc::NoDataHome, remove, language);
    }
    const fs::path applications = dataHome / "applications";
    fs::path entry;
    if (remove) {
        const std::error_code error =
            kfg::shortcut::RemoveFolderShortcut(kfg::kApplicationId, folder, applications, entry);
        if (error) {
            return Report(folder, entry, error, remove, language);
        }
        out << kfg::shortcut::Text(Message::EntryRemoved, language, {entry.native()}) << '\n';
        return ExitStatus::Done;
    }
    const std::error_code error =
        kfg::shortcut::MakeFolderShortcut(kfg::kApplicationId, folder, applications, entry);
    if (error) {
        return Report(folder, entry, error, remove, language);
    }
    out << kfg::shortcut::Text(Message::EntryWritten, language, {entry.native()}) << '\n';
    return ExitStatus::Done;
}

} // namespace

int main(int argc, char** argv) {
    // Before anything is opened: a closed standard output must not lend its number to a file.
    const bool outputClosed = kfg::platform::FillClosedStandardStreams();
    kfg::platform::DescriptorOutput outputBuffer(outputClosed ? -1 : STDOUT_FILENO);
    std::ostream out(&outputBuffer);
    const TextLanguage language = kfg::texts::MessageLanguage(
        kfg::texts::LocaleEnvironmentOfProcess(), kfg::texts::MessageOutput::Terminal);
    const ExitStatus status = Run({argv + 1, argv + argc}, out, language);
    // Output that never arrived (a full disk, a closed pipe) is no success.
    out.flush();
    if (const std::error_code failed = outputBuffer.Error()) {
        std::cerr << "kfg-shortcut: "
                  << kfg::texts::FillIn(kfg::texts::kOutputUnwritable.In(language),
                                        {kfg::texts::FailureReason(
                                            kfg::platform::SortWriteFailure(failed), language)})
                  << '\n';
        return kfg::cli::ExitCode(ExitStatus::Refused);
    }
    return kfg::cli::ExitCode(status);
}
