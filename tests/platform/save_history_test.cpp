// The history of saves on its own: where states lie, which are listed (only the user's own),
// and why nothing would be kept.
#include "platform/save_history.h"
#include "platform/unique_fd.h"
#include "support/child_process.h"
#include "support/file_mode.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kfg::platform {
namespace {

namespace fs = std::filesystem;

std::string FileWith(int farbe) {
    return "[Telvio]\r\nFarbe=" + std::to_string(farbe) + "\r\n; mine\r\n";
}

// The kept bytes, newest first.
std::vector<std::string> Kept(const SaveHistory& history, const fs::path& file) {
    std::vector<std::string> kept;
    for (const KeptState& state : history.States(file)) {
        kept.push_back(test::ReadBytes(state.path));
    }
    return kept;
}

// A folder with its settings file, and a history in a state folder beside it.
struct Fixture {
    test::TempDir dir;
    fs::path folder = dir / "Telvio";
    fs::path file = folder / "Telvio.ini";
    std::shared_ptr<SaveHistory> history =
        std::make_shared<SaveHistory>(StateFolder(dir / "state" / "kfg"));

    Fixture() {
        fs::create_directory(folder);
        test::WriteBytes(file, FileWith(1));
    }
};

// A history folder whose name another Telvio folder's note or a file took is not this folder's:
// listing shows none of it, and the next keep takes the next free name, where listing finds it.
TEST(SaveHistory, ANameTakenByAnotherFolderIsPassedOver) {
    for (const bool takenByFile : {false, true}) {
        SCOPED_TRACE(takenByFile);
        Fixture f;
        ASSERT_FALSE(f.history->Keep(f.file, FileWith(1)));
        const fs::path taken = f.history->States(f.file).at(0).path.parent_path().parent_path();
        if (takenByFile) {
            fs::remove_all(taken);
            test::WriteBytes(taken, "");
        } else {
            test::WriteBytes(taken / "folder", "/another/folder\n");
        }
        EXPECT_TRUE(f.history->States(f.file).empty());

        ASSERT_FALSE(f.history->Keep(f.file, FileWith(2)));
        const auto states = f.history->States(f.file);
        ASSERT_EQ(states.size(), 1u);
        EXPECT_EQ(test::ReadBytes(states[0].path), FileWith(2));
        EXPECT_NE(states[0].path.parent_path().parent_path(), taken);
    }
}

// Below a private state folder, only what the user kept counts: a state another user owns or
// may write, a slot folder of another user's, and names that are no state (one beyond 64 bits)
// are never listed, and a keep goes on beside them.
TEST(SaveHistory, OnlyTheUsersOwnStatesAreListed) {
    constexpr uid_t kOther = 4102;
    Fixture f;
    ASSERT_FALSE(f.history->Keep(f.file, FileWith(1)));
    const KeptState own = f.history->States(f.file).at(0);
    const fs::path states = own.path.parent_path();
    struct Planted {
        const char* name;
        uid_t owner;
        mode_t mode;
    };
    const Planted planted[] = {
        {.name = "00000000000000000002", .owner = kOther, .mode = 0600},
        {.name = "00000000000000000003", .owner = 0, .mode = 0666},
        {.name = "99999999999999999999", .owner = 0, .mode = 0600},
        {.name = "0000000000000000004x", .owner = 0, .mode = 0600},
    };
    for (const Planted& p : planted) {
        test::WriteBytes(states / p.name, FileWith(7));
        ASSERT_EQ(::chown((states / p.name).c_str(), p.owner, p.owner), 0);
        ASSERT_EQ(::chmod((states / p.name).c_str(), p.mode), 0);
    }
    // A slot of another user's that names the same folder, where the first free slot would be.
    const fs::path slot = states.parent_path();
    ASSERT_FALSE(f.history->Keep(f.folder / "KFG.ini", FileWith(3)));
    std::string bytes;
    EXPECT_FALSE(f.history->ReadState(f.file, own.replacedNanoseconds, bytes));
    EXPECT_EQ(bytes, FileWith(1));
    EXPECT_TRUE(f.history->ReadState(f.file, 2, bytes)); // listed nowhere, read by none
    ASSERT_EQ(::chown(slot.c_str(), kOther, kOther), 0);
    EXPECT_TRUE(f.history->States(f.file).empty());
    EXPECT_TRUE(f.history->States(f.folder / "KFG.ini").empty());
    ASSERT_EQ(::chown(slot.c_str(), 0, 0), 0);

    EXPECT_EQ(f.history->States(f.file).size(), 1u);
    ASSERT_FALSE(f.history->Keep(f.file, FileWith(2)));
    const auto listed = f.history->States(f.file);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(test::ReadBytes(listed[0].path), FileWith(2));
    EXPECT_GT(listed[0].replacedNanoseconds, own.replacedNanoseconds);
}

// A name at the end of the 64-bit range leaves no later name: a keep takes the clock's time
// rather than running over.
TEST(SaveHistory, ANameAtTheEndOfTheRangeOverflowsNothing) {
    Fixture f;
    ASSERT_FALSE(f.history->Keep(f.file, FileWith(1)));
    const fs::path states = f.history->States(f.file).at(0).path.parent_path();
    test::WriteBytes(states / "09223372036854775807", FileWith(5));
    ::chmod((states / "09223372036854775807").c_str(), 0600);
    ASSERT_FALSE(f.history->Keep(f.file, FileWith(2)));
    EXPECT_EQ(Kept(*f.history, f.file),
              (std::vector<std::string>{FileWith(5), FileWith(2), FileWith(1)}));
}

// Why nothing would be kept, as a keep would find it, checked as an ordinary user: the state
// folder and the folders below it must be the user's alone and writable; a missing one must be
// possible to make.
TEST(SaveHistory, WhyNothingIsKeptNamesTheFolderAtFault) {
    if (!test::CanSwitchUsers()) {
        GTEST_SKIP() << "needs root to act as two ordinary users";
    }
    const test::UserIds kUser{4101, 4101, {}};
    constexpr uid_t kOther = 4102;
    // Each case changes the folders after the user's first keep: `state` ("state/kfg"), the
    // history folder below it, or the place of the state folder.
    struct Case {
        const char* what;
        void (*change)(const fs::path& state);
        std::error_code expected;
        const char* where; // relative to the temporary folder
    };
    const Case cases[] = {
        {.what = "the user's private folders",
         .change = [](const fs::path&) {},
         .expected = {},
         .where = nullptr},
        {.what = "no state folder yet, its parent the user's",
         .change = [](const fs::path& state) { fs::remove_all(state); },
         .expected = {},
         .where = nullptr},
        {.what = "no state folder yet, its parent read-only",
         .change =
             [](const fs::path& state) {
                 fs::remove_all(state);
                 ::chmod(state.parent_path().c_str(), 0555);
             },
         .expected = std::make_error_code(std::errc::permission_denied),
         .where = "state"},
        {.what = "another user's",
         .change = [](const fs::path& state) { ::chown(state.c_str(), kOther, kOther); },
         .expected = PrivateFolderErrc::NotOwned,
         .where = "state/kfg"},
        {.what = "open to the group",
         .change = [](const fs::path& state) { ::chmod(state.c_str(), 0770); },
         .expected = PrivateFolderErrc::OpenToOthers,
         .where = "state/kfg"},
        {.what = "a link to the user's private folder",
         .change =
             [](const fs::path& state) {
                 fs::rename(state, state.parent_path() / "real");
                 fs::create_directory_symlink(state.parent_path() / "real", state);
                 ::lchown(state.c_str(), 4101, 4101);
             },
         .expected = PrivateFolderErrc::Link,
         .where = "state/kfg"},
        // Keeps write below it only.
        {.what = "the user's, read-only",
         .change = [](const fs::path& state) { ::chmod(state.c_str(), 0500); },
         .expected = {},
         .where = nullptr},
        {.what = "the user's, read-only, without a history yet",
         .change =
             [](const fs::path& state) {
                 fs::remove_all(state / "history");
                 ::chmod(state.c_str(), 0500);
             },
         .expected = std::make_error_code(std::errc::permission_denied),
         .where = "state/kfg"},
        {.what = "the history folder open to all",
         .change = [](const fs::path& state) { ::chmod((state / "history").c_str(), 0777); },
         .expected = PrivateFolderErrc::OpenToOthers,
         .where = "state/kfg/history"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const fs::path file = dir / "Telvio.ini";
        test::WriteBytes(file, FileWith(1));
        const StateFolder stateFolder(dir / "state" / "kfg");
        SaveHistory history(stateFolder);
        ASSERT_EQ(::chown(dir.path().c_str(), kUser.uid, kUser.gid), 0);
        ASSERT_EQ(test::RunAsUser(kUser, [&] { return history.Keep(file, FileWith(2)) ? 1 : 0; }),
                  0);
        c.change(stateFolder.Path());
        const fs::path where = c.where != nullptr ? dir / c.where : fs::path();
        const int found = test::RunAsUser(kUser, [&] {
            fs::path at;
            const std::error_code error = history.WhyNothingIsKept(file, at);
            const bool keeps = !history.Keep(file, FileWith(3));
            // 0: as expected; else which check failed.
            return error != c.expected ? 1 : (error && at != where) ? 2 : keeps == !!error ? 3 : 0;
        });
        EXPECT_EQ(found, 0);
    }
}

// The user's history lies in the state folder; without one nothing is kept (not in the
// current folder).
TEST(SaveHistory, StateFolderFollowsTheXdgRules) {
    // XDG_STATE_HOME and HOME as the base-directory rules read them, and the state folder they
    // give.
    struct Case {
        const char* xdgStateHome;
        const char* home;
        const char* expected; // nullptr: no state folder
    };
    const Case cases[] = {
        {.xdgStateHome = "/x/state", .home = "/home/u", .expected = "/x/state"},
        // Relative: ignored, as the rules say.
        {.xdgStateHome = "state", .home = "/home/u", .expected = "/home/u/.local/state"},
        {.xdgStateHome = "", .home = "/home/u", .expected = "/home/u/.local/state"},
        {.xdgStateHome = nullptr, .home = "/home/u", .expected = "/home/u/.local/state"},
        {.xdgStateHome = nullptr, .home = "home", .expected = nullptr},
        {.xdgStateHome = nullptr, .home = nullptr, .expected = nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdgStateHome ? c.xdgStateHome : "(unset)");
        const fs::path expected = c.expected ? fs::path(c.expected) / "kfg" : fs::path();
        EXPECT_EQ(KfgStateFolder(c.xdgStateHome, c.home), expected);
        SaveHistory history(StateFolder::OfEnvironment(c.xdgStateHome, c.home));
        if (c.expected) {
            EXPECT_EQ(history.Root(), expected / "history");
        } else {
            EXPECT_TRUE(history.Root().empty());
            EXPECT_EQ(history.Keep("Telvio.ini", "[Telvio]\n"), PrivateFolderErrc::NoStateFolder);
        }
    }
}

// Leftovers of killed keeps go by the saves' rule, under the states folder's lock; a keep never
// waits for it, and while another process holds it the leftovers stay.
TEST(SaveHistory, LeftoversGoUnderTheLockAndAKeepNeverWaitsForIt) {
    for (const bool lockHeld : {true, false}) {
        SCOPED_TRACE(lockHeld ? "lock held elsewhere" : "lock free");
        Fixture f;
        ASSERT_FALSE(f.history->Keep(f.file, FileWith(1)));
        const fs::path states = f.history->States(f.file).at(0).path.parent_path();
        for (const char* leftover : {".00000000000000000007.kfg-a1B2c3", ".keep-17-42"}) {
            test::WriteBytes(states / leftover, "cut short");
        }
        const UniqueFd held(::open(states.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        ASSERT_EQ(::flock(held.get(), lockHeld ? LOCK_EX : LOCK_UN), 0);
        ASSERT_FALSE(f.history->Keep(f.file, FileWith(2))); // returns at once either way
        const std::vector<std::string> entries = test::EntryNames(states);
        const bool leftoversStay =
            std::count_if(entries.begin(), entries.end(),
                          [](const std::string& name) { return name.starts_with('.'); }) == 2;
        EXPECT_EQ(leftoversStay, lockHeld);
        EXPECT_EQ(Kept(*f.history, f.file), (std::vector<std::string>{FileWith(2), FileWith(1)}));
    }
}

} // namespace
} // namespace kfg::platform
