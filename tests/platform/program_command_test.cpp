// How a program of the working folder is run, and why it cannot be.
#include "platform/failure_cause.h"
#include "platform/program_command.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kfg::platform {
namespace {

void WriteExecutable(const std::filesystem::path& file, const char* bytes) {
    test::WriteBytes(file, bytes);
    ::chmod(file.c_str(), 0755);
}

struct CommandCase {
    const char* name;
    std::string searchPath;
    std::vector<std::string> argv;
    std::error_code error = {};
};

TEST(ProgramCommand, HowEachFileRunsOrWhyItCannot) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "bin");
    WriteExecutable(dir / "bin" / "wine", "#!/bin/sh\n");
    WriteExecutable(dir / "bin" / "Tool.exe", "#!/bin/sh\n");
    WriteExecutable(dir / "wine", "#!/bin/sh\n"); // a wine in the Telvio folder never runs
    WriteExecutable(dir / "Telvio.exe", "#!/bin/sh\n");
    WriteExecutable(dir / "TELVIO.EXE", "#!/bin/sh\n"); // the exact name comes first
    test::WriteBytes(dir / "TONALIX.EXE", "MZ\x90 copied from a FAT medium");
    test::WriteBytes(dir / "Sonora.exe", "MZ\x90 windows program, any mode bits");
    test::WriteBytes(dir / "short.exe", "M");
    test::WriteBytes(dir / "mark.exe", "MA: an M alone makes no Windows program");
    std::filesystem::create_directory(dir / "Tonalix.exe");
    const std::string bin = (dir / "bin").string();
    const std::error_code missing = make_error_code(FailureCause::FileMissing);
    const std::error_code noWine = make_error_code(FailureCause::WineMissing);
    const CommandCase cases[] = {
        {.name = "Telvio.exe", .searchPath = bin, .argv = {"./Telvio.exe", "Quick"}},
        {.name = "Sonora.exe", .searchPath = bin, .argv = {bin + "/wine", "./Sonora.exe", "Quick"}},
        {.name = "Sonora.exe",
         .searchPath = "/nonexistent:" + bin,
         .argv = {bin + "/wine", "./Sonora.exe", "Quick"}},
        {.name = "short.exe", .searchPath = bin, .argv = {"./short.exe", "Quick"}},
        {.name = "mark.exe", .searchPath = bin, .argv = {"./mark.exe", "Quick"}},
        {.name = "Sonora.exe",
         .searchPath = "/nonexistent",
         .argv = {"wine", "./Sonora.exe", "Quick"},
         .error = noWine},
        {.name = "Sonora.exe",
         .searchPath = ".:bin::",
         .argv = {"wine", "./Sonora.exe", "Quick"},
         .error = noWine},
        {.name = "Missing.exe",
         .searchPath = bin,
         .argv = {"./Missing.exe", "Quick"},
         .error = missing},
        // A folder of that name.
        {.name = "Tonalix.exe",
         .searchPath = bin,
         .argv = {"./Tonalix.exe", "Quick"},
         .error = missing},
        // Never from the search path.
        {.name = "Tool.exe", .searchPath = bin, .argv = {"./Tool.exe", "Quick"}, .error = missing},
        {.name = "Tonalix.EXE",
         .searchPath = bin,
         .argv = {bin + "/wine", "./TONALIX.EXE", "Quick"}},
        // Of two spellings, the first in byte order.
        {.name = "telvio.exe", .searchPath = bin, .argv = {"./TELVIO.EXE", "Quick"}},
    };
    // In the working folder, as KFG runs, so that relative search path entries would find
    // its files.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " on " + c.searchPath);
        const ProgramCommand command = CommandFor(dir.path(), c.name, {"Quick"}, c.searchPath);
        EXPECT_EQ(command.argv, c.argv);
        EXPECT_EQ(command.error, c.error);
        EXPECT_EQ(command.throughWine, c.argv.front().ends_with("wine"));
    }
    std::filesystem::current_path(before);
}

TEST(ProgramCommand, UnreadableFileIsTold) {
    if (!test::CanSwitchUsers()) {
        GTEST_SKIP() << "needs root to become another user";
    }
    test::TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    WriteExecutable(dir / "Telvio.exe", "MZ windows program");
    ::chmod((dir / "Telvio.exe").c_str(), 0311); // runnable, not readable
    const int cause = test::RunAsUser({65534, 65534, {}}, [&] {
        return CommandFor(dir.path(), "Telvio.exe", {"Quick"}, "/usr/bin").error.value();
    });
    EXPECT_EQ(cause, static_cast<int>(FailureCause::FileNotReadable));
}

} // namespace
} // namespace kfg::platform
