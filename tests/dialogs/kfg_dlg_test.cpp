// The main dialog's start-up, its ways to end, the lists it fills, and loading and saving the
// viewer's settings through it.
#include "support/counting_file_system.h"
#include "support/dialog_tests.h"
#include "telvio/choice_tables.h"

namespace kfg::dialogs {
namespace {

// After the missing-file message nothing else comes: no prompt, no file written (not even the
// consumed prompt request), no decoder started; KFG ends.
TEST(KfgStartUp, MissingViewerFileShowsTheMessageThenEnds) {
    for (const char* kfgIni :
         {static_cast<const char*>(nullptr), "[KFG]\r\nSprox=5\r\nAudio=1\r\n"}) {
        for (const bool folderInstead : {false, true}) {
            TempDir dir;
            if (kfgIni != nullptr) {
                WriteBytes(dir / "KFG.ini", kfgIni);
            }
            if (folderInstead) {
                fs::create_directory(dir / "Telvio.ini"); // not a file: missing
            }
            const auto before = FolderBytes(dir.path());
            KfgRun run(dir.path());
            EXPECT_EQ(run.script.Messages(),
                      std::vector<std::string>{
                          "Fehler: Telvio.ini nicht vorhanden\nBitte ins Telvio-Verzeichnis "
                          "kopieren\nTelvio.ini no existe.\nCopialo en el directorio TLV ZAV"});
            EXPECT_EQ(run.script.Seen().size(), 1u) << folderInstead;
            EXPECT_EQ(run.script.Seen()[0].icon, framework::MessageIcon::None);
            EXPECT_EQ(run.result, framework::IDOK);
            EXPECT_TRUE(run.starter.log.empty());
            EXPECT_EQ(FolderBytes(dir.path()), before);
        }
    }
}

// Every list holds all rows of its table whatever the edition (the 3.x card list the
// edition's); the 3.x modes only the rows "KFG.ini" enables (set to 1), in the caption language.
// How a sorted list orders its entries is the dialog layer's own test.
TEST(KfgLists, EveryListIsFilledWhateverTheEdition) {
    using namespace telvio;
    struct Case {
        const char* telvioIni;
        const ChoiceTable* cards;
        std::string kfgIni;
        QStringList modes3x;
    };
    const Case editions[] = {
        {.telvioIni = kV31, .cards = &Cards31, .kfgIni = "", .modes3x = {}},
        {.telvioIni = kEditionFiles[5],
         .cards = &Cards320,
         .kfgIni = KfgIni(true, "0=1\r\n5=1\r\n7=2\r\n14=1\r\n"),
         .modes3x = {"En Ventana", "720*576 YUY2", "640*480 RVB"}},
    };
    struct List {
        int id;
        const ChoiceTable* table;
    };
    const List lists[] = {
        {.id = res::kIdTunerList, .table = &Tuners},
        {.id = res::kIdDisplayMode283, .table = &DisplayModes283},
        {.id = res::kIdCardList283, .table = &Cards283},
        {.id = res::kIdDisplayModeErazor, .table = &DisplayModesErazor},
        {.id = res::kIdInterpolationList, .table = &InterpolationModes},
        {.id = res::kIdCardListErazor, .table = &CardsErazor},
    };
    for (const Case& c : editions) {
        KfgRunIn run(c.telvioIni, c.kfgIni, [&](CKfgDlg& d) {
            EXPECT_EQ(d.ComboCount(res::kIdCardList3x), c.cards->RowCount());
            EXPECT_EQ(d.ComboItemText(res::kIdCardList3x, 0).toStdString(), c.cards->rows.front());
            EXPECT_EQ(ComboEntries(d, res::kIdDisplayMode3x), c.modes3x);
            for (const List& list : lists) {
                EXPECT_EQ(ComboEntries(d, list.id).size(), list.table->RowCount()) << list.id;
            }
        });
    }
}

// Every sample folder through the real dialog: loaded, saved, ended with "Beenden".
TEST(KfgLoadSave, SavingRightAfterLoadingChangesNoByteOfAnySample) {
    for (const char* edition : {"V283", "Erazor", "V31", "V311", "V283Quik", "V320"}) {
        TempDir dir;
        fs::copy(fs::path(KFG_EXAMPLES_DIR) / edition, dir.path(), fs::copy_options::recursive);
        const auto before = FolderBytes(dir.path());
        auto counter = std::make_shared<CountingFileSystem>();
        KfgRun run(dir.path(),
                   [](CKfgDlg& d) {
                       EXPECT_TRUE(d.SaveSettings(SettingsSource::Telvio));
                       d.Click(res::kIdExit);
                   },
                   {}, {.files = counter});
        EXPECT_EQ(counter->replacements, 0) << edition;
        EXPECT_EQ(FolderBytes(dir.path()), before) << edition;
        EXPECT_TRUE(run.script.Messages().empty()) << edition;
        EXPECT_EQ(run.result, framework::IDOK) << edition;
    }
}

TEST(KfgLoadSave, EachSaveReplacesItsFileOnceAndLoadsBack) {
    auto counter = std::make_shared<CountingFileSystem>();
    const std::string telvio = "; comment\r\n[Telvio]\r\nStatus=1\r\nProportional=1\r\n"
                               "Speicher5=12\r\nAccel=9\r\n[Telvio-Erazor]\r\nLine-In=1\r\n";
    KfgRunIn run(telvio, {},
                 [&](CKfgDlg& d) {
                     d.SetItemText(res::kIdColour, "300");
                     d.SetItemText(res::kIdMemorySlot7, "61");
                     d.SetItemText(res::kIdMemorySlot5, "0");
                     EXPECT_TRUE(d.SaveSettings(SettingsSource::Telvio));
                     d.SetCheck(res::kIdSoundInit, 1);
                     run.state.ActiveSection = "Abend";
                     EXPECT_TRUE(d.SaveSettings(SettingsSource::KFG));
                 },
                 {}, {.files = counter});
    EXPECT_EQ(counter->replacements, 2); // one per file: a named save writes the sound options too
    EXPECT_THAT(ReadBytes(run / "KFG.ini"),
                AllOf(StartsWith("[KFG]\r\nSoundInit=1\r\nLineIn=0\r\n[Abend]\r\n"),
                      HasSubstr("\r\nFarbe=300\r\n")));
    // A zero slot writes nothing; Accel, not V320's key, and the other section stay untouched.
    EXPECT_THAT(ReadBytes(run / "Telvio.ini"),
                AllOf(StartsWith("; comment\r\n"), HasSubstr("Speicher5=12\r\n"),
                      HasSubstr("Accel=9\r\n"), HasSubstr("[Telvio-Erazor]\r\nLine-In=1\r\n")));

    KfgRun again(run.path(), [](CKfgDlg& d) {
        EXPECT_EQ(d.ItemText(res::kIdColour), "300");
        EXPECT_EQ(d.ItemText(res::kIdMemorySlot7), "61");
        EXPECT_EQ(d.ItemText(res::kIdMemorySlot5), "12");
    });
}

// The title names the section or configuration; "Telvio.ini" reloads what another program
// changed, in the viewer's own section.
TEST(KfgLoadSave, TitleAndReload) {
    const std::string kfg = "[KFG]\r\nFr=0\r\n[Sp\xE4tfilm]\r\nTestzeilen=42\r\n";
    KfgRunIn run("[Telvio-Erazor]\r\nLine-In=1\r\nTestzeilen=5\r\n", kfg, [&](CKfgDlg& d) {
        EXPECT_EQ(d.Title(), "KFG – Telvio-Erazor");
        run.state.ActiveSection = "Sp\xE4tfilm";
        d.LoadSettings(SettingsSource::KFG);
        EXPECT_EQ(d.Title(), "KFG – Spätfilm");
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "42");
        WriteBytes(run / "Telvio.ini", "[Telvio-Erazor]\r\nLine-In=1\r\nTestzeilen=77\r\n");
        d.Click(res::kIdReload);
        EXPECT_EQ(run.state.ActiveSection, "Telvio-Erazor");
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "77");
    });
}

