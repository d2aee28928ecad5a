// The configuration names listed from "KFG.ini".
#include "settings/configuration_scan.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::settings {
namespace {

TEST(ConfigurationScan, ListsEverySectionButTheFirstWord) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {.name = "KfgFirst",
         .file = "[KFG]\r\nFr=0\r\n[Abend]\r\nFarbe=1\r\n[Sport]\r\n",
         .listed = {"Abend", "Sport"}},
        {.name = "KfgLater", .file = "[Abend]\r\nx=1\r\n[KFG]\r\nFr=0\r\n", .listed = {"KFG"}},
        {.name = "Empty", .file = "", .listed = {}},
        {.name = "HeaderAtTheEndWithoutLineEnd", .file = "[KFG]\r\n[Abend]", .listed = {"Abend"}},
        {.name = "NoClosingBracketOnTheLine",
         .file = "[KFG]\r\n[Abend Kino\r\nx=]\r\n[Sport]\r\n",
         .listed = {"Sport"}},
        {.name = "LoneLfAndCr", .file = "[KFG]\n[A]\r[B]\n", .listed = {"A", "B"}},
        {.name = "LongWords",
         .file = "[KFG]\r\n" + std::string(70000, 'x') + "\r\n[" + std::string(40, 'L') + "]\r\n",
         .listed = {std::string(40, 'L')}},
        {.name = "EmptyHeader", .file = "[KFG]\r\n[]\r\n", .listed = {""}},
        // The file's lookup ignores blanks around a section name, so the list does too.
        {.name = "BlanksAroundTheName",
         .file = "[KFG]\r\n[Abend ]\r\n[ Sport]\r\n[\tSp\xE4t Kino \v]\r\n",
         .listed = {"Abend", "Sport", "Sp\xE4t Kino"}},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::WriteBytes(dir / "KFG.ini", c.file);
        const ConfigurationScan scan = ScanConfigurationSections(dir / "KFG.ini");
        EXPECT_TRUE(scan.opened) << c.name;
        EXPECT_EQ(scan.names, c.listed) << c.name;
    }
}

TEST(ConfigurationScan, MissingOrNotAFileCountsAsNotOpened) {
    test::TempDir dir;
    EXPECT_FALSE(ScanConfigurationSections(dir / "KFG.ini").opened);
    std::filesystem::create_directory(dir / "KFG.ini");
    EXPECT_FALSE(ScanConfigurationSections(dir / "KFG.ini").opened);
}

} // namespace
} // namespace kfg::settings
