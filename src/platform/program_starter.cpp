#include "platform/program_starter.h"

#include "platform/failure_cause.h"
#include "platform/program_command.h"
#include "platform/program_launcher.h"

#include <cerrno>
#include <chrono>
#include <utility>

namespace kfg::platform {
namespace {

// A failed exec of a file we found and read: the file cannot be run as it is (no execute
// permission, no interpreter, a format the system does not run). A broken wine keeps the
// system's own words.
std::error_code ExecFailure(std::error_code error, bool throughWine) {
    if (throughWine || error.category() != std::generic_category()) {
        return error;
    }
    switch (error.value()) {
    case EACCES:
    case EPERM:
    case ENOEXEC:
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case EISDIR:
    case ELIBBAD:
    case ETXTBSY:
        return make_error_code(FailureCause::NotExecutable);
    default:
        return error;
    }
}

} // namespace

std::error_code SystemProgramStarter::Report(LaunchFailure failure) const {
    if (failure.error && sink_) {
        sink_(failure);
    }
    return failure.error;
}

void SystemProgramStarter::ReportSpellings(const std::string& program,
                                           const ProgramCommand& command) const {
    if (!command.spellings.empty() && sink_) {
        sink_({"look up", program, command.spellings, {}, true});
    }
}

std::error_code SystemProgramStarter::Start(const std::filesystem::path& workingDirectory,
                                            const std::string& name,
                                            const std::vector<std::string>& arguments) {
    return Run("start", workingDirectory, name, arguments, StartDetached);
}

std::error_code SystemProgramStarter::RunWaited(const std::filesystem::path& workingDirectory,
                                                const WaitedProgram& program) {
    // A Windows system program: it only ever runs through wine.
    const std::optional<std::string> wine = FindOnSearchPath("wine", searchPath_);
    std::vector<std::string> commandLine{wine.value_or("wine")};
    commandLine.insert(commandLine.end(), program.arguments.begin(), program.arguments.end());
    const std::error_code error = wine ? StartAndWait(commandLine, workingDirectory, program.limit)
                                       : make_error_code(FailureCause::WineMissing);
    return Report({program.what, program.arguments.empty() ? "" : program.arguments.front(),
                   commandLine, error, false, program.limit});
}

std::error_code SystemProgramStarter::HandOver(const std::filesystem::path& workingDirectory,
                                               const std::string& name,
                                               const std::vector<std::string>& arguments) {
    return Run("hand-over", workingDirectory, name, arguments, ReplaceProcess);
}

std::error_code SystemProgramStarter::Run(const char* step,
                                          const std::filesystem::path& workingDirectory,
                                          const std::string& name,
                                          const std::vector<std::string>& arguments,
                                          RunCommand run) const {
    const ProgramCommand command = CommandFor(workingDirectory, name, arguments, searchPath_);
    ReportSpellings(name, command);
    const std::error_code error =
        command.error ? command.error
                      : ExecFailure(run(command.argv, workingDirectory), command.throughWine);
    return Report({step, name, command.argv, error});
}

} // namespace kfg::platform
