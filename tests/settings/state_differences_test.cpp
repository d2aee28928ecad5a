#include "settings/state_differences.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::settings {
namespace {

TEST(StateDifferences, NamesTheKeysAStoreReadsDifferently) {
    // What each case shows, the earlier and the later file, and the keys named.
    const std::tuple<const char*, const char*, const char*, std::vector<std::string>> cases[] = {
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
    };
    for (const auto& [what, before, after, keys] : cases) {
        EXPECT_EQ(KeysThatDiffer(before, after), keys) << what;
    }
}

} // namespace
} // namespace kfg::settings
