#pragma once

// The stand-in program the suite builds (support/stand_in.cpp), and what it logs.

#include <filesystem>
#include <string>
#include <vector>

namespace kfg::test {

// Places the stand-in at `file` (a symbolic link, so it runs as a native program).
void PlaceStandIn(const std::filesystem::path& file);

// One line of "stand-in.log": "<name> <arguments>;pid=..;fds=..;children=..;at=..".
struct StandInRun {
    std::string command; // "<name> <arguments>"
    std::string pid;
    std::string fds;
    std::string children;
    long long at = 0; // started, monotonic nanoseconds
};
std::vector<StandInRun> StandInLog(const std::filesystem::path& folder);

// A FIFO "started" in `folder` that the stand-in writes a byte into once it has logged.
class StartedSignal {
public:
    explicit StartedSignal(const std::filesystem::path& folder);
    ~StartedSignal();
    StartedSignal(const StartedSignal&) = delete;
    StartedSignal& operator=(const StartedSignal&) = delete;
    // Waits for the stand-in's byte; false when none came within `seconds` (a safety net
    // against a hanging test, not a measurement).
    bool Wait(int seconds = 30);

private:
    int fd_ = -1;
};

// Ends a helper a wine stand-in left behind ("helper.pid"), if any.
void EndLingeringHelper(const std::filesystem::path& folder);

} // namespace kfg::test
