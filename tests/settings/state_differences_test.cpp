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
        {"a value", "[T]\r\nA=1\r\nB=2\r\n", "[T]\r\nA=1\r\nB=3\r\n", {"B"}},
        {"added and removed keys, in the order of the later file, then the earlier",
         "[T]\r\nA=1\r\nB=2\r\n",
         "[T]\r\nC=1\r\nB=2\r\n",
         {"C", "A"}},
        {"comments, blanks, line ends and letter case of names are no difference",
         "[T]\r\nA = 1\r\n; old\r\n",
         "[t]\nA=1\n\n; new\n",
         {}},
        {"a later duplicate of a key is never read", "[T]\nA=1\nA=2\n", "[T]\nA=1\nA=3\n", {}},
        {"keys of several sections name their section",
         "[T]\nA=1\n[U]\nA=1\n",
         "[T]\nA=2\n[U]\nA=2\n",
         {"[T] A", "[U] A"}},
        {"a section removed or added counts once",
         "[T]\nA=1\n[Sport]\nA=1\nB=2\n",
         "[Nacht]\nA=1\n[T]\nA=1\n",
         {"[Nacht]", "[Sport]"}},
        {"a file that was missing", "", "[T]\nA=1\n", {"[T]"}},
        {"a key without a name is a key", "=1\n", "=2\n", {""}},
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
