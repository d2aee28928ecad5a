// Loading and saving the viewer's settings through the main dialog.
#include "dialogs/main/kfg_dlg.h"
#include "platform/file_system.h"
#include "res/template_102.h"
#include "settings/process_state.h"
#include "settings/profile_store.h"
#include "support/counting_file_system.h"
#include "support/kfg_run.h"
#include "support/modal_script.h"
#include "support/recording_starter.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace kfg::dialogs {
namespace {

using test::KfgRun;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
namespace fs = std::filesystem;

// Runs the dialog over `folder` with a store that counts replacements.
struct CountedRun {
    std::shared_ptr<test::CountingFileSystem> fs = std::make_shared<test::CountingFileSystem>();
    settings::ProcessState state;
    settings::ProfileStore store{{}, fs};
    test::RecordingStarter starter;
    test::ModalScript script;

    CountedRun(const fs::path& folder, std::function<void(CKfgDlg&)> whileUp)
        : script([whileUp](framework::Dialog& d) {
            if (auto* main = dynamic_cast<CKfgDlg*>(&d)) {
                whileUp(*main);
            }
        }) {
        CKfgDlg dialog(state, store, starter, std::make_shared<mixer::SimulatedMixer>(), folder);
        dialog.DoModal();
    }
};

// Every sample folder through the real dialog: loaded, saved, ended with "Beenden".
TEST(KfgLoadSave, SavingRightAfterLoadingChangesNoByteOfAnySample) {
    for (const char* edition : {"V283", "Erazor", "V31", "V311", "V283Quik", "V320"}) {
        TempDir dir;
        fs::copy(fs::path(KFG_EXAMPLES_DIR) / edition, dir.path(), fs::copy_options::recursive);
        const auto before = test::FolderBytes(dir.path());
        CountedRun run(dir.path(), [](CKfgDlg& d) {
            EXPECT_TRUE(d.SaveSettings(SettingsSource::Telvio));
            d.Click(res::kIdExit);
        });
        EXPECT_EQ(run.fs->replacements, 0) << edition;
        EXPECT_EQ(test::FolderBytes(dir.path()), before) << edition;
        EXPECT_TRUE(run.script.MessageTexts().empty()) << edition;
    }
}

TEST(KfgLoadSave, AnEditReplacesTheFileOnceAndLoadsBack) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "; comment\r\n[Telvio]\r\nStatus=1\r\nProportional=1\r\n"
                                   "Speicher5=12\r\nAccel=9\r\n[Telvio-Erazor]\r\nLine-In=1\r\n");
    CountedRun run(dir.path(), [](CKfgDlg& d) {
        d.SetItemText(res::kIdColour, "300");
        d.SetItemText(res::kIdMemorySlot7, "61");
        d.SetItemText(res::kIdMemorySlot5, "0");
        EXPECT_TRUE(d.SaveSettings(SettingsSource::Telvio));
        d.EndDialog(framework::IDCANCEL);
    });
    EXPECT_EQ(run.fs->replacements, 1);
    const std::string after = ReadBytes(dir / "Telvio.ini");
    EXPECT_EQ(after.substr(0, 11), "; comment\r\n");
    EXPECT_NE(after.find("Speicher5=12\r\n"), std::string::npos); // a zero slot writes nothing
    EXPECT_NE(after.find("Accel=9\r\n"), std::string::npos);      // not V320's key: untouched
    EXPECT_NE(after.find("[Telvio-Erazor]\r\nLine-In=1\r\n"), std::string::npos);

    KfgRun again(dir.path(), [](CKfgDlg& d) {
        EXPECT_EQ(d.ItemText(res::kIdColour), "300");
        EXPECT_EQ(d.ItemText(res::kIdMemorySlot7), "61");
        EXPECT_EQ(d.ItemText(res::kIdMemorySlot5), "12");
        d.EndDialog(framework::IDCANCEL);
    });
}

TEST(KfgLoadSave, TitleNamesTheSectionAndConfigurationNamesKeepTheirLetters) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio-Erazor]\r\nLine-In=1\r\nTestzeilen=5\r\n");
    WriteBytes(dir / "KFG.ini", "[KFG]\r\nFr=0\r\n[Sp\xE4tfilm]\r\nTestzeilen=42\r\n");
    KfgRun run(dir.path(), [&](CKfgDlg& d) {
        EXPECT_EQ(d.Title(), "KFG – Telvio-Erazor");
        run.state.ActiveSection = "Sp\xE4tfilm";
        d.LoadSettings(SettingsSource::KFG);
        EXPECT_EQ(d.Title(), "KFG – Spätfilm");
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "42");
        d.Click(res::kIdReload); // back to the viewer's file and its section
        EXPECT_EQ(run.state.ActiveSection, "Telvio-Erazor");
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "5");
        d.EndDialog(framework::IDCANCEL);
    });
}

TEST(KfgLoadSave, SavingAConfigurationWritesTheSoundOptionsFirst) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    CountedRun run(dir.path(), [&](CKfgDlg& d) {
        d.SetCheck(res::kIdSoundInit, 1);
        run.state.ActiveSection = "Abend";
        EXPECT_TRUE(d.SaveSettings(SettingsSource::KFG));
        d.EndDialog(framework::IDCANCEL);
    });
    EXPECT_EQ(run.fs->replacements, 1); // one file, one replacement
    const std::string bytes = ReadBytes(dir / "KFG.ini");
    EXPECT_EQ(bytes.substr(0, 33), "[KFG]\r\nSoundInit=1\r\nLineIn=0\r\n[Ab");
    EXPECT_NE(bytes.find("[Abend]\r\nDebug=0\r\nTestzeilen=16\r\nHoeheRand=0\r\n"),
              std::string::npos);
}

TEST(KfgLoadSave, ReloadReadsWhatAnotherProgramChanged) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\nTestzeilen=10\r\n");
    KfgRun run(dir.path(), [&](CKfgDlg& d) {
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "10");
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\nTestzeilen=77\r\nFarbe=5\r\n");
        d.Click(res::kIdReload);
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "77");
        EXPECT_EQ(d.ItemText(res::kIdColour), "5");
        d.EndDialog(framework::IDCANCEL);
    });
}

} // namespace
} // namespace kfg::dialogs
