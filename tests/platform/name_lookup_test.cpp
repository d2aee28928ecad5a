#include "platform/name_lookup.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kfg::platform {
namespace {

TEST(NameLookup, ExactNameFirstThenIgnoringAsciiCase) {
    struct Case {
        std::vector<std::string> entries;
        const char* name;
        const char* found;
        std::vector<std::string> candidates;
    };
    const Case cases[] = {
        {{"Telvio.ini", "TELVIO.INI"}, "Telvio.ini", "Telvio.ini", {}},
        {{"TELVIO.INI"}, "Telvio.ini", "TELVIO.INI", {"TELVIO.INI"}},
        {{"telvio.ini", "TELVIO.INI", "Telvio.INI"},
         "Telvio.ini",
         "TELVIO.INI", // several: the first in byte order
         {"TELVIO.INI", "Telvio.INI", "telvio.ini"}},
        {{"Other.ini"}, "Telvio.ini", "Telvio.ini", {}}, // a new file: KFG's spelling
        {{"K\xc3\x84SE.ini"}, "K\xc3\xa4se.ini", "K\xc3\xa4se.ini", {}}, // only ASCII letters fold
        {{"Telvio.ini.bak"}, "Telvio.ini", "Telvio.ini", {}},
        {{"AZ.ini"}, "az.ini", "AZ.ini", {"AZ.ini"}}, // both ends of the alphabet
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        for (const std::string& entry : c.entries) {
            test::WriteBytes(dir / entry, "");
        }
        for (const bool readOnce : {false, true}) {
            const NameMatch match = readOnce ? FolderEntries(dir.path()).Find(c.name)
                                             : FindIgnoringCase(dir.path(), c.name);
            EXPECT_EQ(match.path, dir / c.found) << c.name << " " << readOnce;
            EXPECT_EQ(match.candidates, c.candidates) << c.name << " " << readOnce;
        }
    }
}

TEST(NameLookup, ExactNameCountsWhateverItIs) {
    test::TempDir dir;
    test::WriteBytes(dir / "KFG.INI", "");
    std::filesystem::create_symlink("nowhere", dir / "KFG.ini"); // dangling: the save creates it
    EXPECT_EQ(FindIgnoringCase(dir.path(), "KFG.ini").path, dir / "KFG.ini");
}

} // namespace
} // namespace kfg::platform
