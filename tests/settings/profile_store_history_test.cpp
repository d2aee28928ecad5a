// The earlier states a save keeps: what, when, how many, and that a history that cannot be
// written never stops a save.
#include "platform/save_history.h"
#include "settings/profile_store.h"
#include "support/child_process.h"
#include "support/file_mode.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kfg::settings {
namespace {

namespace fs = std::filesystem;
using platform::SaveHistory;

std::string FileWith(int farbe) {
    return "[Telvio]\r\nFarbe=" + std::to_string(farbe) + "\r\n; mine\r\n";
}

// The kept bytes, newest first.
std::vector<std::string> Kept(const SaveHistory& history, const fs::path& file) {
    std::vector<std::string> kept;
    for (const platform::KeptState& state : history.States(file)) {
        kept.push_back(test::ReadBytes(state.path));
    }
    return kept;
}

struct Fixture {
    test::TempDir dir;
    fs::path folder = dir / "Telvio";
    fs::path file = folder / "Telvio.ini";
    std::shared_ptr<SaveHistory> history =
        std::make_shared<SaveHistory>(platform::StateFolder(dir / "state" / "kfg"));
    std::vector<ProfileFailure> reported;
    ProfileStore store{[this](const ProfileFailure& f) { reported.push_back(f); }, {}, history};

    Fixture() {
        fs::create_directory(folder);
        test::WriteBytes(file, FileWith(1));
    }
};

TEST(StoreKeeping, EachSaveKeepsTheBytesItReplacedOnce) {
    Fixture f;
    {
        auto gathered = f.store.Gather(); // many keys, one save, one state
        ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "2"));
        ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Kontrast", "7"));
    }
    const std::string second = test::ReadBytes(f.file);
    ASSERT_FALSE(f.store.WriteAll(f.file, FileWith(3))); // whole bytes are kept the same way
    EXPECT_EQ(f.store.GetString(f.file, "Telvio", "Farbe", "", 20), "3"); // reads see them
    EXPECT_EQ(test::ReadBytes(f.file), FileWith(3));

    EXPECT_EQ(Kept(*f.history, f.file), (std::vector<std::string>{second, FileWith(1)}));
    const auto states = f.history->States(f.file);
    ASSERT_EQ(states.size(), 2u);
    EXPECT_GT(states[0].replacedNanoseconds, states[1].replacedNanoseconds);
    EXPECT_TRUE(f.reported.empty());

    // Private to the user: folders 0700, states 0600; the folder note names the Telvio folder.
    const fs::path perFile = states[0].path.parent_path();
    for (const fs::path& folder : {f.history->Root(), perFile.parent_path(), perFile}) {
        EXPECT_EQ(test::ModeOf(folder), 0700u) << folder;
    }
    EXPECT_EQ(test::ModeOf(states[0].path), 0600u);
    EXPECT_EQ(perFile.filename(), "Telvio.ini");
    EXPECT_EQ(test::ReadBytes(perFile.parent_path() / "folder"),
              fs::canonical(f.folder).string() + "\n");
}

TEST(StoreKeeping, KeepsNothingWhenNothingNewWouldBeKept) {
    struct Case {
        const char* what;
        void (*act)(Fixture&);
        std::size_t kept; // states of the file
    };
    const Case cases[] = {
        {.what = "a save of the values the file holds",
         .act =
             [](Fixture& f) { ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "1")); },
         .kept = 0},
        {.what = "a file the save creates",
         .act =
             [](Fixture& f) {
                 ASSERT_FALSE(f.store.WriteString(f.folder / "KFG.ini", "KFG", "Fr", "1"));
             },
         .kept = 0},
        {.what = "another program put back the newest kept bytes",
         .act =
             [](Fixture& f) {
                 ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "2")); // keeps 1
                 test::WriteBytes(f.file, FileWith(1));
                 ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "3")); // 1 again
             },
         .kept = 1},
        {.what = "an empty file, which holds no setting",
         .act =
             [](Fixture& f) {
                 test::WriteBytes(f.file, "");
                 ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", "2"));
             },
         .kept = 0},
        {.what = "a save refused because the file is read-only",
         .act =
             [](Fixture& f) {
                 ::chmod(f.file.c_str(), 0444);
                 ASSERT_TRUE(f.store.WriteString(f.file, "Telvio", "Farbe", "2"));
             },
         .kept = 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        c.act(f);
        EXPECT_EQ(f.history->States(f.file).size(), c.kept);
        EXPECT_EQ(f.history->States(f.folder / "KFG.ini").size(), 0u);
    }
}

