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

TEST(ProfileDocument, LookupsFollowEditsThatMoveLines) {
    ProfileDocument document = ProfileDocument::Parse("[A]\na=1\n[B]\nb=1\n[C]\nc=1\n");
    EXPECT_TRUE(document.SetValue("A", "new", "2")); // shifts B and C down by one line
    EXPECT_TRUE(document.DeleteSection("B"));
    EXPECT_EQ(document.FindValue("C", "c"), "1");
    EXPECT_EQ(document.FindValue("A", "new"), "2");
    EXPECT_FALSE(document.FindValue("B", "b").has_value());
    EXPECT_EQ(document.Serialise(), "[A]\na=1\nnew=2\n[C]\nc=1\n");
}

TEST(ProfileDocument, ManySectionsAndKeysStayFindable) {
    std::string text;
    for (int s = 0; s < 200; ++s) {
        text += "[S" + std::to_string(s) + "]\n";
        for (int k = 0; k < 20; ++k) {
            text += "k" + std::to_string(k) + "=" + std::to_string(s * 100 + k) + "\n";
        }
    }
    ProfileDocument document = ProfileDocument::Parse(text);
    EXPECT_EQ(document.FindValue("s199", "K19"), "19919");
    EXPECT_TRUE(document.SetValue("S0", "extra", "x"));
    EXPECT_EQ(document.FindValue("S150", "k3"), "15003");
    EXPECT_TRUE(document.DeleteKey("S150", "k3"));
    EXPECT_FALSE(document.FindValue("S150", "k3").has_value());
    EXPECT_EQ(document.FindValue("S150", "k4"), "15004");
}

} // namespace
} // namespace kfg::settings
