// The viewer's key set per edition: what loading reads, what saving writes and in which order.
#include "settings/profile_store.h"
#include "settings/viewer_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace kfg::settings {
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
    const std::pair<Edition, std::string> cases[] = {
        {Edition::V283, v283 + picture + Slots("Station", 10)},
        {Edition::V283Quik, v283 + "Accel " + picture + Slots("Station", 10)},
        {Edition::Erazor,
         "Debug Testzeilen HoeheRand DisplayMode CaptureDevice TVKarte Statistik Priority "
         "Interpolation Line-In "},
        {Edition::V31,
         "Debug Testzeilen HoeheRand DisplayMode Tuner TVKarte Status Secam PLL Priority " +
             picture + Slots("Station", 20)},
        {Edition::V311,
         "Debug Testzeilen HoeheRand DisplayMode Tuner TVKarte Status Secam PLL Turbo Loudness "
         "Spartial " +
             picture + Slots("Speicher", 20)},
        {Edition::V320,
         "Debug Testzeilen DisplayMode Tuner TVKarte Status Secam PLL Turbo Loudness Spartial " +
             picture + Slots("Speicher", 40) +
             "Vordergrund Proportional RandAutomatik Links Oben Rechts Unten "},
    };
    for (const auto& [edition, keys] : cases) {
        test::TempDir dir;
        ProfileStore store;
        ProcessState state;
        {
            auto scope = store.Gather();
            SaveViewerKeys(store, dir / "Telvio.ini", ViewerSectionFor(edition), edition,
                           WithSlots(), state);
        }
        EXPECT_EQ(KeysOf(test::ReadBytes(dir / "Telvio.ini")), keys) << static_cast<int>(edition);
    }
}

// Each key an edition writes comes back on loading; every key holds a value of its own.
TEST(ViewerKeys, SaveThenLoadGivesBackWhatWasWritten) {
    for (int e = 0; e < 6; ++e) {
        const auto edition = static_cast<Edition>(e);
        SCOPED_TRACE(e);
        test::TempDir dir;
        SettingsRecord record = WithSlots();
        ProcessState saved;
        int value = 2;
        for (const ViewerKey& key : ViewerKeysInReadOrder()) {
            if (key.kind == KeyKind::Single) {
                KeyValue(key, record, saved) = value++;
            }
        }
        const std::string section(ViewerSectionFor(edition));
        ProfileStore store;
        SaveViewerKeys(store, dir / "Telvio.ini", section, edition, record, saved);

        ProfileStore fresh;
        SettingsRecord loaded;
        ProcessState state;
        LoadViewerKeys(fresh, dir / "Telvio.ini", section, edition, loaded, state);
        for (const ViewerKey& key : ViewerKeysInReadOrder()) {
            if (key.kind == KeyKind::Single && Includes(key.writtenBy, edition)) {
                EXPECT_EQ(KeyValue(key, loaded, state), KeyValue(key, record, saved)) << key.name;
            }
        }
        for (int n = 0; n < SlotRuleFor(edition).written; ++n) {
            EXPECT_EQ(loaded.Memory[static_cast<std::size_t>(n)], 100 + n) << "slot " << n;
        }
        if (edition == Edition::Erazor) {
            EXPECT_EQ(loaded.Farbe, 254); // not written for Erazor: the default comes back
        }
    }
}

// The defaults a Telvio.ini without the section gives, as the viewer has them; the
// "Defaultwerte" button takes the same values.
TEST(ViewerKeys, MissingSectionLoadsTheDefaults) {
    test::TempDir dir;
    test::WriteBytes(dir / "Telvio.ini", "[Other]\r\nFarbe=3\r\n");
    ProfileStore store;
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
    ProfileStore store;
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
    for (const auto& [file, keepsCleared] :
         {std::pair("Telvio.ini", true), {"KFG.ini", false}, {"kfg.INI", false}}) {
        SCOPED_TRACE(file);
        test::TempDir dir;
        test::WriteBytes(dir / file, "[Abend]\r\nSpeicher5=12\r\nSpeicher25=3\r\nSpeicher6=0\r\n");
        ProfileStore store;
        SettingsRecord r;
        ProcessState s;
        LoadViewerKeys(store, dir / file, "Abend", Edition::V311, r, s);
        r.Memory[5] = 0;
        r.Memory[6] = 4;
        r.Memory[25] = 0; // 3.11 writes slots 0..19 only
        SaveViewerKeys(store, dir / file, "Abend", Edition::V311, r, s);
        const std::string bytes = test::ReadBytes(dir / file);
        EXPECT_EQ(bytes.find("\nSpeicher5=12\r\n") != std::string::npos, keepsCleared);
        EXPECT_NE(bytes.find("\nSpeicher25=3\r\nSpeicher6=4\r\n"), std::string::npos) << bytes;
    }
}

// What a tool that sets single keys may accept: ranges, check boxes, and the rows of the
// choice list of the edition at hand.
TEST(ViewerKeys, AllowsWhatTheDialogWouldAccept) {
    // The key, the edition, a value and whether it is allowed.
    const std::tuple<const char*, Edition, int, bool> cases[] = {
        {"Farbe", Edition::V320, 511, true},      {"Farbe", Edition::V320, 512, false},
        {"Farbe", Edition::V320, -1, false},      {"Accel", Edition::V283Quik, 25, true},
        {"Accel", Edition::V283Quik, 26, false},  {"Status", Edition::V31, 1, true},
        {"Status", Edition::V31, 2, false},       {"TVKarte", Edition::V320, 14, true},
        {"TVKarte", Edition::V31, 14, false},     {"TVKarte", Edition::Erazor, 1, false},
        {"DisplayMode", Edition::V283, 23, true}, {"DisplayMode", Edition::V311, 21, false},
        {"Links", Edition::V320, -70000, true},
    };
    for (const auto& [name, edition, value, allowed] : cases) {
        const ViewerKey* key = KeyNamed(name);
        ASSERT_NE(key, nullptr) << name;
        EXPECT_EQ(Allows(*key, edition, value), allowed) << name << " " << value;
    }
}

} // namespace
} // namespace kfg::settings
