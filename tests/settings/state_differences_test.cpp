#include "settings/state_differences.h"

#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace kfg::settings {
namespace {

TEST(StateDifferences, NamesTheKeysAStoreReadsDifferently) {
    struct Case {
        const char* what;
        const char* before;
        const char* after;
        std::vector<std::string> keys;
    };
    const Case cases[] = {
        {.what = "a value",
         .before = "[T]\r\nA=1\r\nB=2\r\n",
         .after = "[T]\r\nA=1\r\nB=3\r\n",
         .keys = {"B"}},
        {.what = "added and removed keys, in the order of the later file, then the earlier",
         .before = "[T]\r\nA=1\r\nB=2\r\n",
         .after = "[T]\r\nC=1\r\nB=2\r\n",
         .keys = {"C", "A"}},
        {.what = "comments, blanks, line ends and letter case of names are no difference",
         .before = "[T]\r\nA = 1\r\n; old\r\n",
         .after = "[t]\nA=1\n\n; new\n",
         .keys = {}},
        {.what = "a later duplicate of a key is never read",
         .before = "[T]\nA=1\nA=2\n",
         .after = "[T]\nA=1\nA=3\n",
         .keys = {}},
        {.what = "keys of several sections name their section",
         .before = "[T]\nA=1\n[U]\nA=1\n",
         .after = "[T]\nA=2\n[U]\nA=2\n",
         .keys = {"[T] A", "[U] A"}},
        {.what = "a section removed or added counts once",
         .before = "[T]\nA=1\n[Sport]\nA=1\nB=2\n",
         .after = "[Nacht]\nA=1\n[T]\nA=1\n",
         .keys = {"[Nacht]", "[Sport]"}},
        {.what = "a file that was missing", .before = "", .after = "[T]\nA=1\n", .keys = {"[T]"}},
        {.what = "a key without a name is a key", .before = "=1\n", .after = "=2\n", .keys = {""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeysThatDiffer(c.before, c.after), c.keys) << c.what;
    }
}

// Each difference with the value on either side, so that a listing can show what changed:
// whole sections of a state first, then its keys.
TEST(StateDifferences, GiveTheValueInEachState) {
    const auto differences =
        StateDifferences("[T]\nA=1\nB=2\n[Sport]\nA=1\n", "[T]\nA=5\nC=3\n[Nacht]\nA=1\n");
    struct Expected {
        const char* section;
        std::optional<std::string> key;
        std::optional<std::string> before;
        std::optional<std::string> after;
    };
    const Expected expected[] = {
        {.section = "Nacht", .key = std::nullopt, .before = std::nullopt, .after = ""},
        {.section = "T", .key = "A", .before = "1", .after = "5"},
        {.section = "T", .key = "C", .before = std::nullopt, .after = "3"},
        {.section = "Sport", .key = std::nullopt, .before = "", .after = std::nullopt},
        {.section = "T", .key = "B", .before = "2", .after = std::nullopt},
    };
    ASSERT_EQ(differences.size(), std::size(expected));
    for (std::size_t i = 0; i < differences.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(differences[i].section, expected[i].section);
        EXPECT_EQ(differences[i].key, expected[i].key);
        EXPECT_EQ(differences[i].before, expected[i].before);
        EXPECT_EQ(differences[i].after, expected[i].after);
    }
}

} // namespace
} // namespace kfg::settings
