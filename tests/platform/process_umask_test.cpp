#include "platform/process_umask.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kfg::platform {
namespace {

TEST(ProcessUmask, ReadFromTheStatusLine) {
    struct Row {
        std::string_view status; // the text of /proc/self/status
        std::optional<mode_t> mask;
    };
    const Row rows[] = {
        {.status = "Name:\tkfg\nUmask:\t0022\nState:\tR (running)\n", .mask = 022},
        {.status = "Umask:\t0077", .mask = 077},
        {.status = "Name:\tkfg\nUmask: 0027\n", .mask = 027},
        {.status = "Umask:\t0000\n", .mask = 0},
        {.status = "Name:\tkfg\nState:\tR (running)\n", .mask = std::nullopt},
        {.status = "Umask:\t0089\n", .mask = std::nullopt},
        {.status = "Umask:\t\n", .mask = std::nullopt},
        {.status = "Umask:\t000022\n", .mask = std::nullopt},
        {.status = "NoUmask:\t0022\n", .mask = std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(UmaskOfStatus(row.status), row.mask) << row.status;
    }
}

TEST(ProcessUmask, IsTheMaskInForceAndLeavesItAsItIs) {
    const mode_t before = ::umask(027);
    EXPECT_EQ(ProcessUmask(), mode_t{027});
    EXPECT_EQ(::umask(before), mode_t{027});
}

} // namespace
} // namespace kfg::platform
