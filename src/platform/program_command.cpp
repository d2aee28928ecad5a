#include "platform/program_command.h"

#include "platform/failure_cause.h"
#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "platform/unique_fd.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

// Does the file start with "MZ" (a Windows executable)? Nothing when it cannot be read.
std::optional<bool> IsWindowsExecutable(const std::filesystem::path& file) {
    std::error_code error;
    const UniqueFd fd = OpenRegularFile(file, error);
    if (!fd.valid()) {
        return std::nullopt;
    }
    std::array<char, 2> head{};
    ssize_t got = 0;
    do {
        got = ::read(fd.get(), head.data(), head.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return std::nullopt;
    }
    return got == 2 && head[0] == 'M' && head[1] == 'Z';
}

} // namespace

ProgramFile FindProgramFile(const std::filesystem::path& workingDirectory,
                            const std::string& name) {
    // Found as wine finds it: "SONORA.EXE" copied from a FAT medium is "Sonora.exe".
    const NameMatch match = FindIgnoringCase(workingDirectory, name);
    struct stat state {};
    if (::stat(match.path.c_str(), &state) == 0 && S_ISREG(state.st_mode)) {
        return {match.path.filename().string(), {}, match.candidates};
    }
    return {name, make_error_code(FailureCause::FileMissing), match.candidates};
}

ProgramCommand CommandFor(const std::filesystem::path& workingDirectory, const std::string& name,
                          const std::vector<std::string>& arguments,
                          const std::string& searchPath) {
    ProgramCommand command;
    const ProgramFile file = FindProgramFile(workingDirectory, name);
    if (file.candidates.size() > 1) {
        command.spellings = file.candidates;
    }
    command.argv.push_back("./" + file.name);
    command.argv.insert(command.argv.end(), arguments.begin(), arguments.end());
    if (file.error) {
        command.error = file.error;
        return command;
    }
    const std::optional<bool> windows = IsWindowsExecutable(workingDirectory / file.name);
    if (!windows) {
        command.error = make_error_code(FailureCause::FileNotReadable);
    } else if (*windows) {
        const std::optional<std::string> wine = FindOnSearchPath("wine", searchPath);
        command.argv.insert(command.argv.begin(), wine.value_or("wine"));
        command.throughWine = true;
        if (!wine) {
            command.error = make_error_code(FailureCause::WineMissing);
        }
    }
    return command;
}

std::optional<std::string> FindOnSearchPath(const std::string& program,
                                            const std::string& searchPath) {
    std::stringstream folders(searchPath);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty() || folder.front() != '/') {
            continue; // relative entries would find a file of the program's folder
        }
        const std::filesystem::path candidate = std::filesystem::path(folder) / program;
        std::error_code ignored;
        if (::access(candidate.c_str(), X_OK) == 0 &&
            std::filesystem::is_regular_file(candidate, ignored)) {
            return candidate.string();
        }
    }
    return std::nullopt;
}

std::string SearchPathOfProcess() {
    const char* path = std::getenv("PATH");
    return path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
}

} // namespace kfg::platform
