// The configuration names listed from "KFG.ini".
#include "settings/configuration_scan.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::settings {
namespace {

using Names = std::vector<std::string>;

TEST(ConfigurationScan, ListsEverySectionButTheFirstWord) {
    // What each case shows, the file, and the names listed.
    const std::tuple<const char*, std::string, Names> cases[] = {
        {"KfgFirst", "[KFG]\r\nFr=0\r\n[Abend]\r\nFarbe=1\r\n[Sport]\r\n", {"Abend", "Sport"}},
        {"KfgLater", "[Abend]\r\nx=1\r\n[KFG]\r\nFr=0\r\n", {"KFG"}},
        {"Empty", "", {}},
        {"HeaderAtTheEndWithoutLineEnd", "[KFG]\r\n[Abend]", {"Abend"}},
        {"NoClosingBracketOnTheLine", "[KFG]\r\n[Abend Kino\r\nx=]\r\n[Sport]\r\n", {"Sport"}},
        {"LoneLfAndCr", "[KFG]\n[A]\r[B]\n", {"A", "B"}},
        {"LongWords",
         "[KFG]\r\n" + std::string(70000, 'x') + "\r\n[" + std::string(40, 'L') + "]\r\n",
         {std::string(40, 'L')}},
        {"EmptyHeader", "[KFG]\r\n[]\r\n", {""}},
        // The file's lookup ignores blanks around a section name, so the list does too.
        {"BlanksAroundTheName",
         "[KFG]\r\n[Abend ]\r\n[ Sport]\r\n[\tSp\xE4t Kino \v]\r\n",
         {"Abend", "Sport", "Sp\xE4t Kino"}},
    };
    for (const auto& [name, file, expected] : cases) {
        test::TempDir dir;
        test::WriteBytes(dir / "KFG.ini", file);
        const ConfigurationScan scan = ScanConfigurationSections(dir / "KFG.ini");
        EXPECT_TRUE(scan.opened) << name;
        EXPECT_EQ(scan.names, expected) << name;
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
