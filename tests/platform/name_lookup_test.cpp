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
        {.entries = {"Telvio.ini", "TELVIO.INI"},
         .name = "Telvio.ini",
         .found = "Telvio.ini",
         .candidates = {}},
        {.entries = {"TELVIO.INI"},
         .name = "Telvio.ini",
         .found = "TELVIO.INI",
         .candidates = {"TELVIO.INI"}},
        {.entries = {"telvio.ini", "TELVIO.INI", "Telvio.INI"},
         .name = "Telvio.ini",
         .found = "TELVIO.INI", // several: the first in byte order
         .candidates = {"TELVIO.INI", "Telvio.INI", "telvio.ini"}},
        {.entries = {"Other.ini"},
         .name = "Telvio.ini",
         .found = "Telvio.ini", // a new file: KFG's spelling
         .candidates = {}},
        {.entries = {"K\xc3\x84SE.ini"},
         .name = "K\xc3\xa4se.ini",
         .found = "K\xc3\xa4se.ini", // only ASCII letters fold
         .candidates = {}},
        {.entries = {"Telvio.ini.bak"},
         .name = "Telvio.ini",
         .found = "Telvio.ini",
         .candidates = {}},
        {.entries = {"AZ.ini"},
         .name = "az.ini",
         .found = "AZ.ini", // both ends of the alphabet
         .candidates = {"AZ.ini"}},
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

// The 99 index files are looked up in one read of the folder; only a folder that could not be
// read leaves every name possible.
TEST(NameLookup, AFolderReadOnceRulesOutOnlyNamesItLacks) {
    test::TempDir dir;
    test::WriteBytes(dir / "TELVIO_03.IDX", "");
    const FolderEntries read(dir.path());
    EXPECT_TRUE(read.MayHold("Telvio_03.idx"));
    EXPECT_FALSE(read.MayHold("Telvio_04.idx"));
    EXPECT_TRUE(FolderEntries(dir / "missing").MayHold("Telvio_04.idx"));
}

TEST(NameLookup, ExactNameCountsWhateverItIs) {
    test::TempDir dir;
    test::WriteBytes(dir / "KFG.INI", "");
    std::filesystem::create_symlink("nowhere", dir / "KFG.ini"); // dangling: the save creates it
    EXPECT_EQ(FindIgnoringCase(dir.path(), "KFG.ini").path, dir / "KFG.ini");
}

} // namespace
} // namespace kfg::platform
