#include "telvio/kfg_keys.h"

#include <climits>
#include <gtest/gtest.h>

namespace kfg::telvio {
namespace {

TEST(KfgKeys, LeadingIntegerConvertsLikeTheRuntimeLibrary) {
    struct Case {
        const char* text;
        int number;
    };
    const Case cases[] = {
        {.text = "1", .number = 1},
        {.text = " -3", .number = -3},
        {.text = "\t+7x", .number = 7},
        {.text = "x", .number = 0},
        {.text = "", .number = 0},
        {.text = "12abc", .number = 12},
        {.text = "- 1", .number = 0},
        {.text = "0x10", .number = 0},
        {.text = "99999999999", .number = INT_MAX},
        {.text = "-99999999999", .number = INT_MIN},
        {.text = "-2147483648", .number = INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::LeadingInteger(c.text), c.number) << c.text;
    }
}

} // namespace
} // namespace kfg::telvio
