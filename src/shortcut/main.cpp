// kfg-shortcut: makes or removes the menu entry that starts KFG in one Telvio folder.
#include "kfg_version.h"
#include "platform/failure_cause.h"
#include "platform/standard_output.h"
#include "platform/state_folder.h"
#include "shortcut/folder_shortcut.h"
#include "texts/failure_reasons.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kfg::shortcut::ShortcutErrc;

constexpr int kRefused = 1;
constexpr int kWrongArguments = 2;

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

int WrongArguments(const char* why) {
    std::fprintf(stderr, "kfg-shortcut: %s\nTry 'kfg-shortcut --help'.\n", why);
    return kWrongArguments;
}

// Why it failed: a refusal names the folder, a failed write or removal the entry.
int Report(const std::string& folder, const fs::path& entry, std::error_code error,
           const char* verb) {
    if (error == ShortcutErrc::NoDataHome) {
        std::fprintf(stderr, "kfg-shortcut: %s\n", error.message().c_str());
    } else if (!entry.empty() && error != ShortcutErrc::NoEntry) {
        std::fprintf(stderr, "kfg-shortcut: cannot %s \"%s\": %s\n", verb, entry.c_str(),
                     error.message().c_str());
    } else {
        std::fprintf(stderr, "kfg-shortcut: \"%s\": %s\n", folder.c_str(), error.message().c_str());
    }
    return kRefused;
}

int Run(int argc, char** argv, std::ostream& out) {
    bool remove = false;
    bool optionsEnded = false;
    const char* folder = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            PrintHelp(out);
            return 0;
        }
        if (!optionsEnded && argument == "--version") {
            out << "kfg-shortcut " << kfg::kVersion << '\n';
            return 0;
        }
        if (!optionsEnded && argument == "--remove") {
            remove = true;
        } else if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            return WrongArguments(("unknown option " + std::string(argument)).c_str());
        } else if (folder != nullptr) {
            return WrongArguments("give one folder");
        } else {
            folder = argv[i];
        }
    }
    if (folder == nullptr) {
        return WrongArguments("name the Telvio folder");
    }

    // The user's data folder: $XDG_DATA_HOME, else $HOME/.local/share.
    const fs::path dataHome = kfg::platform::XdgBaseFolder(
        std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), fs::path(".local") / "share");
    if (dataHome.empty()) {
        return Report(folder, {}, ShortcutErrc::NoDataHome, "");
    }
    const fs::path applications = dataHome / "applications";
    fs::path entry;
    if (remove) {
        const std::error_code error =
            kfg::shortcut::RemoveFolderShortcut(kfg::kApplicationId, folder, applications, entry);
        if (error) {
            return Report(folder, entry, error, "remove");
        }
        out << "Removed the menu entry " << entry.native() << '\n';
        return 0;
    }
    const std::error_code error =
        kfg::shortcut::MakeFolderShortcut(kfg::kApplicationId, folder, applications, entry);
    if (error) {
        return Report(folder, entry, error, "write");
    }
    out << "Wrote the menu entry " << entry.native() << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Before anything is opened: a closed standard output must not lend its number to a file.
    const bool outputClosed = kfg::platform::FillClosedStandardStreams();
    kfg::platform::DescriptorOutput outputBuffer(outputClosed ? -1 : STDOUT_FILENO);
    std::ostream out(&outputBuffer);
    const int status = Run(argc, argv, out);
    // Output that never arrived (a full disk, a closed pipe) is no success.
    out.flush();
    if (const std::error_code failed = outputBuffer.Error()) {
        std::fprintf(stderr, "kfg-shortcut: cannot write the output: %s\n",
                     kfg::texts::FailureReason(kfg::platform::SortWriteFailure(failed),
                                               kfg::texts::TextLanguage::English)
                         .c_str());
        return kRefused;
    }
    return status;
}
