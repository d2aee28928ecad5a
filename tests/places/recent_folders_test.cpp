#include "places/recent_folders.h"
#include "support/child_process.h"
#include "support/file_mode.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::places {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A Telvio folder named `name` below `root`, as its canonical path.
fs::path TelvioFolder(const fs::path& root, const std::string& name) {
    fs::create_directories(root / name);
    test::WriteBytes(root / name / "TELVIO.INI", "[Telvio]\n");
    return fs::canonical(root / name);
}

// The folders ShownRecentFolders offers, without their editions.
std::vector<fs::path> ShownFolders(const platform::StateFolder& state) {
    std::vector<fs::path> folders;
    for (const FolderEdition& shown : ShownRecentFolders(state)) {
        folders.push_back(shown.folder);
    }
    return folders;
}

TEST(RecentFolders, BytesKeepEveryPathAndDropWhatIsNoEntry) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<fs::path> folders;
    };
    const Case cases[] = {
        {.what = "newline, blanks and backslash kept",
         .bytes = "/a\nb\0/ c \\d \0"s,
         .folders = {"/a\nb", "/ c \\d "}},
        {.what = "cut short: the last path has no end", .bytes = "/a\0/b"s, .folders = {"/a"}},
        {.what = "relative, empty and repeated paths dropped",
         .bytes = "rel\0\0/a\0/a\0"s,
         .folders = {"/a"}},
        {.what = "empty file", .bytes = "", .folders = {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeRecentFolders(c.bytes), c.folders) << c.what;
    }
    const std::vector<fs::path> odd{"/a\nb", "/\xff\x01", "/ x "};
    EXPECT_EQ(DecodeRecentFolders(EncodeRecentFolders(odd)), odd);
}

TEST(RecentFolders, NewestFirstEachOnceAtMostTenInAPrivateFolder) {
    test::TempDir dir;
    const platform::StateFolder state(dir / "state" / "deeper" / "kfg");
    const fs::path list = state.Path() / kRecentFoldersFile;
    std::vector<fs::path> folders;
    for (int i = 0; i < 12; ++i) {
        folders.push_back(TelvioFolder(dir.path(), "T" + std::to_string(i)));
        ASSERT_FALSE(RecordRecentFolder(state, folders.back()));
    }
    const std::vector<fs::path> newestTen(folders.rbegin(), folders.rbegin() + 10);
    EXPECT_EQ(ShownFolders(state), newestTen);
    EXPECT_EQ(DecodeRecentFolders(test::ReadBytes(list)), newestTen); // the oldest two are dropped

    // Again through a link and with a closing slash: the same folder moves to the front.
    fs::create_directory_symlink(folders[5], dir / "link");
    ASSERT_FALSE(RecordRecentFolder(state, (dir / "link").string() + "/"));
    std::vector<fs::path> moved = newestTen;
    std::erase(moved, folders[5]);
    moved.insert(moved.begin(), folders[5]);
    EXPECT_EQ(ShownFolders(state), moved);
    for (const fs::path& folder : {dir / "state", dir / "state" / "deeper" / "kfg"}) {
        EXPECT_EQ(test::ModeOf(folder), 0700U) << folder;
    }
}

// A write killed before its file took the name leaves a temporary; the next write removes it
// (the files of other names stay).
TEST(RecentFolders, TheNextWriteRemovesWhatAKilledOneLeft) {
    test::TempDir dir;
    const platform::StateFolder state(dir / "state" / "kfg");
    ASSERT_FALSE(RecordRecentFolder(state, TelvioFolder(dir.path(), "A")));
    test::WriteBytes(state.Path() / ".recent-folders.kfg-a1B2c3", "cut short");
    test::WriteBytes(state.Path() / ".other.kfg-a1B2c3", "not ours");
    ASSERT_FALSE(RecordRecentFolder(state, TelvioFolder(dir.path(), "B")));
    EXPECT_FALSE(fs::exists(state.Path() / ".recent-folders.kfg-a1B2c3"));
    EXPECT_TRUE(fs::exists(state.Path() / ".other.kfg-a1B2c3"));
}

