// What the profile store does to files on disk: atomic replacement, permissions, links,
// other programs' edits, gathering, and files it must not or cannot edit.
#include "platform/failure_cause.h"
#include "settings/profile_error.h"
#include "settings/profile_store.h"
#include "support/counting_file_system.h"
#include "support/file_mode.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kfg::settings {
namespace {

using platform::SaveStep;

// Every step of a save but `failing` succeeds; that one finds the disk full.
platform::StepHook FailAt(SaveStep failing) {
    return [failing](SaveStep step) {
        return step == failing ? std::make_error_code(std::errc::no_space_on_device)
                               : std::error_code{};
    };
}

struct Fixture {
    explicit Fixture(platform::StepHook hook = {})
        : fs(std::make_shared<test::CountingFileSystem>(std::move(hook))) {}

    test::TempDir dir;
    std::filesystem::path file = dir / "Telvio.ini";
    std::shared_ptr<test::CountingFileSystem> fs;
    std::vector<ProfileFailure> failures;
    ProfileStore store{[this](const ProfileFailure& f) { failures.push_back(f); }, fs};
};

TEST(ProfileFiles, AFailingSaveStepLeavesTheOldFileWhole) {
    const std::string old = "[Telvio]\r\nFarbe=1\r\n; mine\r\n";
    for (const SaveStep step :
         {SaveStep::ResolveTarget, SaveStep::CreateUnnamedTemporary, SaveStep::WriteContents,
          SaveStep::CopyPermissions, SaveStep::FlushContents, SaveStep::LinkTemporary,
          SaveStep::CloseTemporary, SaveStep::RenameOverTarget}) {
        SCOPED_TRACE(static_cast<int>(step));
        Fixture f(FailAt(step));
        test::WriteBytes(f.file, old);
        EXPECT_EQ(f.store.WriteString(f.file, "Telvio", "Farbe", "9"),
                  std::errc::no_space_on_device);
        const std::map<std::string, std::string> untouched{{f.file.string(), old}}; // no leftovers
        EXPECT_EQ(test::FolderBytes(f.dir.path()), untouched);
        ASSERT_EQ(f.failures.size(), 1u);
        EXPECT_EQ(f.failures[0].file, f.file);
        // The failed value must not look saved to later reads.
        EXPECT_EQ(f.store.GetString(f.file, "Telvio", "Farbe", "", 20), "1");
    }
}

TEST(ProfileFiles, FileNamesIgnoreLetterCaseAsUnderWine) {
    Fixture f;
    test::WriteBytes(f.dir / "TELVIO.INI", "[Telvio]\r\nFarbe=1\r\n");
    EXPECT_EQ(f.store.GetInt(f.file, "Telvio", "Farbe", 0), 1u);
    ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "2"));
    // A file that is not there yet gets the spelling it was asked for.
    ASSERT_FALSE(f.store.WriteString(f.dir / "KFG.ini", "KFG", "Fr", "1"));
    const std::map<std::string, std::string> expected{
        {(f.dir / "KFG.ini").string(), "[KFG]\r\nFr=1\r\n"},
        {(f.dir / "TELVIO.INI").string(), "[Telvio]\r\nFarbe=2\r\n"}};
    EXPECT_EQ(test::FolderBytes(f.dir.path()), expected);
    EXPECT_TRUE(f.failures.empty());
}

