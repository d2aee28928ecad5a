// Starting programs for real, with the suite's stand-in: what they get, what is waited for,
// the hand-over, and the starter KFG uses.
#include "platform/failure_cause.h"
#include "platform/program_launcher.h"
#include "platform/program_starter.h"
#include "support/stand_in.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

using namespace std::chrono_literals;
using test::PlaceStandIn;
using test::StandInCommands;
using test::StandInLog;
using test::TempDir;
using test::WriteBytes;

// A descriptor of ours that is not close-on-exec, as a library might leave one: a started
// program must not get it.
class StrayDescriptor {
public:
    StrayDescriptor()
        : fd_(::open("/dev/null", O_RDONLY)) {}
    ~StrayDescriptor() { ::close(fd_); }
    StrayDescriptor(const StrayDescriptor&) = delete;
    StrayDescriptor& operator=(const StrayDescriptor&) = delete;

private:
    int fd_;
};

bool NoChildLeft() {
    errno = 0;
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TEST(ProgramLauncher, StartedProgramGetsItsArgumentsAndNothingElse) {
    TempDir dir;
    PlaceStandIn(dir / "Tonalix.exe");
    const StrayDescriptor stray;
    test::StartedSignal started(dir.path());
    ASSERT_FALSE(StartDetached({"./Tonalix.exe", "a b", "c"}, dir.path()));
    EXPECT_TRUE(NoChildLeft());
    ASSERT_TRUE(started.Wait());
    const auto log = StandInLog(dir.path());
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].command, "Tonalix.exe a b c");
    EXPECT_EQ(log[0].fds, "0,1,2");
}

TEST(ProgramLauncher, FailedExecIsReported) {
    TempDir dir;
    WriteBytes(dir / "plain.exe", "#!/bin/sh\n"); // no execute permission
    for (const auto& [program, error] :
         {std::pair{"./plain.exe", EACCES}, std::pair{"./missing.exe", ENOENT}}) {
        SCOPED_TRACE(program);
        EXPECT_EQ(StartDetached({program}, dir.path()).value(), error);
        EXPECT_EQ(StartAndWait({program}, dir.path(), 5s).value(), error);
    }
    EXPECT_TRUE(NoChildLeft());
}

TEST(ProgramLauncher, WaitsForTheProgramNotForWhatItLeavesBehind) {
    TempDir dir;
    PlaceStandIn(dir / "wine");
    WriteBytes(dir / "linger", "4"); // the helper stays on, as wine's server does
    const StrayDescriptor stray;
    const std::error_code ended =
        StartAndWait({"./wine", "rundll32.exe", "bt848dlg.dll,initialize"}, dir.path(), 5s);
    const auto log = StandInLog(dir.path());
    test::EndLingeringHelper(dir.path());
    EXPECT_FALSE(ended) << ended.message();
    ASSERT_EQ(log.size(), 1u) << "waited for the helper";
    EXPECT_EQ(log[0].command, "wine rundll32.exe bt848dlg.dll,initialize");
    EXPECT_EQ(log[0].fds, "0,1,2");
    EXPECT_TRUE(NoChildLeft());
}

TEST(ProgramLauncher, WaitTellsHowTheProgramEnded) {
    TempDir dir;
    PlaceStandIn(dir / "Sonora.exe");
    WriteBytes(dir / "exit-status", "3");
    const std::error_code failed = StartAndWait({"./Sonora.exe"}, dir.path(), 5s);
    EXPECT_EQ(failed.category(), ExitStatusCategory());
    EXPECT_EQ(failed.message(), "ended with exit status 3");

    WriteBytes(dir / "slow.exe", "#!/bin/sh\nexec sleep 2 </dev/null >/dev/null 2>&1\n");
    ::chmod((dir / "slow.exe").c_str(), 0755);
    EXPECT_EQ(StartAndWait({"./slow.exe"}, dir.path(), 100ms), std::errc::timed_out);
    EXPECT_TRUE(NoChildLeft());
}

