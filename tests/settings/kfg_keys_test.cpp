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

TEST(KfgKeys, TableHoldsEveryReaderAndDefault) {
    EXPECT_EQ(Info(KfgKey::Fr).name, "Fr");
    EXPECT_EQ(Info(KfgKey::Fr).startUpBuffer, 20u);
    EXPECT_EQ(Info(KfgKey::Fr).sideDialogBuffer, 2u);
    EXPECT_EQ(Info(KfgKey::Sprox).integerDefault, 2);
    EXPECT_EQ(Info(KfgKey::Audio).textDefault, "0");
    EXPECT_EQ(Info(KfgKey::SoundInit).name, "SoundInit");
    EXPECT_EQ(Info(KfgKey::LineIn).name, "LineIn");
    EXPECT_EQ(DisplayModeKey(0), "0");
    EXPECT_EQ(DisplayModeKey(20), "20");
}

} // namespace
} // namespace kfg::settings