// What a command needs to tell its user which files it could not save, and why.
TEST(ProfileFiles, CollectorKeepsEachFailureWithTheNameOnDiskAndItsCause) {
    Fixture f(FailAt(SaveStep::WriteContents));
    const test::TempDir& dir = f.dir;
    test::WriteBytes(dir / "TELVIO.INI", "[Telvio]\r\nFarbe=1\r\n");
    ::chmod((dir / "TELVIO.INI").c_str(), 0444);
    std::filesystem::create_directory(dir / "KFG.ini");
    {
        const auto outer = f.store.CollectFailures();
        {
            const auto inner = f.store.CollectFailures();
            auto gathered = f.store.Gather();
            // Gathered: the failures come when the scope ends, into the collectors.
            (void)f.store.WriteString(dir / "Telvio.ini", "Telvio", "Farbe", "2");
            (void)f.store.WriteString(dir / "Telvio.ini", "Telvio", "Tuner", "2");
            (void)f.store.WriteString(dir / "KFG.ini", "KFG", "Fr", "1");
            (void)f.store.WriteString(dir / "Neu.ini", "KFG", "Fr", "1");
        }
        test::WriteBytes(dir / "sonst.ini", "");
        test::WriteBytes(dir / "SONST.INI", "");
        f.store.GetString(dir / "Sonst.ini", "KFG", "Fr", "", 2); // a notice, not a failure
        using platform::FailureCause;
        struct Expected {
            std::filesystem::path file;
            std::error_code cause;
        };
        const Expected expected[] = {
            {.file = dir / "TELVIO.INI", .cause = FailureCause::NoWritePermission},
            {.file = dir / "KFG.ini", .cause = ProfileErrc::NotRegularFile}, // in its own words
            {.file = dir / "Neu.ini", .cause = FailureCause::DiskFull},
        };
        EXPECT_EQ(outer.Failures().size(), std::size(expected) + 1);
        const std::vector<ProfileFailure> perFile = outer.FirstPerFile();
        ASSERT_EQ(perFile.size(), std::size(expected));
        for (std::size_t i = 0; i < std::size(expected); ++i) {
            EXPECT_EQ(perFile[i].file, expected[i].file);
            EXPECT_EQ(platform::SortWriteFailure(perFile[i].error), expected[i].cause)
                << perFile[i].error.message();
        }
    }
    EXPECT_TRUE(f.store.WriteString(dir / "Telvio.ini", "Telvio", "Farbe", "3")); // the sink only
    EXPECT_EQ(f.failures.size(), 6u);
}

// Gathered writes are read back at once and reach the disk in one replacement, at a flush
// or when the scope ends; writes that give the bytes back write nothing.
TEST(ProfileFiles, GatheredWritesReplaceOnceAndAreReadableAtOnce) {
    Fixture f;
    test::WriteBytes(f.file, "[Telvio]\r\nFarbe=1\r\n");
    {
        auto scope = f.store.Gather();
        for (int slot = 0; slot < 40; ++slot) {
            EXPECT_FALSE(f.store.WriteString(f.file, "Telvio", "Speicher" + std::to_string(slot),
                                             std::to_string(slot + 100)));
        }
        EXPECT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "2"));
        EXPECT_EQ(f.store.GetInt(f.file, "Telvio", "Speicher39", 0), 139u);
        EXPECT_EQ(test::ReadBytes(f.file), "[Telvio]\r\nFarbe=1\r\n"); // nothing on disk yet
        EXPECT_EQ(f.fs->replacements, 0);
        EXPECT_FALSE(f.store.Flush());
        EXPECT_EQ(f.fs->replacements, 1);
        EXPECT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "3"));
        EXPECT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "2"));
    }
    EXPECT_EQ(f.fs->replacements, 1);
    ProfileStore fresh;
    EXPECT_EQ(fresh.GetInt(f.file, "Telvio", "Speicher0", 0), 100u);
    EXPECT_EQ(fresh.GetInt(f.file, "Telvio", "Farbe", 0), 2u);
}

// A replaced file keeps its mode; a new one follows the umask.
TEST(ProfileFiles, PermissionsKeptOrFromTheUmask) {
    Fixture f;
    test::WriteBytes(f.file, "[Telvio]\n");
    ::chmod(f.file.c_str(), 0604);
    ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "1"));
    EXPECT_EQ(test::ModeOf(f.file), 0604u);
    const mode_t old = ::umask(027);
    const std::error_code error = f.store.WriteString(f.dir / "KFG.ini", "KFG", "Fr", "1");
    ::umask(old);
    ASSERT_FALSE(error);
    EXPECT_EQ(test::ModeOf(f.dir / "KFG.ini"), 0640u);
}

