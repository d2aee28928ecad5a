// The one listing of a folder's kept states, the names later saves do not change, and the
// restore that keeps what it replaces first.
#include "platform/save_history.h"
#include "support/child_process.h"
#include "support/temp_dir.h"
#include "telvio/earlier_states.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace kfg::telvio {
namespace {

namespace fs = std::filesystem;
using Result = RestoreOutcome::Result;

// The V 3.20 marker ("Status=" and "Proportional") with one value that tells states apart.
std::string V320With(int farbe) {
    return "[Telvio]\r\nStatus=1\r\nProportional=1\r\nFarbe=" + std::to_string(farbe) + "\r\n";
}

// Names read in UTC, so that a test's expected names do not depend on the machine's zone.
class InUtc {
public:
    InUtc() {
        if (const char* zone = std::getenv("TZ")) {
            saved_ = zone;
        }
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~InUtc() {
        if (saved_) {
            ::setenv("TZ", saved_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    InUtc(const InUtc&) = delete;
    InUtc& operator=(const InUtc&) = delete;

private:
    std::optional<std::string> saved_;
};

struct Fixture {
    test::TempDir dir;
    fs::path folder = dir / "Telvio";
    std::shared_ptr<platform::SaveHistory> history =
        std::make_shared<platform::SaveHistory>(platform::StateFolder(dir / "state" / "kfg"));
    settings::ProfileStore store{{}, {}, history};
    EarlierStates states{store, folder};

    Fixture() { fs::create_directory(folder); }

    // Plants a state of `file` kept at `nanoseconds`, as a keep at that time would have.
    void Plant(std::string_view file, std::int64_t nanoseconds, const std::string& bytes) {
        const fs::path path = folder / file;
        EXPECT_FALSE(history->Keep(path, "first")); // makes the folders
        const fs::path statesFolder = history->States(path).at(0).path.parent_path();
        fs::remove(history->States(path).at(0).path);
        char name[21] = {};
        std::snprintf(name, sizeof name, "%020lld", static_cast<long long>(nanoseconds));
        test::WriteBytes(statesFolder / name, bytes);
        ::chmod((statesFolder / name).c_str(), 0600);
    }
};

struct Expected {
    std::size_t number;
    std::string_view file;
    std::string name;
};

std::vector<Expected> Shown(const std::vector<ListedState>& listed) {
    std::vector<Expected> shown;
    for (const ListedState& state : listed) {
        shown.push_back({.number = state.number, .file = state.file, .name = state.name});
    }
    return shown;
}

bool operator==(const Expected& a, const Expected& b) {
    return a.number == b.number && a.file == b.file && a.name == b.name;
}

void PrintTo(const Expected& e, std::ostream* out) {
    *out << e.number << " " << e.file << " " << e.name;
}

constexpr std::int64_t kSecond = 1'000'000'000;
constexpr std::int64_t k2023 = 1'700'000'000 * kSecond; // 2023-11-14T22:13:20Z

// One list, newest first across both files; states of one second get the fractional digits
// that tell them apart, in every listing, also where the other state is not listed.
TEST(EarlierStates, OneListNewestFirstWithNamesThatTellEachStateApart) {
    const InUtc utc;
    Fixture f;
    f.Plant("Telvio.ini", k2023 + 100'000'000, V320With(1));
    f.Plant("KFG.ini", k2023 + 150'000'000, "[KFG]\r\nFr=1\r\n");
    f.Plant("Telvio.ini", k2023 + 5 * kSecond, V320With(2));
    EXPECT_EQ(Shown(f.states.List()),
              (std::vector<Expected>{
                  {.number = 1, .file = "Telvio.ini", .name = "2023-11-14T22:13:25+00:00"},
                  {.number = 2, .file = "KFG.ini", .name = "2023-11-14T22:13:20.15+00:00"},
                  {.number = 3, .file = "Telvio.ini", .name = "2023-11-14T22:13:20.10+00:00"}}));
    EXPECT_EQ(Shown(f.states.List("Telvio.ini")),
              (std::vector<Expected>{
                  {.number = 1, .file = "Telvio.ini", .name = "2023-11-14T22:13:25+00:00"},
                  {.number = 2, .file = "Telvio.ini", .name = "2023-11-14T22:13:20.10+00:00"}}));
    // Each state with what replaced it: the state after it, the file now for the newest.
    test::WriteBytes(f.folder / "Telvio.ini", V320With(3));
    const std::vector<ListedState> listed = f.states.List("Telvio.ini");
    EXPECT_EQ(listed[0].bytes, V320With(2));
    EXPECT_EQ(listed[0].bytesAfter, V320With(3));
    EXPECT_EQ(listed[1].bytesAfter, V320With(2));
}

// A time finds the states its name gives: the name as listed, or fewer fractional digits
// (printed before another state shared its second), in any offset from UTC.
TEST(EarlierStates, ATimeFindsTheStatesItsNameGives) {
    const InUtc utc;
    Fixture f;
    f.Plant("Telvio.ini", k2023 + 100'000'000, V320With(1));
    f.Plant("KFG.ini", k2023 + 150'000'000, "[KFG]\r\nFr=1\r\n");
    f.Plant("Telvio.ini", k2023 + 5 * kSecond, V320With(2));
    const std::vector<ListedState> listed = f.states.List();
    struct Case {
        const char* text;
        std::optional<std::vector<std::size_t>> numbers; // none: not a time
    };
    const Case cases[] = {
        {.text = "2023-11-14T22:13:20.10+00:00", .numbers = {{3}}},
        {.text = "2023-11-14T22:13:20.15Z", .numbers = {{2}}},
        {.text = "2023-11-14T23:43:20.15+01:30", .numbers = {{2}}},
        {.text = "2023-11-14T22:13:20.1+00:00", .numbers = {{2, 3}}},
        {.text = "2023-11-14T22:13:20+00:00", .numbers = {{2, 3}}},
        {.text = "2023-11-14T22:13:25.000000000+00:00", .numbers = {{1}}},
        {.text = "2023-11-14T22:13:26+00:00", .numbers = {{}}},
        {.text = "2023-11-14T22:13:20", .numbers = std::nullopt},
        {.text = "2023-11-14T22:13:20.+00:00", .numbers = std::nullopt},
        {.text = "2023-11-14T22:13:20.1234567890+00:00", .numbers = std::nullopt},
        {.text = "2023-11-14T22:13:20+00:00 ", .numbers = std::nullopt},
        {.text = "2", .numbers = std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto named = StatesNamed(c.text, listed);
        ASSERT_EQ(named.has_value(), c.numbers.has_value());
        if (named) {
            std::vector<std::size_t> numbers;
            for (const ListedState* state : *named) {
                numbers.push_back(state->number);
            }
            EXPECT_EQ(numbers, *c.numbers);
        }
    }
}

// Before a restore writes, what the file holds is kept; when there is nothing to keep it just
// writes; a state of another edition, or over a file that tells none, waits to be asked for.
TEST(EarlierStates, RestoreKeepsWhatItReplacesAndChecksTheEdition) {
    struct Case {
        const char* what;
        std::optional<std::string> now; // the file before the restore; none: missing
        EditionCheck check;
        Result result;
        bool replacedKept; // a state holds what the file held
    };
    const Case cases[] = {
        {.what = "a changed file",
         .now = V320With(5),
         .check = EditionCheck::Made,
         .result = Result::Restored,
         .replacedKept = true},
        {.what = "the bytes of the newest state",
         .now = V320With(2),
         .check = EditionCheck::Made,
         .result = Result::Restored,
         .replacedKept = true},
        {.what = "a missing file",
         .now = std::nullopt,
         .check = EditionCheck::Made,
         .result = Result::Restored,
         .replacedKept = false},
        {.what = "an empty file",
         .now = "",
         .check = EditionCheck::Made,
         .result = Result::Restored,
         .replacedKept = false},
        {.what = "a file of Telvio 2.83",
         .now = "[Telvio]\r\nOptimierungBT=1\r\n",
         .check = EditionCheck::Made,
         .result = Result::OtherEdition,
         .replacedKept = false},
        {.what = "a file of Telvio 2.83, asked for",
         .now = "[Telvio]\r\nOptimierungBT=1\r\n",
         .check = EditionCheck::Skipped,
         .result = Result::Restored,
         .replacedKept = true},
        {.what = "a file that tells no edition",
         .now = "[Telvio]\r\nFarbe=9\r\n",
         .check = EditionCheck::Made,
         .result = Result::UndecidedEdition,
         .replacedKept = false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        const fs::path file = f.folder / "Telvio.ini";
        test::WriteBytes(file, V320With(1));
        ASSERT_FALSE(f.store.WriteAll(file, V320With(2))); // keeps V320With(1)
        if (c.now) {
            test::WriteBytes(file, *c.now);
        } else {
            fs::remove(file);
        }
        const std::vector<ListedState> before = f.states.List();
        ASSERT_EQ(before.size(), 1u);
        const RestoreOutcome outcome = f.states.Restore(before[0], c.check);
        EXPECT_EQ(outcome.result, c.result);
        const std::vector<ListedState> after = f.states.List();
        if (c.result != Result::Restored) {
            EXPECT_EQ(test::ReadBytes(file), *c.now);
            EXPECT_EQ(after.size(), 1u);
            continue;
        }
        EXPECT_EQ(test::ReadBytes(file), V320With(1));
        EXPECT_EQ(outcome.replacedBy.has_value(), c.replacedKept);
        if (c.replacedKept) {
            ASSERT_EQ(after.size(), 2u);
            EXPECT_EQ(after[0].replacedNanoseconds, *outcome.replacedBy);
            EXPECT_EQ(after[0].bytes, *c.now);
        } else {
            EXPECT_EQ(after.size(), 1u);
        }
    }
}

// A restore whose keep fails writes nothing, whatever the keep met: a states folder the user
// may not write (as an ordinary user), a file size limit below the bytes (as a full disk).
TEST(EarlierStates, RestoreWritesNothingWhenWhatItReplacesCannotBeKept) {
    if (!test::CanSwitchUsers()) {
        GTEST_SKIP() << "needs root to act as an ordinary user";
    }
    const test::UserIds kUser{4101, 4101, {}};
    struct Case {
        const char* what;
        bool readOnlyStates;
        rlim_t sizeLimit; // RLIM_INFINITY: none
    };
    const Case cases[] = {
        {.what = "read-only states folder", .readOnlyStates = true, .sizeLimit = RLIM_INFINITY},
        {.what = "file size limit", .readOnlyStates = false, .sizeLimit = 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        const fs::path file = f.folder / "Telvio.ini";
        test::WriteBytes(file, V320With(1));
        ASSERT_FALSE(f.store.WriteAll(file, V320With(2)));
        const fs::path statesFolder = f.history->States(file).at(0).path.parent_path();
        ASSERT_EQ(std::system(("chown -R 4101:4101 '" + f.dir.path().string() + "'").c_str()), 0);
        if (c.readOnlyStates) {
            ::chmod(statesFolder.c_str(), 0500);
        }
        const int outcome = test::RunAsUser(kUser, [&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{c.sizeLimit, c.sizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            settings::ProfileStore store({}, {}, f.history);
            EarlierStates states(store, f.folder);
            return static_cast<int>(states.Restore(states.List().at(0), EditionCheck::Made).result);
        });
        EXPECT_EQ(outcome, static_cast<int>(Result::NotKept));
        EXPECT_EQ(test::ReadBytes(file), V320With(2));
    }
}

} // namespace
} // namespace kfg::telvio
