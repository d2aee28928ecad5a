// What Start compares before it overwrites "Telvio.ini": the values of the keys it writes.
#include "settings/profile_store.h"
#include "support/temp_dir.h"
#include "telvio/viewer_file_values.h"
#include "telvio/viewer_keys.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace kfg::telvio {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLoaded = "; Telvio 3.20\r\n[Telvio]\r\nStatus=1\r\nFarbe=254\r\n"
                                "Helligkeit=100\r\nSpeicher3=24\r\n";

// `kLoaded` with `from` replaced by `to`.
std::string Edited(const std::string& from, const std::string& to) {
    std::string bytes = kLoaded;
    return bytes.replace(bytes.find(from), from.size(), to);
}

struct ChangeCase {
    const char* what;
    const char* before = kLoaded; // null: no file when the window loads
    std::string after;            // what another program leaves; "-": no file
    int windowFarbe = 254;        // the window's own edits
    int windowSlot3 = 24;
    bool overwrites = false;
};

// A load, another program's save, then the question whether saving the window's values
// overwrites what it did. Only values of keys the save writes count, as loading reads them.
TEST(ViewerFileValues, OnlyAChangedValueTheSaveWritesCounts) {
    const ChangeCase cases[] = {
        {.what = "nothing changed", .after = kLoaded},
        {.what = "a value the save writes", .after = Edited("254", "111"), .overwrites = true},
        {.what = "to the value the window writes",
         .after = Edited("254", "111"),
         .windowFarbe = 111},
        {.what = "a key removed, its default differs",
         .after = Edited("Helligkeit=100\r\n", ""),
         .overwrites = true},
        {.what = "a key removed, its default is the value", .after = Edited("Farbe=254\r\n", "")},
        {.what = "a slot the save writes", .after = Edited("r3=24", "r3=5"), .overwrites = true},
        {.what = "a slot the window cleared", .after = Edited("r3=24", "r3=5"), .windowSlot3 = 0},
        {.what = "keys V320 does not write", .after = Edited("=1", "=1\r\nHoeheRand=4\r\nX=1")},
        {.what = "another section", .after = std::string(kLoaded) + "[Abend]\r\nFarbe=3\r\n"},
        {.what = "a comment", .after = std::string(kLoaded) + "; mine\r\n"},
        {.what = "layout and letter case",
         .after = Edited("Helligkeit=100", "\r\nhelligkeit = 100 ")},
        {.what = "deleted", .after = "-", .overwrites = true},
        {.what = "still missing", .before = nullptr, .after = "-"},
        {.what = "made with the defaults", .before = nullptr, .after = "[Telvio]\r\nFarbe=254\r\n"},
        {.what = "made with other values",
         .before = nullptr,
         .after = "[Telvio]\r\nFarbe=1\r\n",
         .overwrites = true},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const fs::path file = dir / "Telvio.ini";
        if (c.before != nullptr) {
            test::WriteBytes(file, c.before);
        }
        settings::ProfileStore store;
        SettingsRecord record;
        ProcessState state;
        LoadViewerKeys(store, file, "Telvio", Edition::V320, record, state);
        const ViewerFileValues loaded =
            ViewerFileValuesOf(Edition::V320, store.HasFile(file), record, state);
        // A new file renamed over the old one, as kfgctl saves.
        fs::remove(file);
        if (c.after != "-") {
            test::WriteBytes(dir / "new", c.after);
            fs::rename(dir / "new", file);
        }
        record.Farbe = c.windowFarbe;
        record.Memory[3] = c.windowSlot3;
        const ViewerFileValues now = ReadViewerFileValues(store, file, Edition::V320);
        EXPECT_EQ(SaveOverwritesChanges(loaded, now, record, state), c.overwrites);
    }
}

// The values a load leaves in the record are those a read of the file gives, for every edition:
// the window's baseline needs no second read of the file. Both are what the save wrote, each
// key and slot a value of its own.
TEST(ViewerFileValues, TheLoadedRecordGivesWhatAReadGives) {
    for (int e = 0; e < kEditionCount; ++e) {
        const auto edition = static_cast<Edition>(e);
        SCOPED_TRACE(e);
        test::TempDir dir;
        const fs::path file = dir / "Telvio.ini";
        SettingsRecord written;
        ProcessState writtenState;
        int value = 3;
        for (const ViewerKey& key : ViewerKeysInReadOrder()) {
            if (key.kind == KeyKind::Single) {
                KeyValue(key, written, writtenState) = value++;
            }
        }
        for (int& slot : written.Memory) {
            slot = value++;
        }
        settings::ProfileStore store;
        SaveViewerKeys(store, file, ViewerSectionFor(edition), edition, written, writtenState);

        settings::ProfileStore fresh; // reads the file from the disk
        SettingsRecord record;
        ProcessState state;
        LoadViewerKeys(fresh, file, ViewerSectionFor(edition), edition, record, state);
        const ViewerFileValues loaded = ViewerFileValuesOf(edition, true, record, state);
        EXPECT_EQ(loaded, ReadViewerFileValues(fresh, file, edition));
        EXPECT_EQ(loaded.values, ViewerFileValuesOf(edition, true, written, writtenState).values);
    }
}

} // namespace
} // namespace kfg::telvio
