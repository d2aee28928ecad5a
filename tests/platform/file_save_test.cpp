// Saving a file on a real folder: the temporary file, leftovers of killed saves, the write in
// place and what it is chosen for, extended attributes, a full disk.
#include "platform/file_save.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <csignal>
#include <cstring>
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

const std::string kOld = "[Telvio]\r\nFarbe=1\r\n";
const std::string kNew = "[Telvio]\r\nFarbe=2\r\nHelligkeit=40\r\n";

bool HoldsTemporary(const std::filesystem::path& folder) {
    return std::ranges::any_of(test::EntryNames(folder), [](const std::string& name) {
        return name.starts_with(".Telvio.ini.kfg-");
    });
}

ino_t InodeOf(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// While another process holds the folder's lock, the save does not wait for it (KFG's window
// would freeze): it gives up the lock after a while and saves without the clean-up.
TEST(FileSave, RemovesOnlyItsOwnLeftoversUnlessTheFolderIsLocked) {
    for (const bool lockHeld : {false, true}) {
        SCOPED_TRACE(lockHeld ? "folder locked by another process" : "folder free");
        test::TempDir dir;
        test::WriteBytes(dir / "Telvio.ini", kOld);
        // Leftovers of this file's killed saves go; what is not this file's, not a temporary
        // name, or not a file stays.
        struct Name {
            const char* name;
            bool leftover;
        };
        const Name names[] = {
            {.name = ".Telvio.ini.kfg-a1B2c3", .leftover = true},
            {.name = ".Telvio.ini.kfg-x", .leftover = true},
            {.name = ".KFG.ini.kfg-a1B2c3", .leftover = false},
            {.name = ".Telvio.ini.kfg-", .leftover = false},
            {.name = "Telvio.ini.kfg-a1B2c3", .leftover = false},
            {.name = ".Telvio.ini.bak", .leftover = false},
        };
        for (const Name& n : names) {
            test::WriteBytes(dir / n.name, "half");
        }
        std::filesystem::create_directory(dir / ".Telvio.ini.kfg-folder");
        // An open file description of its own conflicts with the save's as another process's
        // would.
        const int locker = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_EQ(::flock(locker, lockHeld ? LOCK_EX : LOCK_UN), 0);
        int waits = 0;
        const auto endTheWait = [&](SaveStep step) { // at the first pause, not after two seconds
            const bool pause = step == SaveStep::WaitForFolderLock;
            waits += pause ? 1 : 0;
            return pause ? std::make_error_code(std::errc::timed_out) : std::error_code{};
        };
        SaveNotes notes;
        ASSERT_FALSE(SaveFile(dir / "Telvio.ini", kNew, endTheWait, &notes));
        ::close(locker);

        for (const Name& n : names) {
            EXPECT_EQ(std::filesystem::exists(dir / n.name), !n.leftover || lockHeld) << n.name;
        }
        EXPECT_TRUE(std::filesystem::is_directory(dir / ".Telvio.ini.kfg-folder"));
        EXPECT_EQ(test::EntryNames(dir.path()).size(),
                  lockHeld ? 8u : 6u); // no temporary file either
        EXPECT_EQ(test::ReadBytes(dir / "Telvio.ini"), kNew);
        EXPECT_EQ(notes.leftoversKept, lockHeld);
        EXPECT_EQ(waits, lockHeld ? 1 : 0);
    }
}

TEST(FileSave, FailedRenameReportsAndLeavesNoTemporaryFile) {
    test::TempDir dir;
    test::WriteBytes(dir / "Telvio.ini", kOld);
    // Another program puts a folder with contents where the file was, just before the rename.
    const std::error_code error = SaveFile(dir / "Telvio.ini", kNew, [&](SaveStep step) {
        if (step == SaveStep::RenameOverTarget) {
            std::filesystem::remove(dir / "Telvio.ini");
            std::filesystem::create_directory(dir / "Telvio.ini");
            test::WriteBytes(dir / "Telvio.ini" / "inside", "x");
        }
        return std::error_code{};
    });
    EXPECT_TRUE(error == std::errc::is_a_directory || error == std::errc::directory_not_empty)
        << error.message();
    EXPECT_EQ(test::EntryNames(dir.path()), std::vector<std::string>{"Telvio.ini"});
    EXPECT_EQ(test::ReadBytes(dir / "Telvio.ini" / "inside"), "x");
}

// The new contents are on the disk before they take the file's name: the flush comes before
// the temporary is named and renamed over the file, and a failed flush names nothing and
// leaves the old file as it was. A write in place flushes last.
TEST(FileSave, TheNewFileReachesTheDiskBeforeItReplacesTheOld) {
    using enum SaveStep;
    struct Case {
        const char* what;
        bool inPlace; // a second hard link keeps a replacement from being made
        std::vector<SaveStep> order;
    };
    const Case cases[] = {
        {.what = "a replacement",
         .inPlace = false,
         .order = {CreateUnnamedTemporary, WriteContents, CopyPermissions, FlushContents,
                   LinkTemporary, CloseTemporary, RenameOverTarget}},
        {.what = "a write in place",
         .inPlace = true,
         .order = {ReserveSpaceInPlace, WriteInPlace, TruncateInPlace, FlushInPlace}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        test::WriteBytes(dir / "Telvio.ini", kOld);
        if (c.inPlace) {
            std::filesystem::create_hard_link(dir / "Telvio.ini", dir / "other-name.ini");
        }
        std::vector<SaveStep> steps;
        ASSERT_FALSE(SaveFile(dir / "Telvio.ini", kNew, [&](SaveStep step) {
            if (step != ResolveTarget && step != WaitForFolderLock) {
                steps.push_back(step);
            }
            return std::error_code{};
        }));
        EXPECT_EQ(steps, c.order);
        EXPECT_EQ(test::ReadBytes(dir / "Telvio.ini"), kNew);
    }
    test::TempDir dir;
    test::WriteBytes(dir / "Telvio.ini", kOld);
    bool named = false;
    const std::error_code failed = SaveFile(dir / "Telvio.ini", kNew, [&](SaveStep step) {
        named |= step == LinkTemporary || step == RenameOverTarget;
        return step == FlushContents ? std::make_error_code(std::errc::io_error)
                                     : std::error_code{};
    });
    EXPECT_EQ(failed, std::errc::io_error);
    EXPECT_FALSE(named);
    EXPECT_EQ(test::ReadBytes(dir / "Telvio.ini"), kOld);
    EXPECT_FALSE(HoldsTemporary(dir.path()));
}

// A kill before the rename leaves nothing behind when the temporary file has no name until
// right before the rename; file systems without unnamed files get a named one. When the write
// goes in place, the file keeps its inode (and with it owner, group, attributes and every
// other name); that happens only where a replacement cannot keep the file.
TEST(FileSave, TemporaryNamedOnlyForTheRenameAndInPlaceOnlyWhereNeeded) {
    struct Case {
        const char* what;
        bool secondName = false; // the file has a second hard link
        SaveStep refusedStep = SaveStep::ResolveTarget;
        int refusal = 0; // the errno the step is refused with; 0: none
        bool inPlace;    // the write goes into the file itself
    };
    const Case cases[] = {
        {.what = "nothing in the way", .inPlace = false},
        {.what = "no unnamed files on this file system",
         .refusedStep = SaveStep::CreateUnnamedTemporary,
         .refusal = EOPNOTSUPP,
         .inPlace = false},
        {.what = "a kernel without unnamed files",
         .refusedStep = SaveStep::CreateUnnamedTemporary,
         .refusal = EISDIR,
         .inPlace = false},
        {.what = "a second hard link", .secondName = true, .inPlace = true},
        {.what = "the folder refuses the temporary file",
         .refusedStep = SaveStep::CreateUnnamedTemporary,
         .refusal = EACCES,
         .inPlace = true},
        {.what = "owner, group or an attribute cannot be kept",
         .refusedStep = SaveStep::CopyPermissions,
         .refusal = EPERM,
         .inPlace = true},
        {.what = "the folder refuses the rename",
         .refusedStep = SaveStep::RenameOverTarget,
         .refusal = EPERM,
         .inPlace = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const auto file = dir / "Telvio.ini";
        test::WriteBytes(file, kOld);
        if (c.secondName) {
            std::filesystem::create_hard_link(file, dir / "Telvio-copy.ini");
        }
        const ino_t before = InodeOf(file);
        std::string beforeTheFirstByte = kOld;
        bool namedWhileWriting = false;
        bool namedAtRename = false;
        const auto hook = [&](SaveStep step) {
            namedWhileWriting |= step == SaveStep::WriteContents && HoldsTemporary(dir.path());
            namedAtRename |= step == SaveStep::RenameOverTarget && HoldsTemporary(dir.path());
            if (step == SaveStep::WriteInPlace) {
                beforeTheFirstByte = test::ReadBytes(file);
            }
            return step == c.refusedStep ? std::error_code(c.refusal, std::generic_category())
                                         : std::error_code{};
        };

        const std::error_code error = SaveFile(file, kNew, hook);
        ASSERT_FALSE(error) << error.message();
        EXPECT_EQ(test::ReadBytes(file), kNew);
        EXPECT_EQ(namedWhileWriting, c.refusal != 0 && !c.inPlace);
        EXPECT_EQ(namedAtRename, !c.inPlace || c.refusedStep == SaveStep::RenameOverTarget);
        // The space is reserved without a change the file's readers (or a kill) could see.
        EXPECT_EQ(beforeTheFirstByte, kOld);
        EXPECT_EQ(InodeOf(file) == before, c.inPlace);
        EXPECT_FALSE(HoldsTemporary(dir.path()));
        if (c.secondName) {
            EXPECT_EQ(test::ReadBytes(dir / "Telvio-copy.ini"), kNew);
        }
        // Shorter contents leave no tail of the longer ones.
        ASSERT_FALSE(SaveFile(file, kOld, hook));
        EXPECT_EQ(test::ReadBytes(file), kOld);
    }
}

// A full disk stops a save before any byte of the old file changes, in place as well. The
// disk is a small tmpfs in a mount namespace of a child process (skipped where mounting is
// not allowed); the file size limit fails the same calls with EFBIG and needs no privilege.
TEST(FileSave, FullDiskOrSizeLimitLeavesTheOldFileWhole) {
    enum Result { Whole, Changed, Skipped };
    for (const bool smallDisk : {true, false}) {
        for (const bool inPlace : {false, true}) {
            test::TempDir dir;
            const auto file = dir / "Telvio.ini";
            const int result = test::RunInChild([&] {
                if (smallDisk &&
                    (::unshare(CLONE_NEWNS) != 0 ||
                     ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                     ::mount("kfg-test", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)) {
                    return Skipped;
                }
                test::WriteBytes(file, kOld);
                if (inPlace) {
                    std::filesystem::create_hard_link(file, dir / "other");
                }
                if (smallDisk) {
                    test::WriteBytes(dir / "filler", std::string(65536, 'f')); // as much as fits
                } else {
                    std::signal(SIGXFSZ, SIG_IGN);
                    const rlimit limit{kOld.size() + 10, kOld.size() + 10};
                    ::setrlimit(RLIMIT_FSIZE, &limit);
                }
                const std::errc expected =
                    smallDisk ? std::errc::no_space_on_device : std::errc::file_too_large;
                return SaveFile(file, std::string(16384, 'x')) == expected &&
                               test::ReadBytes(file) == kOld && !HoldsTemporary(dir.path())
                           ? Whole
                           : Changed;
            });
            if (result != Skipped) { // no small disk here; the size limit still runs
                EXPECT_EQ(result, Whole) << "small disk " << smallDisk << ", in place " << inPlace;
            }
        }
    }
}

// An ACL as the system.posix_acl_* attributes hold it: a version header, then entries of tag,
// permissions and id, little-endian: owner rw, the named user `user` rw, group r, mask rw,
// other r.
std::string Acl(char user) {
    using namespace std::string_literals;
    return "\2\0\0\0\1\0\6\0\xff\xff\xff\xff\2\0\6\0"s + user +
           "\0\0\0\4\0\4\0\xff\xff\xff\xff\x10\0\6\0\xff\xff\xff\xff\x20\0\4\0\xff\xff\xff\xff"s;
}

std::map<std::string, std::string> Attributes(const std::filesystem::path& file) {
    std::map<std::string, std::string> attributes;
    char names[4096];
    const ssize_t size = std::max<ssize_t>(::llistxattr(file.c_str(), names, sizeof names), 0);
    for (const char* name = names; name < names + size; name += std::strlen(name) + 1) {
        char value[4096];
        const ssize_t length = ::lgetxattr(file.c_str(), name, value, sizeof value);
        attributes[name] =
            std::string(value, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
    }
    return attributes;
}

bool SetAttribute(const std::filesystem::path& path, const char* name, const std::string& value) {
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

TEST(FileSave, ReplacementHasExactlyTheOldAttributes) {
    test::TempDir dir;
    const auto file = dir / "Telvio.ini";
    const auto plain = dir / "KFG.ini";
    test::WriteBytes(file, kOld);
    test::WriteBytes(plain, kOld);
    // The folder hands its default ACL to new files; the replacement of a file without an
    // ACL must not gain one that way.
    if (!SetAttribute(file, "user.kfg.note", "Wohnzimmer") ||
        !SetAttribute(file, "system.posix_acl_access", Acl(103)) ||
        !SetAttribute(dir.path(), "system.posix_acl_default", Acl(104))) {
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
