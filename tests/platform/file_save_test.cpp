// Saving a file on a real folder: the temporary file, leftovers of killed saves, the write in
// place and what it is chosen for, extended attributes, a full disk.
#include "platform/file_save.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sched.h>
#include <string>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace kfg::platform {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kOld = "[Telvio]\r\nFarbe=1\r\n";
const std::string kNew = "[Telvio]\r\nFarbe=2\r\nHelligkeit=40\r\n";

std::vector<std::string> Entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool HoldsTemporary(const std::filesystem::path& folder) {
    const std::vector<std::string> names = Entries(folder);
    return std::any_of(names.begin(), names.end(), [](const std::string& name) {
        return name.rfind(".Telvio.ini.kfg-", 0) == 0;
    });
}

ino_t InodeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ino;
}

std::error_code Fail(int error) {
    return {error, std::generic_category()};
}

// While another process holds the folder's lock, the save does not wait for it (KFG's window
// would freeze): it gives up the lock after a while and saves without the clean-up.
TEST(FileSave, RemovesOnlyItsOwnLeftoversUnlessTheFolderIsLocked) {
    for (const bool lockHeld : {false, true}) {
        SCOPED_TRACE(lockHeld ? "folder locked by another process" : "folder free");
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", kOld);
        const std::vector<std::string> leftovers = {".Telvio.ini.kfg-a1B2c3", ".Telvio.ini.kfg-x"};
        // Not this file's, not a temporary name, or not a file: they stay.
        const std::vector<std::string> others = {".KFG.ini.kfg-a1B2c3", ".Telvio.ini.kfg-",
                                                 "Telvio.ini.kfg-a1B2c3", ".Telvio.ini.bak"};
        for (const std::string& name : leftovers) {
            WriteBytes(dir / name, "half");
        }
        for (const std::string& name : others) {
            WriteBytes(dir / name, "keep");
        }
        std::filesystem::create_directory(dir / ".Telvio.ini.kfg-folder");
        // An open file description of its own conflicts with the save's as another process's
        // would.
        const int locker = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(locker, 0);
        ASSERT_EQ(::flock(locker, lockHeld ? LOCK_EX : LOCK_UN), 0);
        int waits = 0;

        SaveNotes notes;
        ASSERT_FALSE(SaveFile(
            dir / "Telvio.ini", kNew,
            [&](SaveStep step) {
                if (step != SaveStep::WaitForFolderLock) {
                    return std::error_code{};
                }
                ++waits; // ends the wait at the first pause instead of after two seconds
                return std::make_error_code(std::errc::timed_out);
            },
            &notes));
        ::close(locker);

        std::vector<std::string> expected = others;
        expected.push_back(".Telvio.ini.kfg-folder");
        expected.push_back("Telvio.ini");
        if (lockHeld) {
            expected.insert(expected.end(), leftovers.begin(), leftovers.end());
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Entries(dir.path()), expected);
        EXPECT_EQ(ReadBytes(dir / "Telvio.ini"), kNew);
        EXPECT_EQ(notes.leftoversKept, lockHeld);
        EXPECT_EQ(waits, lockHeld ? 1 : 0);
    }
}

// A kill before the rename leaves nothing behind when the temporary file has no name until
// right before the rename; file systems without unnamed files get a named one.
TEST(FileSave, TemporaryFileIsNamedOnlyForTheRename) {
    struct Case {
        std::error_code unnamedFails;
        bool namedWhileWriting;
    };
    const Case cases[] = {
        {{}, false},
        {Fail(EOPNOTSUPP), true}, // no unnamed files on this file system
        {Fail(EISDIR), true},     // a kernel that does not know them
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", kOld);
        bool namedWhileWriting = false;
        bool namedAtRename = false;
        const std::error_code error = SaveFile(dir / "Telvio.ini", kNew, [&](SaveStep step) {
            if (step == SaveStep::CreateUnnamedTemporary) {
                return c.unnamedFails;
            }
            if (step == SaveStep::WriteContents) {
                namedWhileWriting = HoldsTemporary(dir.path());
            }
            if (step == SaveStep::RenameOverTarget) {
                namedAtRename = HoldsTemporary(dir.path());
            }
            return std::error_code{};
        });
        ASSERT_FALSE(error) << c.unnamedFails;
        EXPECT_EQ(namedWhileWriting, c.namedWhileWriting) << c.unnamedFails;
        EXPECT_TRUE(namedAtRename) << c.unnamedFails;
        EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Telvio.ini"});
        EXPECT_EQ(ReadBytes(dir / "Telvio.ini"), kNew);
    }
}

