// Saves by an ordinary user into folders and files that belong to others, as real Telvio
// folders do. The files are made as root; the save runs in a child that switched to
// unprivileged ids. Without root the tests are skipped.
#include "settings/profile_error.h"
#include "settings/profile_store.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::settings {
namespace {

constexpr uid_t kRoot = 0;
constexpr uid_t kUser = 4101;  // the one who runs KFG
constexpr uid_t kOther = 4102; // another member of the group "tv"
constexpr gid_t kTv = 4500;
const test::UserIds kUserIds{kUser, kUser, {kTv}};

const std::string kOld = "[Telvio]\r\nFarbe=1\r\n";
const std::string kNew = "[Telvio]\r\nFarbe=2\r\n";

struct Owned {
    uid_t uid;
    gid_t gid;
    mode_t mode;
};

enum class Outcome { Saved = 0, ReadOnly = 1, Failed = 2 };

struct OwnerCase {
    const char* what;
    Owned folder;
    Owned file;
    Outcome outcome;
};

TEST(ProfileOwners, SavesKeepOwnerGroupAndModeOrDoNotHappen) {
    if (!test::CanSwitchUsers()) {
        GTEST_SKIP() << "needs root to act as other users";
    }
    using enum Outcome;
    const OwnerCase cases[] = {
        {.what = "root's folder, file open to all",
         .folder = {.uid = kRoot, .gid = kRoot, .mode = 0755},
         .file = {.uid = kRoot, .gid = kRoot, .mode = 0666},
         .outcome = Saved},
        {.what = "sticky folder, another's file",
         .folder = {.uid = kRoot, .gid = kRoot, .mode = 01777},
         .file = {.uid = kOther, .gid = kOther, .mode = 0666},
         .outcome = Saved},
        {.what = "root's 0644 file, user's folder",
         .folder = {.uid = kUser, .gid = kUser, .mode = 0755},
         .file = {.uid = kRoot, .gid = kRoot, .mode = 0644},
         .outcome = ReadOnly},
        {.what = "file of another member of tv",
         .folder = {.uid = kOther, .gid = kTv, .mode = 0775},
         .file = {.uid = kOther, .gid = kTv, .mode = 0664},
         .outcome = Saved},
        {.what = "the user's own file",
         .folder = {.uid = kUser, .gid = kUser, .mode = 0755},
         .file = {.uid = kUser, .gid = kUser, .mode = 0644},
         .outcome = Saved},
        {.what = "the user's file of the group tv",
         .folder = {.uid = kUser, .gid = kUser, .mode = 0755},
         .file = {.uid = kUser, .gid = kTv, .mode = 0640},
         .outcome = Saved},
    };
    for (const OwnerCase& c : cases) {
        test::TempDir top;
        ::chmod(top.path().c_str(), 0755); // the user may pass through
        const auto folder = top / "Telvio";
        const auto file = folder / "Telvio.ini";
        std::filesystem::create_directory(folder);
        test::WriteBytes(file, kOld);
        ASSERT_EQ(::chown(file.c_str(), c.file.uid, c.file.gid), 0);
        ASSERT_EQ(::chmod(file.c_str(), c.file.mode), 0);
        ASSERT_EQ(::chown(folder.c_str(), c.folder.uid, c.folder.gid), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folder.mode), 0);
        struct stat before {};
        ::stat(file.c_str(), &before);

        const int result = test::RunAsUser(kUserIds, [&] {
            ProfileStore store;
            const std::error_code error = store.WriteString(file, "Telvio", "Farbe", "2");
            return static_cast<int>(!error                           ? Saved
                                    : error == ProfileErrc::ReadOnly ? ReadOnly
                                                                     : Failed);
        });

        EXPECT_EQ(result, static_cast<int>(c.outcome)) << c.what;
        EXPECT_EQ(test::ReadBytes(file), c.outcome == Saved ? kNew : kOld) << c.what;
        struct stat after {};
        ::stat(file.c_str(), &after);
        // Only the user's own files are replaced; others are written in place (or not at all).
        const bool replaced = c.outcome == Saved && c.file.uid == kUser;
        EXPECT_EQ(after.st_ino != before.st_ino, replaced) << c.what;
        EXPECT_EQ(after.st_uid, c.file.uid) << c.what;
        EXPECT_EQ(after.st_gid, c.file.gid) << c.what;
        EXPECT_EQ(after.st_mode & 07777, c.file.mode) << c.what;
        EXPECT_EQ(test::FolderBytes(folder).size(), 1u) << c.what << ": a temporary file was left";
    }
}

} // namespace
} // namespace kfg::settings
