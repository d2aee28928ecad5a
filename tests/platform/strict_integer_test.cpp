#include "platform/strict_integer.h"

#include <gtest/gtest.h>

namespace kfg::platform {
namespace {

TEST(StrictInteger, OneSignAndDigitsBlanksOnlyWhereAllowed) {
    // Each text, its number with blanks refused, and with blanks allowed around the number.
    const std::tuple<const char*, std::optional<int>, std::optional<int>> cases[] = {
        {"42", 42, 42},
        {"+7", 7, 7},
        {"-2147483648", -2147483647 - 1, -2147483647 - 1},
        {"2147483648", std::nullopt, std::nullopt},
        {"99999999999999999999", std::nullopt, std::nullopt},
        {" 5\t", std::nullopt, 5},
        {"\xC2\xA0"
         "5\xE3\x80\x80",
         std::nullopt, 5}, // no-break and ideographic spaces
        {"5 5", std::nullopt, std::nullopt},
        {"+-5", std::nullopt, std::nullopt},
        {"- 5", std::nullopt, std::nullopt},
        {"+", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt},
        {"\xEF\xBC\x95", std::nullopt, std::nullopt}, // a full-width digit
    };
    for (const auto& [text, refused, around] : cases) {
        EXPECT_EQ(StrictInteger(text, Blanks::Refused), refused) << text;
        EXPECT_EQ(StrictInteger(text, Blanks::AllowedAround), around) << text;
    }
}

} // namespace
} // namespace kfg::platform