TEST(FileSave, FailedRenameReportsAndLeavesNoTemporaryFile) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", kOld);
    // Another program puts a folder with contents where the file was, just before the rename.
    const std::error_code error = SaveFile(dir / "Telvio.ini", kNew, [&](SaveStep step) {
        if (step == SaveStep::RenameOverTarget) {
            std::filesystem::remove(dir / "Telvio.ini");
            std::filesystem::create_directory(dir / "Telvio.ini");
            WriteBytes(dir / "Telvio.ini" / "inside", "x");
        }
        return std::error_code{};
    });
    EXPECT_TRUE(error == std::errc::is_a_directory || error == std::errc::directory_not_empty)
        << error.message();
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Telvio.ini"});
    EXPECT_EQ(ReadBytes(dir / "Telvio.ini" / "inside"), "x");
}

// When the write goes in place, the file keeps its inode (and with it owner, group,
// attributes and every other name); otherwise it is replaced.
TEST(FileSave, WritesInPlaceOnlyWhereAReplacementCannotKeepTheFile) {
    struct Case {
        const char* what;
        bool secondName;
        SaveStep refusedStep;
        std::error_code refusal;
        bool inPlace;
    };
    const Case cases[] = {
        {"nothing in the way", false, SaveStep::ResolveTarget, {}, false},
        {"a second hard link", true, SaveStep::ResolveTarget, {}, true},
        {"the folder refuses the temporary file", false, SaveStep::CreateUnnamedTemporary,
         Fail(EACCES), true},
        {"owner, group or an attribute cannot be kept", false, SaveStep::CopyPermissions,
         Fail(EPERM), true},
        {"the folder refuses the rename", false, SaveStep::RenameOverTarget, Fail(EPERM), true},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const auto file = dir / "Telvio.ini";
        WriteBytes(file, kOld);
        if (c.secondName) {
            std::filesystem::create_hard_link(file, dir / "Telvio-copy.ini");
        }
        const ino_t before = InodeOf(file);

        std::string beforeTheFirstByte = kOld;
        const std::error_code error = SaveFile(file, kNew, [&](SaveStep step) {
            if (step == SaveStep::WriteInPlace) {
                beforeTheFirstByte = ReadBytes(file);
            }
            return step == c.refusedStep ? c.refusal : std::error_code{};
        });

        ASSERT_FALSE(error) << c.what << ": " << error.message();
        EXPECT_EQ(ReadBytes(file), kNew) << c.what;
        // The space is reserved without a change the file's readers (or a kill) could see.
        EXPECT_EQ(beforeTheFirstByte, kOld) << c.what;
        EXPECT_EQ(InodeOf(file) == before, c.inPlace) << c.what;
        EXPECT_FALSE(HoldsTemporary(dir.path())) << c.what;
        if (c.secondName) {
            EXPECT_EQ(ReadBytes(dir / "Telvio-copy.ini"), kNew);
        }
        // Shorter contents leave no tail of the longer ones.
        ASSERT_FALSE(SaveFile(file, kOld, [&](SaveStep step) {
            return step == c.refusedStep ? c.refusal : std::error_code{};
        }));
        EXPECT_EQ(ReadBytes(file), kOld) << c.what;
    }
}

