#pragma once

#include "texts/text_language.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kfg::app {

// What KFG's command line asks for. It is decided before the application object exists, so
// that nothing of it needs a display.
enum class StartAction { Run, PrintHelp, PrintVersion, ChooseFolder, Refuse };

struct CommandLine {
    StartAction action = StartAction::Run;
    // The folder KFG runs in, absolute; empty when none is given (the working folder).
    std::filesystem::path folder;
    // The window of the folder's earlier states instead of its settings (--history).
    bool history = false;
    // Qt's own options with their values, as given; the application object gets these only.
    std::vector<std::string> qtArguments;
    // Help or version for stdout, or the refusal for stderr: one line, then the usage.
    std::string text;
};

// Reads `arguments` (the program's name left out), as bytes: a folder's name need not be
// UTF-8. A relative FOLDER is taken from `workingFolder`; the refusal is in `language`.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::filesystem::path& workingFolder,
                             texts::TextLanguage language);

// Prints what `commandLine` has to say. The exit status when KFG ends here (a refusal is a
// usage error, 2); nothing when it runs.
std::optional<int> Answer(const CommandLine& commandLine, std::ostream& out, std::ostream& err);

// The refusal of a FOLDER that cannot be made the working folder, as ParseCommandLine words it;
// KFG ends with a usage error after it.
std::string FolderNotEntered(const std::filesystem::path& folder, texts::TextLanguage language);

// argc and argv for the application object: the program's name and Qt's options. Qt keeps
// pointers into them, so this outlives the application object.
class QtArgv {
public:
    QtArgv(const char* programName, const std::vector<std::string>& qtArguments);
    QtArgv(const QtArgv&) = delete;
    QtArgv& operator=(const QtArgv&) = delete;

    int& Count() { return count_; }
    char** Values() { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
    int count_ = 0;
};

} // namespace kfg::app
