#include "places/recent_folders.h"
#include "support/file_mode.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

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
std::vector<fs::path> ShownFolders(const fs::path& list) {
    std::vector<fs::path> folders;
    for (const FolderEdition& shown : ShownRecentFolders(list)) {
        folders.push_back(shown.folder);
    }
    return folders;
}

TEST(RecentFolders, BytesKeepEveryPathAndDropWhatIsNoEntry) {
    // What each case shows, the bytes, and the folders they give.
    const std::tuple<const char*, std::string, std::vector<fs::path>> cases[] = {
        {"newline, blanks and backslash kept", "/a\nb\0/ c \\d \0"s, {"/a\nb", "/ c \\d "}},
        {"cut short: the last path has no end", "/a\0/b"s, {"/a"}},
        {"relative, empty and repeated paths dropped", "rel\0\0/a\0/a\0"s, {"/a"}},
        {"empty file", "", {}},
    };
    for (const auto& [what, bytes, folders] : cases) {
        EXPECT_EQ(DecodeRecentFolders(bytes), folders) << what;
    }
    const std::vector<fs::path> odd{"/a\nb", "/\xff\x01", "/ x "};
    EXPECT_EQ(DecodeRecentFolders(EncodeRecentFolders(odd)), odd);
}

TEST(RecentFolders, NewestFirstEachOnceAtMostTenInAPrivateFolder) {
    test::TempDir dir;
    const fs::path list = RecentFoldersFile(dir / "state" / "deeper" / "kfg");
    std::vector<fs::path> folders;
    for (int i = 0; i < 12; ++i) {
        folders.push_back(TelvioFolder(dir.path(), "T" + std::to_string(i)));
        ASSERT_FALSE(RecordRecentFolder(list, folders.back()));
    }
    const std::vector<fs::path> newestTen(folders.rbegin(), folders.rbegin() + 10);
    EXPECT_EQ(ShownFolders(list), newestTen);
    EXPECT_EQ(DecodeRecentFolders(test::ReadBytes(list)), newestTen); // the oldest two are dropped

    // Again through a link and with a closing slash: the same folder moves to the front.
    fs::create_directory_symlink(folders[5], dir / "link");
    ASSERT_FALSE(RecordRecentFolder(list, (dir / "link").string() + "/"));
    std::vector<fs::path> moved = newestTen;
    std::erase(moved, folders[5]);
    moved.insert(moved.begin(), folders[5]);
    EXPECT_EQ(ShownFolders(list), moved);
    for (const fs::path& folder : {dir / "state", dir / "state" / "deeper" / "kfg"}) {
        EXPECT_EQ(test::ModeOf(folder), 0700U) << folder;
    }
}

TEST(RecentFolders, GoneFoldersAreNotShownAndDroppedAtTheNextWrite) {
    test::TempDir dir;
    const fs::path list = RecentFoldersFile(dir / "state" / "kfg");
    const fs::path gone = TelvioFolder(dir.path(), "gone");
    const fs::path emptied = TelvioFolder(dir.path(), "emptied");
    const fs::path kept = TelvioFolder(dir.path(), "kept");
    const fs::path fresh = TelvioFolder(dir.path(), "fresh");
    for (const fs::path& folder : {gone, emptied, kept}) {
        ASSERT_FALSE(RecordRecentFolder(list, folder));
    }
    fs::remove_all(gone);
    fs::remove(emptied / "TELVIO.INI");
    fs::create_directory(emptied / "Telvio.ini"); // a folder of that name is no settings file

    EXPECT_EQ(ShownFolders(list), (std::vector<fs::path>{kept}));
    EXPECT_EQ(DecodeRecentFolders(test::ReadBytes(list)).size(), 3U); // showing writes nothing
    ASSERT_FALSE(RecordRecentFolder(list, fresh));
    EXPECT_EQ(DecodeRecentFolders(test::ReadBytes(list)), (std::vector<fs::path>{fresh, kept}));
}

TEST(RecentFolders, UnwritableStateFolderIsAFailureNotACrash) {
    test::TempDir dir;
    const fs::path folder = TelvioFolder(dir.path(), "T");
    // A file where the folder should be, or a folder where the list should be: stops root too.
    test::WriteBytes(dir / "state-file", "");
    EXPECT_TRUE(RecordRecentFolder(RecentFoldersFile(dir / "state-file" / "kfg"), folder));
    const fs::path list = RecentFoldersFile(dir / "state" / "kfg");
    fs::create_directories(list);
    EXPECT_TRUE(RecordRecentFolder(list, folder));
    EXPECT_TRUE(ShownRecentFolders(list).empty());
    // No state folder: no file, rather than one in the working folder.
    EXPECT_TRUE(RecentFoldersFile({}).empty());
}

} // namespace
} // namespace kfg::places
