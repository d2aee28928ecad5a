#include "platform/process_umask.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kfg::platform {
namespace {

TEST(ProcessUmask, ReadFromTheStatusLine) {
    const std::pair<std::string_view, std::optional<mode_t>> rows[] = {
        {"Name:\tkfg\nUmask:\t0022\nState:\tR (running)\n", 022},
        {"Umask:\t0077", 077},
        {"Name:\tkfg\nUmask: 0027\n", 027},
        {"Umask:\t0000\n", 0},
        {"Name:\tkfg\nState:\tR (running)\n", std::nullopt},
        {"Umask:\t0089\n", std::nullopt},
        {"Umask:\t\n", std::nullopt},
        {"Umask:\t000022\n", std::nullopt},
        {"NoUmask:\t0022\n", std::nullopt},
    };
    for (const auto& [status, mask] : rows) {
        EXPECT_EQ(UmaskOfStatus(status), mask) << status;
    }
}

TEST(ProcessUmask, IsTheMaskInForceAndLeavesItAsItIs) {
    const mode_t before = ::umask(027);
    EXPECT_EQ(ProcessUmask(), mode_t{027});
    EXPECT_EQ(::umask(before), mode_t{027});
}

} // namespace
} // namespace kfg::platform