TEST(StoreKeeping, KeepsTheNewestFiftyStates) {
    Fixture f;
    for (int value = 2; value <= 61; ++value) { // sixty saves, each a change
        ASSERT_FALSE(f.store.WriteString(f.file, "Telvio", "Farbe", std::to_string(value)));
    }
    const std::vector<std::string> kept = Kept(*f.history, f.file);
    ASSERT_EQ(kept.size(), platform::kKeptStatesPerFile);
    EXPECT_EQ(kept.front(), FileWith(60)); // what the last save replaced
    EXPECT_EQ(kept.back(), FileWith(11));  // the ten oldest went
}

TEST(StoreKeeping, FoldersKeepApartAndOnePathByAnyNameIsOneHistory) {
    Fixture f;
    const fs::path other = f.dir / "Other";
    fs::create_directory(other);
    test::WriteBytes(other / "Telvio.ini", FileWith(5));
    fs::create_directory_symlink(f.folder, f.dir / "Link");

    ASSERT_FALSE(f.store.WriteString(f.dir / "Link" / "Telvio.ini", "Telvio", "Farbe", "2"));
    ASSERT_FALSE(f.store.WriteString(other / "Telvio.ini", "Telvio", "Farbe", "6"));

    EXPECT_EQ(Kept(*f.history, f.file), std::vector<std::string>{FileWith(1)});
    EXPECT_EQ(Kept(*f.history, other / "Telvio.ini"), std::vector<std::string>{FileWith(5)});
}

// Every way the state folder can refuse: the save happens all the same, and the reason is a
// notice for the diagnostics, not a failure the user is told of.
TEST(StoreKeeping, AnUnwritableStateFolderNeverStopsASave) {
    constexpr uid_t kUser = 4101;
    // A file where the state folder would be, and a read-only state folder (root writes into
    // any folder, so that one is tried by an ordinary user).
    for (const bool readOnlyFolder : {false, true}) {
        SCOPED_TRACE(readOnlyFolder);
        if (readOnlyFolder && !test::CanSwitchUsers()) {
            continue;
        }
        test::TempDir dir;
        const fs::path file = dir / "Telvio.ini";
        test::WriteBytes(file, FileWith(1));
        ASSERT_EQ(::chown(dir.path().c_str(), kUser, kUser), 0);
        ASSERT_EQ(::chown(file.c_str(), kUser, kUser), 0);
        if (readOnlyFolder) {
            fs::create_directory(dir / "state");
            ::chmod((dir / "state").c_str(), 0555);
        } else {
            test::WriteBytes(dir / "state", "");
        }
        const auto history =
            std::make_shared<SaveHistory>(platform::StateFolder(dir / "state" / "kfg"));
        const std::string root = history->Root().string();
        const auto save = [&] {
            std::vector<ProfileFailure> reported;
            ProfileStore store([&](const ProfileFailure& f) { reported.push_back(f); }, {},
                               history);
            const auto failures = store.CollectFailures();
            const bool saved = !store.WriteString(file, "Telvio", "Farbe", "2");
            const bool noticed = reported.size() == 1 && reported[0].notice && reported[0].error &&
                                 reported[0].operation.find(root) != std::string::npos;
            return saved && noticed && failures.Failures().empty() ? 0 : 1;
        };
        EXPECT_EQ(readOnlyFolder ? test::RunAsUser({kUser, kUser, {}}, save) : save(), 0);
        EXPECT_EQ(test::ReadBytes(file), FileWith(2));
    }
}

} // namespace
} // namespace kfg::settings