TEST(ProgramLauncher, HandOverKeepsTheProcessAndNothingElse) {
    TempDir dir;
    PlaceStandIn(dir / "Telvio.exe");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        [[maybe_unused]] const int stray = ::open("/dev/null", O_RDONLY); // not close-on-exec
        // A missing program returns, and the process goes on to the real hand-over.
        if (ReplaceProcess({"./missing.exe", "Quick"}, dir.path()).value() != ENOENT) {
            ::_exit(98);
        }
        (void)ReplaceProcess({"./Telvio.exe", "Quick"}, dir.path()); // returns only on failure
        ::_exit(99); // only when the hand-over failed
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const auto log = StandInLog(dir.path());
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].command, "Telvio.exe Quick");
    EXPECT_EQ(log[0].pid, std::to_string(child)); // the same process
    EXPECT_EQ(log[0].fds, "0,1,2");
}

TEST(SystemProgramStarter, WindowsProgramsRunThroughWineFromTheSearchPath) {
    TempDir dir;
    std::filesystem::create_directory(dir / "bin");
    PlaceStandIn(dir / "bin" / "wine");
    WriteBytes(dir / "Sonora.exe", "MZ windows program");
    WriteBytes(dir / "Telvio.exe", "MZ windows program");
    std::vector<LaunchFailure> failures;
    SystemProgramStarter starter(
        (dir / "bin").string(), [&](const LaunchFailure& failure) { failures.push_back(failure); });
    test::StartedSignal started(dir.path());
    EXPECT_FALSE(starter.Start(dir.path(), "Sonora.exe", {}));
    ASSERT_TRUE(started.Wait());
    EXPECT_FALSE(starter.RunSoundInitialisation(dir.path()));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        (void)starter.HandOver(dir.path(), "Telvio.exe", {"Quick"}); // returns only on failure
        ::_exit(99);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(
        StandInCommands(dir.path()),
        (std::vector<std::string>{"wine ./Sonora.exe", "wine rundll32.exe bt848dlg.dll,initialize",
                                  "wine ./Telvio.exe Quick"}));
    EXPECT_TRUE(failures.empty());
}

struct FailedStartCase {
    const char* program;
    std::error_code error;
    std::vector<std::string> commandLine;
};

TEST(SystemProgramStarter, FailuresAreToldWithTheirCauseAndReported) {
    TempDir dir;
    WriteBytes(dir / "Sonora.exe", "MZ windows program");
    WriteBytes(dir / "plain.exe", "#!/bin/sh\n");
    WriteBytes(dir / "noshell.exe", "#!/nonexistent/sh\n");
    ::chmod((dir / "noshell.exe").c_str(), 0755);
    const FailedStartCase cases[] = {
        {"Missing.exe", make_error_code(FailureCause::FileMissing), {"./Missing.exe"}},
        {"Sonora.exe", make_error_code(FailureCause::WineMissing), {"wine", "./Sonora.exe"}},
        {"plain.exe", make_error_code(FailureCause::NotExecutable), {"./plain.exe"}},
        {"noshell.exe", make_error_code(FailureCause::NotExecutable), {"./noshell.exe"}},
    };
    for (const FailedStartCase& c : cases) {
        SCOPED_TRACE(c.program);
        std::vector<LaunchFailure> failures;
        SystemProgramStarter starter(
            "/nonexistent", [&](const LaunchFailure& failure) { failures.push_back(failure); });
        EXPECT_EQ(starter.Start(dir.path(), c.program, {}), c.error);
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_STREQ(failures[0].step, "start");
        EXPECT_EQ(failures[0].program, c.program);
        EXPECT_EQ(failures[0].commandLine, c.commandLine);
        EXPECT_EQ(failures[0].error, c.error);
    }
}

} // namespace
} // namespace kfg::platform
