#include "support/stand_in.h"
#include "support/temp_dir.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::test {

void PlaceStandIn(const std::filesystem::path& file) {
    std::filesystem::create_symlink(KFG_STAND_IN, file);
}

std::vector<StandInRun> StandInLog(const std::filesystem::path& folder) {
    static const std::regex kRun(R"(([^;]*);pid=([^;]*);fds=([^;]*);children=([^;]*);at=(\d+))");
    std::vector<StandInRun> runs;
    std::istringstream lines(ReadBytes(folder / "stand-in.log"));
    for (std::string line; std::getline(lines, line);) {
        std::smatch m; // a line without fields ("helper ended") is all command
        runs.push_back(std::regex_match(line, m, kRun)
                           ? StandInRun{m[1], m[2], m[3], m[4], std::stoll(m[5])}
                           : StandInRun{line, "", "", "", 0});
    }
    return runs;
}

StartedSignal::StartedSignal(const std::filesystem::path& folder) {
    const std::filesystem::path fifo = folder / "started";
    if (::mkfifo(fifo.c_str(), 0600) == 0) {
        fd_ = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
}

StartedSignal::~StartedSignal() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool StartedSignal::Wait(int seconds) {
    pollfd wait{fd_, POLLIN, 0};
    char byte = 0;
    return fd_ >= 0 && ::poll(&wait, 1, seconds * 1000) == 1 && ::read(fd_, &byte, 1) == 1;
}

void EndLingeringHelper(const std::filesystem::path& folder) {
    const std::string pid = ReadBytes(folder / "helper.pid");
    if (pid.empty()) {
        return;
    }
    // Only while that process is still the stand-in: a process id is soon used again.
    std::error_code error;
    const std::filesystem::path program =
        std::filesystem::read_symlink("/proc/" + pid + "/exe", error);
    if (!error && program == std::filesystem::path(KFG_STAND_IN)) {
        ::kill(std::stoi(pid), SIGKILL);
    }
}

} // namespace kfg::test
