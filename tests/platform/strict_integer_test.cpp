#include "platform/strict_integer.h"

#include <gtest/gtest.h>

namespace kfg::platform {
namespace {

TEST(StrictInteger, OneSignAndDigitsBlanksOnlyWhereAllowed) {
    struct Case {
        const char* text;
        std::optional<int> blanksRefused;
        std::optional<int> blanksAround; // blanks allowed around the number
    };
    const Case cases[] = {
        {.text = "42", .blanksRefused = 42, .blanksAround = 42},
        {.text = "+7", .blanksRefused = 7, .blanksAround = 7},
        {.text = "-2147483648", .blanksRefused = -2147483647 - 1, .blanksAround = -2147483647 - 1},
        {.text = "2147483648", .blanksRefused = std::nullopt, .blanksAround = std::nullopt},
        {.text = "99999999999999999999",
         .blanksRefused = std::nullopt,
         .blanksAround = std::nullopt},
        {.text = " 5\t", .blanksRefused = std::nullopt, .blanksAround = 5},
        // No-break and ideographic spaces.
        {.text = "\xC2\xA0"
                 "5\xE3\x80\x80",
         .blanksRefused = std::nullopt,
         .blanksAround = 5},
        {.text = "5 5", .blanksRefused = std::nullopt, .blanksAround = std::nullopt},
        {.text = "+-5", .blanksRefused = std::nullopt, .blanksAround = std::nullopt},
        {.text = "- 5", .blanksRefused = std::nullopt, .blanksAround = std::nullopt},
        {.text = "+", .blanksRefused = std::nullopt, .blanksAround = std::nullopt},
        {.text = "", .blanksRefused = std::nullopt, .blanksAround = std::nullopt},
        {.text = "0x10", .blanksRefused = std::nullopt, .blanksAround = std::nullopt},
        // A full-width digit.
        {.text = "\xEF\xBC\x95", .blanksRefused = std::nullopt, .blanksAround = std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StrictInteger(c.text, Blanks::Refused), c.blanksRefused) << c.text;
        EXPECT_EQ(StrictInteger(c.text, Blanks::AllowedAround), c.blanksAround) << c.text;
    }
}

} // namespace
} // namespace kfg::platform
