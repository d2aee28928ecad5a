// Failed starts and settings writes (and which of several spellings of a name was taken, and a
// clean-up another process's lock kept off) reach the "kfg.launch" and "kfg.settings" logging
// categories, and only when those are on.
#include "app/launch_diagnostics.h"
#include "app/settings_diagnostics.h"
#include "support/captured_log.h"
#include "support/temp_dir.h"
#include "telvio/viewer_start.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kfg::app {
namespace {

TEST(Diagnostics, FailedStartsAndWritesAreLoggedOnlyWhenAskedFor) {
    test::TempDir dir;
    test::WriteBytes(dir / "Telvio.exe", "MZ windows program");
    test::WriteBytes(dir / "SONORA.EXE", "MZ windows program");
    test::WriteBytes(dir / "Sonora.EXE", "MZ windows program");
    test::WriteBytes(dir / "true.sh", "#!/bin/sh\n");
    ::chmod((dir / "true.sh").c_str(), 0755);
    test::WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nFarbe=1\r\n");
    ::chmod((dir / "Telvio.ini").c_str(), 0444);
    platform::SystemProgramStarter starter("/nonexistent", LaunchDiagnosticsSink());
    settings::ProfileStore store(SettingsDiagnosticsSink());
    test::CapturedLog log;
    EXPECT_TRUE(starter.HandOver(dir.path(), "Telvio.exe", {"Quick"})); // no wine: fails
    EXPECT_TRUE(store.WriteString(dir / "Telvio.ini", "Telvio", "Farbe", "2"));
    EXPECT_TRUE(log.lines.empty()); // off by default

    log.Enable("kfg.launch=true\nkfg.settings=true");
    EXPECT_TRUE(starter.HandOver(dir.path(), "Telvio.exe", {"Quick"}));
    EXPECT_TRUE(starter.RunWaited(dir.path(), telvio::SoundInitialisation()));
    // Which spelling was taken is told too; a start that works is not.
    EXPECT_TRUE(starter.Start(dir.path(), "Sonora.exe", {}));
    EXPECT_FALSE(starter.Start(dir.path(), "true.sh", {}));
    EXPECT_TRUE(store.WriteString(dir / "Telvio.ini", "Telvio", "Farbe", "3"));
    // Several spellings of one name: which was taken is told, and not as a failure.
    test::WriteBytes(dir / "kfg.ini", "");
    test::WriteBytes(dir / "KFG.INI", "");
    store.GetString(dir / "KFG.ini", "KFG", "Fr", "0", 2);
    store.GetString(dir / "KFG.ini", "KFG", "Audio", "0", 2); // told once, not at every read
    // Another process holds the folder's lock: the save goes on without the clean-up, and says
    // so.
    const int locker = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::flock(locker, LOCK_EX);
    settings::ProfileStore locked(
        SettingsDiagnosticsSink(),
        std::make_shared<platform::PosixFileSystem>([](platform::SaveStep step) {
            return step == platform::SaveStep::WaitForFolderLock
                       ? std::make_error_code(std::errc::timed_out) // no two seconds' wait
                       : std::error_code{};
        }));
    EXPECT_FALSE(locked.WriteString(dir / "Neu.ini", "KFG", "Fr", "1"));
    ::close(locker);

    const std::string in = " in " + dir.path().string() + "/";
    EXPECT_EQ(
        log.lines,
        (std::vector<std::string>{
            "kfg.launch: hand-over of Telvio.exe (wine ./Telvio.exe Quick) failed: "
            "Windows program, no wine on the search path",
            "kfg.launch: sound initialisation of rundll32.exe (wine rundll32.exe "
            "bt848dlg.dll,initialize): rundll32.exe could not be started: wine is "
            "not installed",
            "kfg.launch: look up of Sonora.exe found several files (SONORA.EXE, "
            "Sonora.EXE), using SONORA.EXE",
            "kfg.launch: start of Sonora.exe (wine ./SONORA.EXE) failed: Windows "
            "program, no wine on the search path",
            "kfg.settings: write [Telvio] Farbe" + in + "Telvio.ini failed: the file is read-only",
            "kfg.settings: look up KFG.ini: several files match (KFG.INI, "
            "kfg.ini), using KFG.INI" +
                in + "KFG.INI",
            "kfg.settings: save: another process held the folder's lock; saved "
            "without removing the leftovers of killed saves" +
                in + "Neu.ini"}));
}

} // namespace
} // namespace kfg::app
