#include "settings/kfg_keys.h"

#include <climits>
#include <gtest/gtest.h>

namespace kfg::settings {
namespace {

TEST(KfgKeys, LeadingIntegerConvertsLikeTheRuntimeLibrary) {
    const std::pair<const char*, int> cases[] = {
        {"1", 1},
        {" -3", -3},
        {"\t+7x", 7},
        {"x", 0},
        {"", 0},
        {"12abc", 12},
        {"- 1", 0},
        {"0x10", 0},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"-2147483648", INT_MIN},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(LeadingInteger(text), expected) << text;
    }
}

} // namespace
} // namespace kfg::settings
