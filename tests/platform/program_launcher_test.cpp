// Starting programs for real, with the suite's stand-in: how a wait and a failed start end,
// and the hand-over. What started programs inherit, and that wine's server is not waited for,
// is checked end to end with the start button (app/start_command_test.cpp).
#include "platform/failure_cause.h"
#include "platform/program_launcher.h"
#include "platform/program_starter.h"
#include "support/child_process.h"
#include "support/stand_in.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kfg::platform {
namespace {

using namespace std::chrono_literals;

bool NoChildLeft() {
    errno = 0;
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

struct WaitCase {
    std::vector<std::string> command;
    std::chrono::milliseconds limit;
    std::string told; // the message of the error returned
};

TEST(ProgramLauncher, WaitTellsWhyTheProgramDidNotRunOrHowItEnded) {
    test::TempDir dir;
    test::PlaceStandIn(dir / "Sonora.exe");
    test::WriteBytes(dir / "exit-status", "3");
    test::WriteBytes(dir / "plain.exe", "#!/bin/sh\n"); // no execute permission
    const WaitCase cases[] = {
        {.command = {"./Sonora.exe"}, .limit = 5s, .told = "ended with exit status 3"},
        {.command = {"./plain.exe"}, .limit = 5s, .told = std::generic_category().message(EACCES)},
        {.command = {"./missing.exe"},
         .limit = 5s,
         .told = std::generic_category().message(ENOENT)},
        {.command = {"/bin/sleep", "2"},
         .limit = 100ms,
         .told = std::make_error_code(std::errc::timed_out).message()},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(c.command.front());
        EXPECT_EQ(StartAndWait(c.command, dir.path(), c.limit).message(), c.told);
    }
    EXPECT_TRUE(NoChildLeft());
}

TEST(ProgramLauncher, HandOverKeepsTheProcess) {
    test::TempDir dir;
    test::PlaceStandIn(dir / "Telvio.exe");
    const int status = test::RunInChild([&] {
        test::WriteBytes(dir / "pid", std::to_string(::getpid()));
        // A missing program returns, and the process goes on to the real hand-over.
        if (ReplaceProcess({"./missing.exe", "Quick"}, dir.path()).value() != ENOENT) {
            return 98;
        }
        (void)ReplaceProcess({"./Telvio.exe", "Quick"}, dir.path()); // returns only on failure
        return 99;
    });
    EXPECT_EQ(status, 0);
    const auto log = test::StandInLog(dir.path());
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].command, "Telvio.exe Quick");
    EXPECT_EQ(log[0].pid, test::ReadBytes(dir / "pid")); // the same process
}

// A file found and read that the system will not run: no execute permission, or no
// interpreter for its first line.
TEST(SystemProgramStarter, FailedExecIsToldAsNotExecutable) {
    test::TempDir dir;
    test::WriteBytes(dir / "plain.exe", "#!/bin/sh\n");
    test::WriteBytes(dir / "noshell.exe", "#!/nonexistent/sh\n");
    ::chmod((dir / "noshell.exe").c_str(), 0755);
    SystemProgramStarter starter("/nonexistent");
    for (const char* program : {"plain.exe", "noshell.exe"}) {
        EXPECT_EQ(starter.Start(dir.path(), program, {}),
                  make_error_code(FailureCause::NotExecutable))
            << program;
    }
    EXPECT_TRUE(NoChildLeft());
}

} // namespace
} // namespace kfg::platform
