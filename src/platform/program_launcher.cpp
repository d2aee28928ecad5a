#include "platform/program_launcher.h"

#include "platform/failure_cause.h"
#include "platform/last_error.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

using Clock = std::chrono::steady_clock;

struct Pipe {
    UniqueFd read;
    UniqueFd write;
};

std::error_code OpenPipe(Pipe& pipe) {
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
        return LastError();
    }
    pipe.read = UniqueFd(ends[0]);
    pipe.write = UniqueFd(ends[1]);
    return {};
}

// What follows runs between fork and exec (or in a child that never execs): no allocation,
// no locks, only system calls.

// Calls `act(fd)` for every open descriptor above the standard ones.
template <class Act>
void ForEachDescriptorAboveStandard(Act act) {
    const int folder = ::open("/proc/self/fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        return;
    }
    alignas(dirent64) std::array<char, 4096> buffer;
    for (;;) {
        const long got = ::syscall(SYS_getdents64, folder, buffer.data(), buffer.size());
        if (got <= 0) {
            break;
        }
        for (long at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + at);
            at += entry->d_reclen;
            int fd = 0;
            bool number = entry->d_name[0] != '\0';
            for (const char* c = entry->d_name; *c != '\0' && number; ++c) {
                number = *c >= '0' && *c <= '9';
                fd = fd * 10 + (*c - '0');
            }
            if (number && fd > 2 && fd != folder) {
                act(fd);
            }
        }
    }
    ::close(folder);
}

// Marks every descriptor above the standard ones close-on-exec.
void CloseOnExecAll() {
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        ForEachDescriptorAboveStandard([](int fd) { ::fcntl(fd, F_SETFD, FD_CLOEXEC); });
    }
}

// Closes every descriptor above the standard ones except `keepA` and `keepB`.
void CloseAllBut(int keepA, int keepB) {
    const std::array<unsigned, 2> keep{static_cast<unsigned>(std::min(keepA, keepB)),
                                       static_cast<unsigned>(std::max(keepA, keepB))};
    unsigned from = 3;
    bool closed = true;
    for (const unsigned kept : keep) {
        if (kept > from) {
            closed = closed && ::close_range(from, kept - 1, 0) == 0;
        }
        from = std::max(from, kept + 1);
    }
    closed = closed && ::close_range(from, ~0U, 0) == 0;
    if (!closed) {
        ForEachDescriptorAboveStandard([keepA, keepB](int fd) {
            if (fd != keepA && fd != keepB) {
                ::close(fd);
            }
        });
    }
}

void WriteAll(int fd, const void* data, std::size_t size) {
    ssize_t written = 0;
    do {
        written = ::write(fd, data, size);
    } while (written < 0 && errno == EINTR);
}

// Runs the program in this child; reports a failed exec (errno) through `report`, which is
// close-on-exec, so a successful exec closes it silently.
[[noreturn]] void ExecProgram(char* const* argv, const char* folder, int report) {
    CloseOnExecAll();
    int error = 0;
    if (::chdir(folder) != 0) {
        error = errno;
    } else {
        ::execv(argv[0], argv);
        error = errno;
    }
    WriteAll(report, &error, sizeof error);
    ::_exit(127);
}

// The waiter: a copy of our process that keeps only the two pipes, runs the program as its
// child and writes the program's wait status into `done` when it ends. It is the only holder
// of `done`'s write end: the program gets it close-on-exec, so a server the program leaves
// behind does not keep the pipe open.
[[noreturn]] void RunWaiter(char* const* argv, const char* folder, int report, int done) {
    CloseAllBut(report, done);
    const pid_t program = ::fork();
    if (program == 0) {
        ExecProgram(argv, folder, report);
    }
    if (program < 0) {
        const int error = errno;
        WriteAll(report, &error, sizeof error);
        ::_exit(1);
    }
    ::close(report);
    int status = 0;
    while (::waitpid(program, &status, 0) < 0) {
        if (errno != EINTR) {
            ::_exit(1);
        }
    }
    WriteAll(done, &status, sizeof status);
    ::_exit(0);
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

// Reaps the intermediate child; false when it could not fork.
bool Reap(pid_t intermediate) {
    int status = 0;
    while (::waitpid(intermediate, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The errno of a failed exec, or nothing once the program runs (every write end is gone).
std::error_code ReadExecReport(int fd) {
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(fd, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    return got == sizeof error ? std::error_code(error, std::generic_category())
                               : std::error_code{};
}

// Runs `grandchild` (which never returns) in a grandchild behind an intermediate child that
// exits at once, so the program is never a zombie of ours. Our copies of `writeEnds` are closed
// before the report is read, or the read would wait for ourselves. The result: the errno of a
// failed exec read from `report`, or nothing once the program runs.
template <class Grandchild>
std::error_code StartThroughIntermediate(Grandchild grandchild,
                                         std::initializer_list<UniqueFd*> writeEnds, int report) {
    const pid_t intermediate = ::fork();
    if (intermediate < 0) {
        return LastError();
    }
    if (intermediate == 0) {
        const pid_t program = ::fork();
        if (program == 0) {
            grandchild();
        }
        ::_exit(program < 0 ? 1 : 0);
    }
    for (UniqueFd* end : writeEnds) {
        end->close();
    }
    if (!Reap(intermediate)) {
        return std::make_error_code(std::errc::resource_unavailable_try_again);
    }
    return ReadExecReport(report);
}

// Waits for the waiter's report and the end of the pipe.
std::error_code WaitForEnd(int fd, Clock::time_point deadline) {
    std::array<char, sizeof(int)> status{};
    std::size_t have = 0;
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return std::make_error_code(std::errc::timed_out);
        }
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            return LastError();
        }
        if (ready == 0) {
            return std::make_error_code(std::errc::timed_out);
        }
        std::array<char, sizeof(int)> bytes{};
        const ssize_t got = ::read(fd, bytes.data(), bytes.size());
        if (got < 0 && errno != EINTR) {
            return LastError();
        }
        if (got == 0) {
            int value = 0;
            std::memcpy(&value, status.data(), sizeof value);
            // A waiter that died before it could tell counts as ended.
            return have == status.size() && value != 0
                       ? std::error_code(value, ExitStatusCategory())
                       : std::error_code{};
        }
        for (ssize_t i = 0; i < got && have < status.size(); ++i) {
            status[have++] = bytes[static_cast<std::size_t>(i)];
        }
    }
}

} // namespace

std::error_code StartDetached(const std::vector<std::string>& command,
                              const std::filesystem::path& workingDirectory) {
    if (command.empty()) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    Pipe report;
    if (const std::error_code error = OpenPipe(report)) {
        return error;
    }
    const std::vector<char*> argv = ArgumentVector(command);
    return StartThroughIntermediate(
        [&] { ExecProgram(argv.data(), workingDirectory.c_str(), report.write.get()); },
        {&report.write}, report.read.get());
}

std::error_code StartAndWait(const std::vector<std::string>& command,
                             const std::filesystem::path& workingDirectory,
                             std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    if (command.empty()) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    Pipe report;
    Pipe done;
    std::error_code opened = OpenPipe(report);
    if (!opened) {
        opened = OpenPipe(done);
    }
    if (opened) {
        return opened;
    }
    const std::vector<char*> argv = ArgumentVector(command);
    if (const std::error_code error = StartThroughIntermediate(
            [&] {
                RunWaiter(argv.data(), workingDirectory.c_str(), report.write.get(),
                          done.write.get());
            },
            {&report.write, &done.write}, report.read.get())) {
        return error;
    }
    return WaitForEnd(done.read.get(), deadline);
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
