// The viewer's key set per edition: what loading reads, what saving writes and in which order.
#include "settings/profile_store.h"
#include "support/temp_dir.h"
#include "telvio/viewer_keys.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace kfg::telvio {
namespace {

// Names of memory slot keys, each followed by a blank.
std::string Slots(const char* family, int count) {
    std::string keys;
    for (int n = 0; n < count; ++n) {
        keys += family + std::to_string(n) + " ";
    }
    return keys;
}

// The key names of a file's lines, in order, each followed by a blank.
std::string KeysOf(const std::string& bytes) {
    return std::regex_replace(bytes, std::regex("([^\r\n=]*)=.*"), "$1 ",
                              std::regex_constants::format_no_copy);
}

// Every memory slot set: a slot holding 0 is not written.
SettingsRecord WithSlots() {
    SettingsRecord r;
    for (int n = 0; n < kMemorySlotCount; ++n) {
        r.Memory[static_cast<std::size_t>(n)] = 100 + n;
    }
    return r;
}

TEST(ViewerKeys, EachEditionWritesItsKeysInOrder) {
    const std::string v283 =
        "Debug Testzeilen ErsteZeile LetzteZeile DisplayMode CaptureDevice Tuner TVKarte Statistik "
        "OptimierungBT Secam PALplus Priority SchwarzeZeile Austastung ";
    const std::string picture = "Farbe Helligkeit Kontrast ";
    struct Case {
        Edition edition;
        std::string keys; // in the order written
    };
    const Case cases[] = {
        {.edition = Edition::V283, .keys = v283 + picture + Slots("Station", 10)},
        {.edition = Edition::V283Quik, .keys = v283 + "Accel " + picture + Slots("Station", 10)},
        {.edition = Edition::Erazor,
         .keys = "Debug Testzeilen HoeheRand DisplayMode CaptureDevice TVKarte Statistik Priority "
                 "Interpolation Line-In "},
        {.edition = Edition::V31,
         .keys = "Debug Testzeilen HoeheRand DisplayMode Tuner TVKarte Status Secam PLL Priority " +
                 picture + Slots("Station", 20)},
        {.edition = Edition::V311,
         .keys =
             "Debug Testzeilen HoeheRand DisplayMode Tuner TVKarte Status Secam PLL Turbo Loudness "
             "Spartial " +
             picture + Slots("Speicher", 20)},
        {.edition = Edition::V320,
         .keys = "Debug Testzeilen DisplayMode Tuner TVKarte Status Secam PLL Turbo Loudness "
                 "Spartial " +
                 picture + Slots("Speicher", 40) +
                 "Vordergrund Proportional RandAutomatik Links Oben Rechts Unten "},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        settings::ProfileStore store;
        ProcessState state;
        {
            auto scope = store.Gather();
            SaveViewerKeys(store, dir / "Telvio.ini", ViewerSectionFor(c.edition), c.edition,
                           WithSlots(), state);
        }
        EXPECT_EQ(KeysOf(test::ReadBytes(dir / "Telvio.ini")), c.keys)
            << static_cast<int>(c.edition);
    }
}

// The defaults a Telvio.ini without the section gives, as the viewer has them; the
// "Defaultwerte" button takes the same values.
TEST(ViewerKeys, MissingSectionLoadsTheDefaults) {
    test::TempDir dir;
    test::WriteBytes(dir / "Telvio.ini", "[Other]\r\nFarbe=3\r\n");
    settings::ProfileStore store;
    SettingsRecord r;
    ProcessState s;
    s.Tuner = 9;
    LoadViewerKeys(store, dir / "Telvio.ini", "Telvio", Edition::V320, r, s);
    const std::vector<int> loaded{r.Testzeilen, r.Farbe,       r.Helligkeit, r.Kontrast, r.Turbo,
                                  r.ErsteZeile, r.LetzteZeile, r.Debug,      r.Accel,    s.Tuner};
    EXPECT_EQ(loaded, (std::vector<int>{16, 254, 128, 216, 1, 1, 285, 0, 0, 0}));
    EXPECT_EQ(r.Memory[39], 0);
}

TEST(ViewerKeys, SlotFamiliesAreReadAsTheEditionDoes) {
    test::TempDir dir;
    test::WriteBytes(dir / "Telvio.ini",
                     "[Telvio]\r\nSpeicher25=7\r\nStation3=5\r\nSpeicher4=6\r\nFarbe="
                     "0000000000000000000042\r\n");
    settings::ProfileStore store;
    {
        SettingsRecord r;
        ProcessState s;
        r.Memory[3] = 9;
        LoadViewerKeys(store, dir / "Telvio.ini", "Telvio", Edition::V311, r, s);
        EXPECT_EQ(r.Memory[25], 7);
        EXPECT_EQ(r.Memory[3], 0); // "Station3" is not the 3.11 family
        EXPECT_EQ(r.Farbe, 0);     // cut to 19 characters: only zeros remain
    }
    {
        SettingsRecord r;
        ProcessState s;
        r.Memory[25] = 99; // slots 20..39 are not read for V31
        LoadViewerKeys(store, dir / "Telvio.ini", "Telvio", Edition::V31, r, s);
        EXPECT_EQ(r.Memory[3], 5);
        EXPECT_EQ(r.Memory[4], 0);
        EXPECT_EQ(r.Memory[25], 99);
    }
}

// A cleared slot: Telvio's file keeps its old value, KFG's own file loses the key (which reads
// back as 0); a slot the edition does not write stays in either.
TEST(ViewerKeys, ZeroSlotKeepsTelviosValueAndLeavesKfgsSection) {
    struct Case {
        const char* file;
        bool keepsCleared;
    };
    for (const Case& c : {Case{.file = "Telvio.ini", .keepsCleared = true},
                          Case{.file = "KFG.ini", .keepsCleared = false},
                          Case{.file = "kfg.INI", .keepsCleared = false}}) {
        SCOPED_TRACE(c.file);
        test::TempDir dir;
        test::WriteBytes(dir / c.file,
                         "[Abend]\r\nSpeicher5=12\r\nSpeicher25=3\r\nSpeicher6=0\r\n");
        settings::ProfileStore store;
        SettingsRecord r;
        ProcessState s;
        LoadViewerKeys(store, dir / c.file, "Abend", Edition::V311, r, s);
        r.Memory[5] = 0;
        r.Memory[6] = 4;
        r.Memory[25] = 0; // 3.11 writes slots 0..19 only
        SaveViewerKeys(store, dir / c.file, "Abend", Edition::V311, r, s);
        const std::string bytes = test::ReadBytes(dir / c.file);
        EXPECT_EQ(bytes.find("\nSpeicher5=12\r\n") != std::string::npos, c.keepsCleared);
        EXPECT_NE(bytes.find("\nSpeicher25=3\r\nSpeicher6=4\r\n"), std::string::npos) << bytes;
    }
}

// What a tool that sets single keys may accept: ranges, check boxes, and the rows of the
// choice list of the edition at hand.
TEST(ViewerKeys, AllowsWhatTheDialogWouldAccept) {
    struct Case {
        const char* name; // of the key
        Edition edition;
        int value;
        bool allowed;
    };
    const Case cases[] = {
        {.name = "Farbe", .edition = Edition::V320, .value = 511, .allowed = true},
        {.name = "Farbe", .edition = Edition::V320, .value = 512, .allowed = false},
        {.name = "Farbe", .edition = Edition::V320, .value = -1, .allowed = false},
        {.name = "Accel", .edition = Edition::V283Quik, .value = 25, .allowed = true},
        {.name = "Accel", .edition = Edition::V283Quik, .value = 26, .allowed = false},
        {.name = "Status", .edition = Edition::V31, .value = 1, .allowed = true},
        {.name = "Status", .edition = Edition::V31, .value = 2, .allowed = false},
        {.name = "TVKarte", .edition = Edition::V320, .value = 14, .allowed = true},
        {.name = "TVKarte", .edition = Edition::V31, .value = 14, .allowed = false},
        {.name = "TVKarte", .edition = Edition::Erazor, .value = 1, .allowed = false},
        {.name = "DisplayMode", .edition = Edition::V283, .value = 23, .allowed = true},
        {.name = "DisplayMode", .edition = Edition::V311, .value = 21, .allowed = false},
        {.name = "Links", .edition = Edition::V320, .value = -70000, .allowed = true},
    };
    for (const Case& c : cases) {
        const ViewerKey* key = KeyNamed(c.name);
        ASSERT_NE(key, nullptr) << c.name;
        EXPECT_EQ(Allows(*key, c.edition, c.value), c.allowed) << c.name << " " << c.value;
    }
}

} // namespace
} // namespace kfg::telvio
