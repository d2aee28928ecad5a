// The check of a folder argument, on real folders: what is there, what is a folder, and what
// an ordinary user may enter (as root, every folder may be entered).
#include "cli/folder_argument.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::cli {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kUser = 4101;

TEST(FolderArgument, TakesWhatCanBeEnteredAndSaysWhyNot) {
    struct Case {
        std::string named; // below the scratch folder; "" names nothing
        FolderRefusal refusal;
        bool asUser = false; // checked by an ordinary user, for whom the modes count
    };
    const Case cases[] = {
        {.named = "open", .refusal = FolderRefusal::None},
        {.named = "link", .refusal = FolderRefusal::None},
        {.named = "nowhere", .refusal = FolderRefusal::Missing},
        {.named = "", .refusal = FolderRefusal::Missing},
        {.named = "dangling", .refusal = FolderRefusal::Missing},
        {.named = "file/below", .refusal = FolderRefusal::Missing},
        {.named = "file", .refusal = FolderRefusal::NotAFolder},
        // Entered but not listed is enough: nothing is listed to check a folder.
        {.named = "enter-only", .refusal = FolderRefusal::None, .asUser = true},
        {.named = "list-only", .refusal = FolderRefusal::NotEntered, .asUser = true},
        {.named = "closed", .refusal = FolderRefusal::NotEntered, .asUser = true},
        // What lies behind a folder that cannot be entered cannot be entered either.
        {.named = "list-only/inner", .refusal = FolderRefusal::NotEntered, .asUser = true},
    };
    // Root may enter every folder: the modes are tried by an ordinary user, in a child that
    // becomes one. A test run by an ordinary user is that user.
    const bool root = ::geteuid() == 0;
    const bool becomesUser = root && test::CanSwitchUsers();
    test::TempDir scratch;
    const auto folder = [&](const char* name, mode_t mode) {
        fs::create_directory(scratch / name);
        if (root) {
            ASSERT_EQ(::chown((scratch / name).c_str(), kUser, kUser), 0);
        }
        ASSERT_EQ(::chmod((scratch / name).c_str(), mode), 0);
    };
    fs::create_directory(scratch / "list-only");
    fs::create_directory(scratch / "list-only" / "inner");
    folder("open", 0700);
    folder("enter-only", 0300);
    folder("list-only", 0600);
    folder("closed", 0000);
    test::WriteBytes(scratch / "file", "");
    fs::create_directory_symlink("open", scratch / "link");
    fs::create_directory_symlink("gone", scratch / "dangling");
    ASSERT_EQ(::chmod(scratch.path().c_str(), 0755), 0);

    bool skipped = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named + (c.asUser ? " as a user" : ""));
        const fs::path named = c.named.empty() ? fs::path() : scratch / c.named;
        if (!c.asUser || !root) {
            EXPECT_EQ(CheckFolderArgument(named), c.refusal);
        } else if (becomesUser) {
            EXPECT_EQ(test::RunAsUser({kUser, kUser, {}},
                                      [&] { return static_cast<int>(CheckFolderArgument(named)); }),
                      static_cast<int>(c.refusal));
        } else {
            skipped = true;
        }
    }
    if (skipped) {
        GTEST_SKIP() << "the modes need an ordinary user, and root here cannot become one";
    }
}

} // namespace
} // namespace kfg::cli