// A folder copied from a FAT medium, every name in upper case: found and kept, as the viewer
// under wine finds them.
TEST(KfgLoadSave, UpperCaseNamesAreFoundAndKept) {
    TempDir dir;
    const fs::path sample = fs::path(KFG_EXAMPLES_DIR) / "V320";
    struct Copy {
        const char* from;
        const char* to;
    };
    for (const Copy& copy :
         {Copy{.from = "Telvio.ini", .to = "TELVIO.INI"}, Copy{.from = "KFG.ini", .to = "KFG.INI"},
          Copy{.from = "Telvio_16.idx", .to = "TELVIO_16.IDX"}}) {
        fs::copy_file(sample / copy.from, dir / copy.to);
    }
    KfgRun run(dir.path(), [](CKfgDlg& d) {
        EXPECT_EQ(d.ItemText(res::kIdVersionLabel), "V 3.20");
        EXPECT_EQ(ComboEntries(d, res::kIdConfigurationField), QStringList({"Abend", "Sport"}));
        EXPECT_EQ(d.ComboCount(res::kIdIndexFileList), 1);
        d.SetItemText(res::kIdTestLines, "33");
        d.SetItemText(res::kIdConfigurationField, "Nacht");
        d.Click(res::kIdSaveConfiguration);
        d.Click(res::kIdSoundInit); // the sound options are written on Start too
        d.Click(res::kIdStart);
    });
    // No "Telvio.ini nicht vorhanden" and no first-run prompts: only the recording starter's
    // failed hand-over is told.
    EXPECT_EQ(run.script.Seen().size(), 2u);
    EXPECT_EQ(run.starter.log, (std::vector<std::string>{"sound", "handover Telvio.exe Quick"}));
    EXPECT_EQ(EntryNames(dir.path()),
              (std::vector<std::string>{"KFG.INI", "TELVIO.INI", "TELVIO_16.IDX"}));
    EXPECT_THAT(ReadBytes(dir / "TELVIO.INI"), HasSubstr("Testzeilen=33\r\n"));
    EXPECT_THAT(ReadBytes(dir / "KFG.INI"), AllOf(HasSubstr("[Nacht]"), HasSubstr("SoundInit=1")));
}

} // namespace
} // namespace kfg::dialogs