// Links are followed to the file, which is replaced or created; the links stay.
TEST(ProfileFiles, SymbolicLinksAreWrittenThrough) {
    Fixture f;
    std::filesystem::create_directory(f.dir / "real");
    test::WriteBytes(f.dir / "real" / "Telvio.ini", "[Telvio]\n");
    std::filesystem::create_symlink("real/Telvio.ini", f.dir / "hop");
    std::filesystem::create_symlink("hop", f.file); // a chain of two relative links
    std::filesystem::create_symlink("target.ini", f.dir / "KFG.ini"); // dangling

    ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "1"));
    ASSERT_FALSE(f.store.WriteString(f.dir / "KFG.ini", "KFG", "Fr", "0"));

    EXPECT_TRUE(std::filesystem::is_symlink(f.file));
    EXPECT_TRUE(std::filesystem::is_symlink(f.dir / "hop"));
    EXPECT_TRUE(std::filesystem::is_symlink(f.dir / "KFG.ini"));
    EXPECT_EQ(test::ReadBytes(f.dir / "real" / "Telvio.ini"), "[Telvio]\nFarbe=1\n");
    EXPECT_EQ(test::ReadBytes(f.dir / "target.ini"), "[KFG]\r\nFr=0\r\n");
}

TEST(ProfileFiles, AnotherProgramsChangeIsReadAgain) {
    Fixture f;
    test::WriteBytes(f.file, "[Telvio]\nFarbe=1\n");
    EXPECT_EQ(f.store.GetInt(f.file, "Telvio", "Farbe", 0), 1u);
    test::WriteBytes(f.file, "[Telvio]\nFarbe=2\n"); // same size: only the time tells
    struct timespec times[2] = {{0, UTIME_OMIT}, {1'000'000'000, 123}};
    ::utimensat(AT_FDCWD, f.file.c_str(), times, 0);
    EXPECT_EQ(f.store.GetInt(f.file, "Telvio", "Farbe", 0), 2u);
}

TEST(ProfileFiles, GatheredWritesKeepAnotherProgramsEditMadeMeanwhile) {
    Fixture f;
    test::WriteBytes(f.file, "[Telvio]\nFarbe=1\n");
    {
        auto scope = f.store.Gather();
        EXPECT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "3"));
        EXPECT_FALSE(f.store.DeleteKey(f.file, "Telvio", "Gone"));
        test::WriteBytes(f.file, "; edited elsewhere\n[Telvio]\nFarbe=1\nGone=1\n");
    }
    EXPECT_EQ(test::ReadBytes(f.file), "; edited elsewhere\n[Telvio]\nFarbe=3\n");
}

TEST(ProfileFiles, UnreadableFileGivesDefaultsAndIsNotOverwritten) {
    Fixture f;
    test::WriteBytes(f.file, "[Telvio]\nFarbe=1\n");
    f.fs->failReads = true;
    EXPECT_EQ(f.store.GetInt(f.file, "Telvio", "Farbe", 7), 7u);
    const std::error_code error = f.store.WriteString(f.file, "Telvio", "Farbe", "2");
    EXPECT_EQ(error, ProfileErrc::Unreadable);
    EXPECT_EQ(platform::SortWriteFailure(error), platform::FailureCause::FileNotReadable);
    EXPECT_EQ(test::ReadBytes(f.file), "[Telvio]\nFarbe=1\n");
}

// A link loop, a missing folder and a folder with the file's name: reads give the default,
// writes fail and are reported, and nothing is created or removed.
TEST(ProfileFiles, WhatIsNoFileReadsAsMissingAndIsNotWritten) {
    Fixture f;
    std::filesystem::create_symlink("loop.ini", f.dir / "loop.ini");
    std::filesystem::create_directory(f.file);
    for (const auto& file : {f.dir / "loop.ini", f.dir / "gone" / "KFG.ini", f.file}) {
        SCOPED_TRACE(file);
        EXPECT_TRUE(f.store.WriteString(file, "KFG", "Fr", "1"));
        EXPECT_EQ(f.store.GetString(file, "KFG", "Fr", "d", 20), "d");
        EXPECT_FALSE(f.store.DeleteSection(file, "KFG"));
    }
    EXPECT_EQ(f.store.WriteString(f.file, "KFG", "Fr", "1"), ProfileErrc::NotRegularFile);
    EXPECT_TRUE(std::filesystem::is_directory(f.file));
    EXPECT_FALSE(std::filesystem::exists(f.dir / "gone"));
    EXPECT_EQ(f.failures.size(), 4u);
}

} // namespace
} // namespace kfg::settings