// A full disk stops a save before any byte of the old file changes, in place as well. The
// disk is a small tmpfs in a mount namespace of a child process (skipped where mounting is
// not allowed); the file size limit fails the same calls with EFBIG and needs no privilege.
TEST(FileSave, FullDiskOrSizeLimitLeavesTheOldFileWhole) {
    enum Result { Whole, Changed, Skipped };
    for (const bool smallDisk : {true, false}) {
        for (const bool inPlace : {false, true}) {
            TempDir dir;
            const auto file = dir / "Telvio.ini";
            const std::string big(16384, 'x');
            const int result = test::RunInChild([&] {
                if (smallDisk &&
                    (::unshare(CLONE_NEWNS) != 0 ||
                     ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                     ::mount("kfg-test", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)) {
                    return static_cast<int>(Skipped);
                }
                WriteBytes(file, kOld);
                if (inPlace) {
                    std::filesystem::create_hard_link(file, dir / "other");
                }
                std::error_code expected = std::make_error_code(std::errc::file_too_large);
                if (smallDisk) {
                    expected = std::make_error_code(std::errc::no_space_on_device);
                    const int filler =
                        ::open((dir / "filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
                    const std::string block(4096, 'f');
                    while (::write(filler, block.data(), block.size()) > 0) {
                    }
                    ::close(filler);
                } else {
                    std::signal(SIGXFSZ, SIG_IGN);
                    const rlimit limit{kOld.size() + 10, kOld.size() + 10};
                    ::setrlimit(RLIMIT_FSIZE, &limit);
                }
                const bool failedRight = SaveFile(file, big) == expected;
                return static_cast<int>(failedRight && ReadBytes(file) == kOld &&
                                                !HoldsTemporary(dir.path())
                                            ? Whole
                                            : Changed);
            });
            if (result == Skipped) {
                continue; // no small disk here; the size limit still runs
            }
            EXPECT_EQ(result, Whole) << "small disk " << smallDisk << ", in place " << inPlace;
        }
    }
}

// An ACL in the form the system.posix_acl_* attributes hold it: entries of tag, permissions
// and id after a version header, all little-endian.
std::string Acl(std::uint32_t namedUser) {
    std::string bytes;
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
        }
    };
    constexpr std::uint32_t kNoId = 0xffffffff;
    const std::uint32_t entries[][3] = {
        {0x01, 6, kNoId}, {0x02, 6, namedUser}, {0x04, 4, kNoId},
        {0x10, 6, kNoId}, {0x20, 4, kNoId},
    };
    put(2, 4);
    for (const auto& entry : entries) {
        put(entry[0], 2);
        put(entry[1], 2);
        put(entry[2], 4);
    }
    return bytes;
}

std::map<std::string, std::string> Attributes(const std::filesystem::path& file) {
    std::map<std::string, std::string> attributes;
    char names[4096];
    const ssize_t size = ::llistxattr(file.c_str(), names, sizeof names);
    for (ssize_t at = 0; at < size;) {
        const std::string name(names + at);
        at += static_cast<ssize_t>(name.size()) + 1;
        char value[4096];
        const ssize_t length = ::lgetxattr(file.c_str(), name.c_str(), value, sizeof value);
        attributes[name] =
            std::string(value, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
    }
    return attributes;
}

bool SetAttribute(const std::filesystem::path& path, const char* name, const std::string& value) {
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

TEST(FileSave, ReplacementHasExactlyTheOldAttributes) {
    TempDir dir;
    const auto file = dir / "Telvio.ini";
    const auto plain = dir / "KFG.ini";
    WriteBytes(file, kOld);
    WriteBytes(plain, kOld);
    // The folder hands its default ACL to new files; the replacement of a file without an
    // ACL must not gain one that way.
    if (!SetAttribute(file, "user.kfg.note", "Wohnzimmer") ||
        !SetAttribute(file, "system.posix_acl_access", Acl(4103)) ||
        !SetAttribute(dir.path(), "system.posix_acl_default", Acl(4104))) {
        GTEST_SKIP() << "this file system keeps no extended attributes or ACLs";
    }
    const auto wanted = Attributes(file);
    ASSERT_EQ(wanted.size(), 2u);
    const ino_t before = InodeOf(file);

    ASSERT_FALSE(SaveFile(file, kNew));
    ASSERT_FALSE(SaveFile(plain, kNew));

    EXPECT_NE(InodeOf(file), before); // a replacement, not a write in place
    EXPECT_EQ(Attributes(file), wanted);
    EXPECT_TRUE(Attributes(plain).empty());
}

} // namespace
} // namespace kfg::platform
