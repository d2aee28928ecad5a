// A stand-in for the programs KFG starts (Telvio, the decoders, wine). It appends one line to
// "stand-in.log" in its working folder:
//   <name> <arguments>;pid=<pid>;fds=<open descriptors>;children=<child processes>;at=<ns>
// (at: when it started, on the monotonic clock, for measurements).
// Run as "wine rundll32.exe ..." in a folder with a file "linger", it leaves a helper behind as
// wine's server does: the helper keeps every descriptor the stand-in had but the standard ones,
// lingers for the seconds written in "linger", then logs "helper ended"; its process id is in
// "helper.pid". The file "exit-status" sets the
// stand-in's exit status, "exit-signal" a signal it ends by instead, and "run-seconds" how long
// it runs first (its standard descriptors closed, so it holds up no test's output). When a FIFO
// "started" exists and a reader waits on it, the stand-in writes one byte into it after logging, so
// a test can wait without polling.
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

int NumberInFile(const char* file, int fallback) {
    std::ifstream in(file);
    int value = fallback;
    return in >> value ? value : fallback;
}

std::string OpenDescriptors() {
    std::string list;
    DIR* folder = ::opendir("/proc/self/fd");
    if (folder == nullptr) {
        return "?";
    }
    const int own = ::dirfd(folder);
    while (const dirent* entry = ::readdir(folder)) {
        if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == own) {
            continue;
        }
        list += (list.empty() ? "" : ",") + std::string(entry->d_name);
    }
    ::closedir(folder);
    return list;
}

// A process that outlives its test's wait must not hold up the test's output.
void SilenceStandardDescriptors() {
    const int null = ::open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2; ++fd) {
        ::dup2(null, fd);
    }
}

void Log(const std::string& line) {
    std::ofstream("stand-in.log", std::ios::app) << line << '\n';
}

// A FIFO without a reader, or no "started" at all, fails the open: nothing is written.
void SignalStarted() {
    const int fd = ::open("started", O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(fd, "x", 1);
        ::close(fd);
    }
}

} // namespace

int main(int argc, char** argv) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::string name = argv[0];
    name = name.substr(name.rfind('/') + 1);
    std::ostringstream line;
    line << name;
    for (int i = 1; i < argc; ++i) {
        line << ' ' << argv[i];
    }
    std::string children; // "" when there are none
    std::getline(std::ifstream("/proc/self/task/" + std::to_string(::getpid()) + "/children"),
                 children);
    line << ";pid=" << ::getpid() << ";fds=" << OpenDescriptors() << ";children=" << children
         << ";at=" << now.tv_sec * 1'000'000'000LL + now.tv_nsec;
    Log(line.str());

    const int linger = NumberInFile("linger", -1);
    if (name == "wine" && argc > 1 && std::string(argv[1]) == "rundll32.exe" && linger >= 0) {
        const pid_t helper = ::fork();
        if (helper == 0) {
            SilenceStandardDescriptors(); // keeps every other descriptor
            std::this_thread::sleep_for(std::chrono::seconds(linger));
            Log("helper ended");
            ::_exit(0);
        }
        std::ofstream("helper.pid") << helper;
    }
    SignalStarted();
    if (const int seconds = NumberInFile("run-seconds", 0); seconds > 0) {
        SilenceStandardDescriptors();
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
    }
    if (const int signal = NumberInFile("exit-signal", 0); signal > 0) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
    return NumberInFile("exit-status", 0);
}
