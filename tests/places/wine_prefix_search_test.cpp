#include "places/wine_prefix_search.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kfg::places {
namespace {

namespace fs = std::filesystem;

// Makes `file` below `root` with its folders.
void Touch(const fs::path& root, const std::string& file) {
    fs::create_directories((root / file).parent_path());
    test::WriteBytes(root / file, "[Telvio]\n");
}

// Paths below `root`, for comparing with what the search found.
std::vector<fs::path> Below(const fs::path& root, const std::vector<std::string>& relative) {
    std::vector<fs::path> paths;
    for (const std::string& path : relative) {
        paths.push_back(fs::canonical(root) / path);
    }
    return paths;
}

TEST(WinePrefixSearch, FindsTelvioIniWhereWineWouldAndNowhereElse) {
    struct Case {
        const char* what;
        std::vector<std::string> files; // made below the prefix
        std::vector<std::string> found; // below the prefix
    };
    const Case cases[] = {
        {.what = "letter cases",
         .files = {"drive_c/a/Telvio.ini", "drive_c/b/TELVIO.INI", "drive_c/c/telvio.Ini",
                   "drive_c/d/Telvio.ini.bak", "drive_c/e/Telvio.ini/inside"},
         .found = {"drive_c/a", "drive_c/b", "drive_c/c"}},
        {.what = "levels: drive_c itself and three below, not four",
         .files = {"drive_c/Telvio.ini", "drive_c/1/2/3/Telvio.ini", "drive_c/1/2/3/4/Telvio.ini"},
         .found = {"drive_c", "drive_c/1/2/3"}},
        {.what = "level by level, each level by name",
         .files = {"drive_c/z/Telvio.ini", "drive_c/a/b/Telvio.ini", "drive_c/b/Telvio.ini"},
         .found = {"drive_c/b", "drive_c/z", "drive_c/a/b"}},
        {.what = "drive_c/windows is skipped, a deeper windows folder is not",
         .files = {"drive_c/windows/Telvio.ini", "drive_c/WINDOWS/x/Telvio.ini",
                   "drive_c/Program Files/windows/Telvio.ini"},
         .found = {"drive_c/Program Files/windows"}},
        {.what = "outside drive_c",
         .files = {"Telvio.ini", "dosdevices/Telvio.ini", "users/Telvio.ini"},
         .found = {}},
    };
    for (const Case& c : cases) {
        test::TempDir home;
        for (const std::string& file : c.files) {
            Touch(home / ".wine", file);
        }
        EXPECT_EQ(FindTelvioFolders(home / ".wine"), Below(home / ".wine", c.found)) << c.what;
    }
}

TEST(WinePrefixSearch, FollowsThePrefixAndDriveCButNoLinkBelow) {
    test::TempDir home;
    const fs::path elsewhere = home / "disk";
    Touch(elsewhere, "drive_c/Program Files/Telvio/TELVIO.INI");
    Touch(home.path(), "outside/Telvio/Telvio.ini");
    Touch(home.path(), "outside/Telvio.ini");
    fs::create_directories(home / "prefix");
    fs::create_directory_symlink(elsewhere / "drive_c", home / "prefix" / "drive_c");
    fs::create_directory_symlink(home / "prefix", home / ".wine");
    const fs::path driveC = elsewhere / "drive_c";
    // What a prefix holds: links back to the user's folders, to the prefix, to the root.
    fs::create_directories(driveC / "users" / "me");
    fs::create_directory_symlink(home.path(), driveC / "users" / "me" / "Desktop");
    fs::create_directory_symlink(home / "outside", driveC / "Telvio link");
    fs::create_directory_symlink(home / ".wine", driveC / "prefix");
    fs::create_directory_symlink("/", driveC / "root");
    fs::create_directories(home / "prefix" / "dosdevices");
    fs::create_directory_symlink("/", home / "prefix" / "dosdevices" / "z:");
    fs::create_symlink(home / "outside" / "Telvio.ini", driveC / "users" / "Telvio.ini");

    EXPECT_EQ(FindTelvioFolders(home / ".wine"),
              Below(elsewhere, {"drive_c/Program Files/Telvio"}));
}

TEST(WinePrefixSearch, EntryBudgetEndsTheSearch) {
    // drive_c holds "a" and "b"; "a" holds 10 files; b holds Telvio.ini. Reading drive_c
    // costs 2 entries, "a" 10 more, then "b" 1: the budget decides whether "b" is reached.
    test::TempDir home;
    for (int i = 0; i < 10; ++i) {
        Touch(home / ".wine" / "drive_c" / "a", "file" + std::to_string(i));
    }
    Touch(home / ".wine", "drive_c/b/Telvio.ini");
    struct Case {
        std::size_t budget;
        bool reachesB;
    };
    for (const Case c :
         {Case{.budget = 13, .reachesB = true}, Case{.budget = 12, .reachesB = false}}) {
        EXPECT_EQ(FindTelvioFolders(home / ".wine", {.entriesPerPrefix = c.budget}).size(),
                  c.reachesB ? 1U : 0U)
            << c.budget;
    }
}

TEST(WinePrefixSearch, UnreadableFolderIsSkipped) {
    if (!test::CanSwitchUsers()) {
        GTEST_SKIP() << "needs root to become another user";
    }
    test::TempDir home;
    ::chmod(home.path().c_str(), 0755);
    Touch(home / ".wine", "drive_c/a locked/Telvio/Telvio.ini");
    Touch(home / ".wine", "drive_c/b open/Telvio.ini");
    Touch(home / ".wine", "drive_c/c unreadable file/Telvio.ini");
    ::chmod((home / ".wine/drive_c/a locked").c_str(), 0700);
    ::chmod((home / ".wine/drive_c/c unreadable file/Telvio.ini").c_str(), 0600);
    const int found = test::RunAsUser({65534, 65534, {}}, [&] {
        const std::vector<fs::path> folders = FindTelvioFolders(home / ".wine");
        return folders == Below(home / ".wine", {"drive_c/b open"}) ? 1 : 0;
    });
    EXPECT_EQ(found, 1);
}

TEST(WinePrefixSearch, PrefixesEachOnceInTheirOrder) {
    test::TempDir home;
    fs::create_directories(home / ".wine");
    fs::create_directories(home / ".local/share/wineprefixes/b");
    fs::create_directories(home / ".local/share/wineprefixes/a");
    test::WriteBytes(home / ".local/share/wineprefixes/not a folder", "");
    fs::create_directory_symlink(home / ".wine", home / ".local/share/wineprefixes/c same");
    fs::create_directories(home / "special");

    const std::string special = (home / "special").string();
    const std::string homePath = home.path().string();
    const fs::path root = fs::canonical(home.path());
    EXPECT_EQ(
        ListWinePrefixes(WinePrefixPlaces::FromEnvironment(special.c_str(), homePath.c_str())),
        (std::vector<fs::path>{root / "special", root / ".wine",
                               root / ".local/share/wineprefixes/a",
                               root / ".local/share/wineprefixes/b"}));
    // A relative WINEPREFIX or HOME is ignored, as the XDG rules ask for such variables.
    EXPECT_EQ(
        ListWinePrefixes(WinePrefixPlaces::FromEnvironment("special", homePath.c_str())).front(),
        root / ".wine");
    EXPECT_TRUE(ListWinePrefixes(WinePrefixPlaces::FromEnvironment(nullptr, "home")).empty());
}

TEST(WinePrefixSearch, FolderReachedFromTwoPrefixesIsListedOnceAndAStopEndsAll) {
    test::TempDir home;
    Touch(home / ".wine", "drive_c/Telvio/Telvio.ini");
    fs::create_directories(home / "other");
    fs::create_directory_symlink(home / ".wine" / "drive_c", home / "other" / "drive_c");
    EXPECT_EQ(FindTelvioFoldersInPrefixes({home / "other", home / ".wine"}),
              Below(home / ".wine", {"drive_c/Telvio"}));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_TRUE(FindTelvioFoldersInPrefixes({home / ".wine"}, {}, stop.get_token()).empty());
}

} // namespace
} // namespace kfg::places