TEST(RecentFolders, GoneFoldersAreNotShownAndDroppedAtTheNextWrite) {
    test::TempDir dir;
    const platform::StateFolder state(dir / "state" / "kfg");
    const fs::path list = state.Path() / kRecentFoldersFile;
    const fs::path gone = TelvioFolder(dir.path(), "gone");
    const fs::path emptied = TelvioFolder(dir.path(), "emptied");
    const fs::path kept = TelvioFolder(dir.path(), "kept");
    const fs::path fresh = TelvioFolder(dir.path(), "fresh");
    for (const fs::path& folder : {gone, emptied, kept}) {
        ASSERT_FALSE(RecordRecentFolder(state, folder));
    }
    fs::remove_all(gone);
    fs::remove(emptied / "TELVIO.INI");
    fs::create_directory(emptied / "Telvio.ini"); // a folder of that name is no settings file

    EXPECT_EQ(ShownFolders(state), (std::vector<fs::path>{kept}));
    EXPECT_EQ(DecodeRecentFolders(test::ReadBytes(list)).size(), 3U); // showing writes nothing
    ASSERT_FALSE(RecordRecentFolder(state, fresh));
    EXPECT_EQ(DecodeRecentFolders(test::ReadBytes(list)), (std::vector<fs::path>{fresh, kept}));
}

TEST(RecentFolders, UnwritableStateFolderIsAFailureNotACrash) {
    test::TempDir dir;
    const fs::path folder = TelvioFolder(dir.path(), "T");
    // A file where the folder should be, or a folder where the list should be: stops root too.
    test::WriteBytes(dir / "state-file", "");
    EXPECT_TRUE(RecordRecentFolder(platform::StateFolder(dir / "state-file" / "kfg"), folder));
    const platform::StateFolder state(dir / "state" / "kfg");
    fs::create_directories(state.Path() / kRecentFoldersFile);
    EXPECT_TRUE(RecordRecentFolder(state, folder));
    EXPECT_TRUE(ShownRecentFolders(state).empty());
    // No state folder: no list, rather than one in the working folder.
    EXPECT_EQ(RecordRecentFolder(platform::StateFolder(), folder),
              platform::PrivateFolderErrc::NoStateFolder);
}

// What another user could have planted is never read nor written through: a list in a state
// folder that is not private, and a link at the list's name in any state folder. Acted out by
// an ordinary user, as a second user on a shared machine would meet it.
TEST(RecentFolders, NothingAnotherUserCouldPlantIsReadOrWrittenThrough) {
    if (!test::CanSwitchUsers()) {
        GTEST_SKIP() << "needs root to act as two ordinary users";
    }
    const test::UserIds kUser{4101, 4101, {}};
    constexpr uid_t kOther = 4102;
    struct Case {
        const char* what;
        uid_t owner;     // of the state folder
        mode_t mode;     // of the state folder
        bool linkAtList; // the list is a link to a file of the user's
        bool recorded;   // whether the run's folder is recorded
    };
    const Case cases[] = {
        {.what = "another user's folder",
         .owner = kOther,
         .mode = 0755,
         .linkAtList = true,
         .recorded = false},
        {.what = "the user's, open to all",
         .owner = kUser.uid,
         .mode = 0777,
         .linkAtList = true,
         .recorded = false},
        {.what = "the user's, open to the group",
         .owner = kUser.uid,
         .mode = 0770,
         .linkAtList = false,
         .recorded = false},
        {.what = "the user's own: the link itself is replaced",
         .owner = kUser.uid,
         .mode = 0700,
         .linkAtList = true,
         .recorded = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const fs::path planted = TelvioFolder(dir.path(), "Planted");
        const fs::path mine = TelvioFolder(dir.path(), "Mine");
        const platform::StateFolder state(dir / "kfg");
        fs::create_directory(state.Path());
        const fs::path list = state.Path() / kRecentFoldersFile;
        const fs::path profile = dir / "profile";
        test::WriteBytes(profile, EncodeRecentFolders({planted}));
        if (c.linkAtList) {
            fs::create_symlink(profile, list);
        } else {
            test::WriteBytes(list, EncodeRecentFolders({planted}));
        }
        for (const fs::path& path : {dir.path(), profile, mine, mine / "TELVIO.INI"}) {
            ASSERT_EQ(::chown(path.c_str(), kUser.uid, kUser.gid), 0);
        }
        ASSERT_EQ(::lchown(list.c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(::chown(state.Path().c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(::chmod(state.Path().c_str(), c.mode), 0);

        // As the user: 1 when nothing is shown, plus 2 when the record succeeded.
        const int seen = test::RunAsUser(kUser, [&] {
            return (ShownFolders(state).empty() ? 1 : 0) +
                   (RecordRecentFolder(state, mine) ? 0 : 2);
        });
        EXPECT_EQ(seen, 1 + (c.recorded ? 2 : 0));
        EXPECT_EQ(test::ReadBytes(profile), EncodeRecentFolders({planted})); // never written
        EXPECT_EQ(test::ModeOf(state.Path()), c.mode);                       // never changed
        if (c.recorded) {
            EXPECT_FALSE(fs::is_symlink(list));
            EXPECT_EQ(DecodeRecentFolders(test::ReadBytes(list)), std::vector<fs::path>{mine});
        }
    }
}

} // namespace
} // namespace kfg::places
