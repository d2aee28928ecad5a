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
    EXPECT_FALSE(EqualsIgnoreCase1252("[", "{"));       // only letters fold
}

TEST(Windows1252Text, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::optional<std::string> back = Windows1252FromUtf8(Utf8FromWindows1252(all));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Windows1252Text, LettersMapBothWaysAndForeignTextIsRefused) {
    EXPECT_EQ(Utf8FromWindows1252("Sp\xE4tfilm \x80"), "Spätfilm €");
    EXPECT_EQ(Windows1252FromUtf8("Größe Œ"), std::optional<std::string>("Gr\xF6\xDF"
                                                                         "e \x8C"));
    EXPECT_FALSE(Windows1252FromUtf8("中文").has_value());
    EXPECT_FALSE(Windows1252FromUtf8("\xC3").has_value()); // cut-off UTF-8
    EXPECT_FALSE(Windows1252FromUtf8("\xFF\xFE").has_value());
    EXPECT_FALSE(Windows1252FromUtf8("\xC1\x81").has_value()); // "A" spelled overlong
}

} // namespace
} // namespace kfg::settings
