#include "platform/program_launcher.h"

#include "platform/file_system.h"
#include "platform/unique_fd.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

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

// Marks every descriptor above the standard ones close-on-exec.
void CloseOnExecAll() {
#ifdef CLOSE_RANGE_CLOEXEC
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0) {
        return;
    }
#endif
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ignored)) {
        const int fd = std::atoi(entry.path().filename().c_str());
        if (fd > 2) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
}

std::vector<char*> ArgumentVector(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& argument : command) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

// In the grandchild: reports an exec failure through `report` (close-on-exec, so a
// successful exec closes it silently), keeping `keepOpen` across the exec.
[[noreturn]] void ExecInChild(const std::vector<char*>& argv,
                              const std::filesystem::path& workingDirectory, int report,
                              int keepOpen) {
    CloseOnExecAll();
    if (keepOpen >= 0) {
        ::fcntl(keepOpen, F_SETFD, 0);
    }
    int error = 0;
    if (::chdir(workingDirectory.c_str()) != 0) {
        error = errno;
    } else {
        ::execv(argv[0], argv.data());
        error = errno;
    }
    [[maybe_unused]] const ssize_t written = ::write(report, &error, sizeof error);
    ::_exit(127);
}

// Double fork: the intermediate child exits at once and is reaped here; the grandchild runs
// the program. `keepOpen` is a descriptor the program keeps (the write end of a pipe that
// tells when it ends), or -1.
std::error_code Spawn(const std::vector<std::string>& command,
                      const std::filesystem::path& workingDirectory, int keepOpen) {
    if (command.empty()) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    std::array<int, 2> report{};
    if (::pipe2(report.data(), O_CLOEXEC) != 0) {
        return LastError();
    }
    UniqueFd reportRead(report[0]);
    UniqueFd reportWrite(report[1]);
    const std::vector<char*> argv = ArgumentVector(command);
    const pid_t intermediate = ::fork();
    if (intermediate < 0) {
        return LastError();
    }
    if (intermediate == 0) {
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ExecInChild(argv, workingDirectory, reportWrite.get(), keepOpen);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(intermediate, &status, 0) < 0 && errno == EINTR) {
    }
    reportWrite.close();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::make_error_code(std::errc::resource_unavailable_try_again);
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(reportRead.get(), &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    return got == sizeof error ? std::error_code(error, std::generic_category())
                               : std::error_code{};
}

} // namespace

std::optional<std::string> FindOnSearchPath(const std::string& program,
                                            const std::string& searchPath) {
    std::stringstream folders(searchPath);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) {
            continue; // an empty entry would mean the working directory: never for this
        }
        const std::filesystem::path candidate = std::filesystem::path(folder) / program;
        if (::access(candidate.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(candidate)) {
            return candidate.string();
        }
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> CommandFor(const std::filesystem::path& workingDirectory,
                                                   const std::string& name,
                                                   const std::vector<std::string>& arguments,
                                                   const std::string& searchPath) {
    const std::optional<bool> windows = IsWindowsExecutable(workingDirectory / name);
    if (!windows) {
        return std::nullopt;
    }
    std::vector<std::string> command;
    if (*windows) {
        const std::optional<std::string> wine = FindOnSearchPath("wine", searchPath);
        if (!wine) {
            return std::nullopt;
        }
        command.push_back(*wine);
    }
    command.push_back("./" + name);
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

std::error_code StartDetached(const std::vector<std::string>& command,
                              const std::filesystem::path& workingDirectory) {
    return Spawn(command, workingDirectory, -1);
}

bool StartAndWait(const std::vector<std::string>& command,
                  const std::filesystem::path& workingDirectory, std::chrono::milliseconds limit) {
    // The program holds the write end of a pipe; it closes when the program ends.
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
        return false;
    }
    UniqueFd readEnd(ends[0]);
    UniqueFd writeEnd(ends[1]);
    if (Spawn(command, workingDirectory, writeEnd.get())) {
        return false;
    }
    writeEnd.close();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd wait{readEnd.get(), POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        char byte = 0;
        const ssize_t got = ::read(readEnd.get(), &byte, 1);
        if (got == 0) {
            return true; // every holder of the write end is gone
        }
        if (got < 0 && errno != EINTR) {
            return false;
        }
    }
}

std::error_code ReplaceProcess(const std::vector<std::string>& command,
                               const std::filesystem::path& workingDirectory) {
    if (command.empty()) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    if (::chdir(workingDirectory.c_str()) != 0) {
        return LastError();
    }
    CloseOnExecAll();
    const std::vector<char*> argv = ArgumentVector(command);
    ::execv(argv[0], argv.data());
    return LastError();
}

} // namespace kfg::platform
