#include "settings/windows1252.h"

#include <gtest/gtest.h>

namespace kfg::settings {
namespace {

TEST(Windows1252, FoldsEveryLetterPairAndNothingElse) {
    int pairs = 0;
    for (int upper = 0; upper < 256; ++upper) {
        const char u = static_cast<char>(upper);
        if (FoldCase1252(u) != u) {
            ++pairs;
            // Folding is idempotent and lands on a byte that folds to itself.
            EXPECT_EQ(FoldCase1252(FoldCase1252(u)), FoldCase1252(u)) << upper;
        }
    }
    // A-Z, 30 accented capitals (without ×), Š Œ Ž Ÿ.
    EXPECT_EQ(pairs, 26 + 30 + 4);
    EXPECT_TRUE(EqualsIgnoreCase1252("\xC4rger \x8A\x8C\x8E\x9F", "\xE4RGER \x9A\x9C\x9E\xFF"));
    EXPECT_FALSE(EqualsIgnoreCase1252("\xD7", "\xF7")); // × and ÷ are not a pair
    EXPECT_FALSE(EqualsIgnoreCase1252("\xDF", "ss"));
    EXPECT_FALSE(EqualsIgnoreCase1252("[", "{")); // only letters fold
}

} // namespace
} // namespace kfg::settings
