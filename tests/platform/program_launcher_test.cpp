// Starting programs of the working directory: the command, no zombies, the hand-over.
#include "platform/program_launcher.h"
#include "support/temp_dir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kfg::platform {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// A program that appends its process id and arguments to "log" in its folder.
void WriteLoggingScript(const std::filesystem::path& file, const char* extra = "") {
    WriteBytes(file, std::string("#!/bin/sh\ncd \"$(dirname \"$0\")\"\n") + extra +
                         "echo \"$$ $*\" >> log\n");
    ::chmod(file.c_str(), 0755);
}

std::string WaitForLog(const std::filesystem::path& log) {
    for (int i = 0; i < 1000 && ReadBytes(log).empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // another process writes it
    }
    return ReadBytes(log);
}

TEST(ProgramLauncher, CommandsForNativeAndWindowsPrograms) {
    TempDir dir;
    std::filesystem::create_directory(dir / "bin");
    WriteLoggingScript(dir / "bin" / "wine");
    WriteLoggingScript(dir / "Telvio.exe");
    WriteBytes(dir / "Sonora.exe", "MZ\x90\x00 windows program");
    const std::string searchPath = (dir / "bin").string();

    EXPECT_EQ(CommandFor(dir.path(), "Telvio.exe", {"Quick"}, searchPath),
              (std::vector<std::string>{"./Telvio.exe", "Quick"}));
    EXPECT_EQ(CommandFor(dir.path(), "Sonora.exe", {}, searchPath),
              (std::vector<std::string>{(dir / "bin" / "wine").string(), "./Sonora.exe"}));
    EXPECT_FALSE(CommandFor(dir.path(), "Sonora.exe", {}, "/nonexistent").has_value()); // no wine
    EXPECT_FALSE(CommandFor(dir.path(), "Tonalix.exe", {}, searchPath).has_value());    // missing
    // The program itself is never looked for on the search path.
    EXPECT_FALSE(CommandFor(dir.path(), "wine", {}, searchPath).has_value());
}

TEST(ProgramLauncher, StartedProgramsGetTheirArgumentsAndLeaveNoZombie) {
    TempDir dir;
    WriteLoggingScript(dir / "Tonalix.exe");
    ASSERT_FALSE(StartDetached({"./Tonalix.exe", "a b", "c"}, dir.path()));
    const std::string log = WaitForLog(dir / "log");
    EXPECT_NE(log.find(" a b c\n"), std::string::npos) << log;
    // The intermediate child is reaped and the program is not ours: nothing to wait for.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(ProgramLauncher, FailedExecIsReported) {
    TempDir dir;
    WriteBytes(dir / "plain.exe", "#!/bin/sh\n"); // no execute permission
    EXPECT_TRUE(StartDetached({"./plain.exe"}, dir.path()));
    EXPECT_TRUE(StartDetached({"./missing.exe"}, dir.path()));
}

TEST(ProgramLauncher, WaitsForTheEndButNotLongerThanTheLimit) {
    TempDir dir;
    WriteLoggingScript(dir / "quick.exe");
    WriteLoggingScript(dir / "slow.exe", "sleep 3\n");
    EXPECT_TRUE(StartAndWait({"./quick.exe"}, dir.path(), std::chrono::seconds(5)));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(StartAndWait({"./slow.exe"}, dir.path(), std::chrono::milliseconds(200)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(ProgramLauncher, HandOverKeepsTheProcessAndPassesQuick) {
    TempDir dir;
    WriteLoggingScript(dir / "Telvio.exe");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A missing program returns, and the process goes on to the real hand-over.
        if (!ReplaceProcess({"./missing.exe", "Quick"}, dir.path())) {
            ::_exit(98);
        }
        ReplaceProcess({"./Telvio.exe", "Quick"}, dir.path());
        ::_exit(99); // only when the hand-over failed
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadBytes(dir / "log"), std::to_string(child) + " Quick\n"); // same process
}

} // namespace
} // namespace kfg::platform
