// What Start compares before it overwrites "Telvio.ini": the values of the keys it writes.
#include "settings/profile_store.h"
#include "settings/viewer_file_values.h"
#include "settings/viewer_keys.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace kfg::settings {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLoaded = "; Telvio 3.20\r\n[Telvio]\r\nStatus=1\r\nFarbe=254\r\n"
                                "Helligkeit=100\r\nSpeicher3=24\r\nProportional=1\r\n";

// Another program's save: a new file renamed over the old one, as kfgctl and KFG save.
void Replace(const fs::path& file, const std::string& bytes) {
    test::WriteBytes(file.string() + ".new", bytes);
    fs::rename(file.string() + ".new", file);
}

// `kLoaded` with `from` replaced by `to`.
std::string Edited(const std::string& from, const std::string& to) {
    std::string bytes = kLoaded;
    bytes.replace(bytes.find(from), from.size(), to);
    return bytes;
}

struct ChangeCase {
    const char* what;
    std::function<void(const fs::path& file)> meanwhile; // what happens to the file meanwhile
    std::function<void(SettingsRecord&)> window = {};    // the window's own edit, if any
    bool overwrites = false;
};

// A load, a change by another program, then the question whether a save of the window's values
// overwrites that change. Only values of keys the save writes count, as loading reads them.
TEST(ViewerFileValues, OnlyAChangedValueTheSaveWritesCounts) {
    const ChangeCase cases[] = {
        {.what = "nothing changed", .meanwhile = [](const fs::path&) {}, .overwrites = false},
        {.what = "a value the save writes",
         .meanwhile = [](const fs::path& f) { Replace(f, Edited("254", "111")); },
         .overwrites = true},
        {.what = "a value written in place, longer",
         .meanwhile =
             [](const fs::path& f) { test::WriteBytes(f, Edited("Farbe=254", "Farbe=1110")); },
         .overwrites = true},
        {.what = "the value the window writes anyway",
         .meanwhile = [](const fs::path& f) { Replace(f, Edited("254", "111")); },
         .window = [](SettingsRecord& r) { r.Farbe = 111; },
         .overwrites = false},
        {.what = "a written key removed, its default differs",
         .meanwhile = [](const fs::path& f) { Replace(f, Edited("Helligkeit=100\r\n", "")); },
         .overwrites = true},
        {.what = "a written key removed, its default is the value",
         .meanwhile = [](const fs::path& f) { Replace(f, Edited("Farbe=254\r\n", "")); },
         .overwrites = false},
        {.what = "a memory slot the window writes",
         .meanwhile = [](const fs::path& f) { Replace(f, Edited("Speicher3=24", "Speicher3=5")); },
         .overwrites = true},
        {.what = "a memory slot the window cleared (nothing written there)",
         .meanwhile = [](const fs::path& f) { Replace(f, Edited("Speicher3=24", "Speicher3=5")); },
         .window = [](SettingsRecord& r) { r.Memory[3] = 0; },
         .overwrites = false},
        {.what = "keys the edition does not write",
         .meanwhile =
             [](const fs::path& f) {
                 Replace(f, Edited("Status=1", "Status=1\r\nHoeheRand=40\r\nX=1"));
             },
         .overwrites = false},
        {.what = "the same key in another section",
         .meanwhile =
             [](const fs::path& f) { Replace(f, std::string(kLoaded) + "[Abend]\r\nFarbe=3\r\n"); },
         .overwrites = false},
        {.what = "a comment appended",
         .meanwhile =
             [](const fs::path& f) {
                 test::WriteBytes(f, std::string(kLoaded) + "; set by hand\r\n");
             },
         .overwrites = false},
        {.what = "layout and letter case",
         .meanwhile =
             [](const fs::path& f) {
                 Replace(f, Edited("Helligkeit=100\r\n", "\r\nhelligkeit = 100  \r\n\r\n"));
             },
         .overwrites = false},
        {.what = "the file deleted",
         .meanwhile = [](const fs::path& f) { fs::remove(f); },
         .overwrites = true},
        {.what = "a folder in the file's place",
         .meanwhile =
             [](const fs::path& f) {
                 fs::remove(f);
                 fs::create_directory(f);
             },
         .overwrites = true},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const fs::path file = dir / "Telvio.ini";
        test::WriteBytes(file, kLoaded);
        ProfileStore store;
        SettingsRecord record;
        ProcessState state;
        LoadViewerKeys(store, file, "Telvio", Edition::V320, record, state);
        const ViewerFileValues loaded =
            ViewerFileValuesOf(Edition::V320, store.HasFile(file), record, state);
        c.meanwhile(file);
        if (c.window) {
            c.window(record);
        }
        const ViewerFileValues now = ReadViewerFileValues(store, file, Edition::V320);
        EXPECT_EQ(SaveOverwritesChanges(loaded, now, record, state), c.overwrites);
    }
}

// A window that loaded no file (it was missing) is asked about only once one is there with other
// values than the defaults it shows.
TEST(ViewerFileValues, AMissingFileCountsAsItsDefaults) {
    struct MissingCase {
        const char* madeMeanwhile; // null: still missing
        bool overwrites;
    };
    const MissingCase cases[] = {
        {.madeMeanwhile = nullptr, .overwrites = false},
        {.madeMeanwhile = "[Telvio]\r\nFarbe=254\r\n", .overwrites = false},
        {.madeMeanwhile = "[Telvio]\r\nFarbe=1\r\n", .overwrites = true},
    };
    for (const MissingCase& c : cases) {
        SCOPED_TRACE(c.madeMeanwhile != nullptr ? c.madeMeanwhile : "missing");
        test::TempDir dir;
        const fs::path file = dir / "Telvio.ini";
        ProfileStore store;
        SettingsRecord record;
        ProcessState state;
        LoadViewerKeys(store, file, "Telvio", Edition::V320, record, state);
        const ViewerFileValues loaded =
            ViewerFileValuesOf(Edition::V320, store.HasFile(file), record, state);
        EXPECT_FALSE(loaded.fileFound);
        if (c.madeMeanwhile != nullptr) {
            test::WriteBytes(file, c.madeMeanwhile);
        }
        EXPECT_EQ(SaveOverwritesChanges(loaded, ReadViewerFileValues(store, file, Edition::V320),
                                        record, state),
                  c.overwrites);
    }
}

// The values a load leaves in the record are those a read of the file gives, for every edition:
// the window's baseline needs no second read of the file.
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
        ProfileStore store;
        SaveViewerKeys(store, file, ViewerSectionFor(edition), edition, written, writtenState);

        SettingsRecord record;
        ProcessState state;
        LoadViewerKeys(store, file, ViewerSectionFor(edition), edition, record, state);
        const ViewerFileValues loaded = ViewerFileValuesOf(edition, true, record, state);
        EXPECT_EQ(loaded, ReadViewerFileValues(store, file, edition));
        EXPECT_EQ(loaded, ViewerFileValuesOf(edition, true, written, writtenState));
    }
}

} // namespace
} // namespace kfg::settings
