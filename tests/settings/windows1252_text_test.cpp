#include "settings/windows1252.h"

#include <gtest/gtest.h>

namespace kfg::settings {
namespace {

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
}

} // namespace
} // namespace kfg::settings
