// Parsing and serialising without a disk: every byte comes back as it went in.
#include "settings/profile_document.h"

#include <gtest/gtest.h>
#include <string>

namespace kfg::settings {
namespace {

using namespace std::string_literals;

TEST(ProfileDocument, SerialiseGivesBackEveryByte) {
    const std::string samples[] = {
        "",
        "no line end",
        "[S]\r\nk=v\r\n",
        "\r\n\r\n\n\r\r",
        "[S]\r\r\n\n\rk = v \t\v\r\n;c\n[]\nx",
        "\xFF\xFE[\0S\0]\0\r\0\n\0"s,
        "\xEF\xBB\xBF[S]\nk=v",
        "\0\0\n\0=\0\n[\0]\0"s,
    };
    for (const std::string& sample : samples) {
        EXPECT_EQ(ProfileDocument::Parse(sample).Serialise(), sample);
    }
}

} // namespace
} // namespace kfg::settings
