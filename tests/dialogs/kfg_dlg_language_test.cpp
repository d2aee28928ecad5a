// Caption language at start-up and when switched, and the choice lists FillLists builds.
#include "dialogs/main/kfg_dlg.h"
#include "res/template_102.h"
#include "support/kfg_run.h"
#include "support/temp_dir.h"
#include "support/typing.h"

#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::dialogs {
namespace {

using test::KfgRun;
using test::TempDir;
using test::WriteBytes;

QStringList Entries(const CKfgDlg& d, int id) {
    QStringList entries;
    for (int i = 0; i < d.ComboCount(id); ++i) {
        entries << d.ComboItemText(id, i);
    }
    return entries;
}

struct StartCase {
    const char* kfgIni; // nullptr: no KFG.ini
    bool spanish;
};

TEST(KfgLanguage, StartsInTheStoredLanguage) {
    const StartCase cases[] = {
        {nullptr, false},
        {"[KFG]\r\nFr=0\r\n", false},
        {"[KFG]\r\nFr=x\r\n", false},
        {"[KFG]\r\nFr=1\r\n", true},
        {"[KFG]\r\nFr=-3\r\n", true},
    };
    for (const StartCase& c : cases) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        if (c.kfgIni != nullptr) {
            WriteBytes(dir / "KFG.ini", c.kfgIni);
        }
        const std::string name = c.kfgIni ? c.kfgIni : "no KFG.ini";
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            EXPECT_EQ(d.CheckState(res::kIdLanguageToggle), c.spanish ? 1 : 0) << name;
            EXPECT_EQ(d.ItemText(res::kIdTestLinesLabel),
                      c.spanish ? "Líneas de test" : "Testzeilen")
                << name;
            EXPECT_EQ(d.ItemText(res::kIdHighPriority),
                      c.spanish ? "Prioridad alta" : "HohePriorität")
                << name;
            EXPECT_EQ(d.ItemText(res::kIdStatus), c.spanish ? "Información       " : "Status")
                << name;
            EXPECT_EQ(d.ItemText(res::kIdDefaults),
                      c.spanish ? "    R E S E T    " : " Defaultwerte")
                << name;
            EXPECT_EQ(d.Item(res::kIdStart)->accessibleName(), c.spanish ? "Iniciar" : "Start");
            EXPECT_EQ(d.Item(res::kIdMemorySlot7)->accessibleName(),
                      c.spanish ? "Memoria 7" : "Speicher 7");
            EXPECT_EQ(d.Record().SoundOptionsChanged, 0) << name; // not during start-up
            d.EndDialog(framework::IDCANCEL);
        });
        EXPECT_EQ(run.state.LanguageFlag, c.spanish ? 0 : 1) << name;
    }
}

TEST(KfgLanguage, SwitchingThereAndBack) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    KfgRun run(dir.path(), [&](CKfgDlg& d) {
        d.SetCheck(res::kIdLogFile, 1); // a change not yet taken into the record
        d.Click(res::kIdLanguageToggle);
        EXPECT_EQ(run.state.LanguageFlag, 0);
        EXPECT_EQ(d.CheckState(res::kIdLanguageToggle), 1);
        EXPECT_EQ(d.ItemText(res::kIdExit), "Salir  ");
        EXPECT_EQ(d.ItemText(res::kIdFirstLineLabel), "Primera  línea");
        EXPECT_EQ(d.CheckState(res::kIdSecam), 1);   // shown through the exchange
        EXPECT_EQ(d.CheckState(res::kIdLogFile), 0); // replaced by the record's value
        EXPECT_EQ(d.Record().SoundOptionsChanged, 1);
        EXPECT_EQ(d.Item(res::kIdSaveConfiguration)->accessibleName(), "Grabar");

        d.Click(res::kIdLanguageToggle);
        EXPECT_EQ(run.state.LanguageFlag, 1);
        EXPECT_EQ(d.CheckState(res::kIdLanguageToggle), 0);
        EXPECT_EQ(d.CheckState(res::kIdSecam), 0);
        // Only the six label fields return to German.
        EXPECT_EQ(d.ItemText(res::kIdTestLinesLabel), "Testzeilen");
        EXPECT_EQ(d.ItemText(res::kIdBorderHeightLabel), "Randhöhe");
        EXPECT_EQ(d.ItemText(res::kIdVolumeLabel), "Lautstärke");
        EXPECT_EQ(d.ItemText(res::kIdExit), "Salir  ");
        EXPECT_EQ(d.ItemText(res::kIdHighPriority), "Prioridad alta");
        EXPECT_EQ(d.Item(res::kIdBorderHeight)->accessibleName(), "Randhöhe");
        d.EndDialog(framework::IDCANCEL);
    });
}

// The input checks speak the language of the captions in force, also after a switch.
TEST(KfgLanguage, RangeMessagesInTheCaptionLanguage) {
    const char* const kGermanRange = "Bitte eine ganze Zahl zwischen 0 und 99 eingeben.";
    const char* const kSpanishRange = "Introduzca un número entero entre 0 y 99.";
    for (const bool spanish : {false, true}) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        WriteBytes(dir / "KFG.ini", spanish ? "[KFG]\r\nFr=1\r\n" : "[KFG]\r\nFr=0\r\n");
        KfgRun run(dir.path(), [](CKfgDlg& d) {
            test::TypeInto(d.Item(res::kIdTestLines), "120");
            d.Click(res::kIdExit);
            test::TypeInto(d.Item(res::kIdTestLines), "");
            d.Click(res::kIdExit);
            d.Click(res::kIdLanguageToggle);
            test::TypeInto(d.Item(res::kIdTestLines), "120");
            d.Click(res::kIdExit);
            d.EndDialog(framework::IDCANCEL);
        });
        const std::vector<QString> expected =
            spanish
                ? std::vector<QString>{kSpanishRange, "Introduzca un número entero.", kGermanRange}
                : std::vector<QString>{kGermanRange, "Bitte eine ganze Zahl eingeben.",
                                       kSpanishRange};
        EXPECT_EQ(run.script.MessageTexts(), expected) << spanish;
    }
}

TEST(KfgLists, DisplayModesOfferedAreTheEnabledRowsInTheCaptionLanguage) {
    for (const bool spanish : {false, true}) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
        WriteBytes(dir / "KFG.ini",
                   std::string("[KFG]\r\nFr=") + (spanish ? "1" : "0") +
                       "\r\nSoundInit=1\r\nLineIn=0\r\n0=1\r\n5=1\r\n7=2\r\n14=1\r\n");
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            EXPECT_EQ(Entries(d, res::kIdDisplayMode3x),
                      spanish ? QStringList({"En Ventana", "720*576 YUY2", "640*480 RVB"})
                              : QStringList({"Im Fenster", "720*576 YUY2", "640*480 RGB"}));
            EXPECT_EQ(d.CheckState(res::kIdSoundInit), 1);
            EXPECT_EQ(d.CheckState(res::kIdSoundLineIn), 0);
            d.EndDialog(framework::IDCANCEL);
        });
    }
}

TEST(KfgLists, EveryListIsFilledWhateverTheEdition) {
    const std::pair<const char*, const char*> editions[] = {
        {"[Telvio]\r\nStatus=1\r\n", "Hauppauge BT848"},                   // V31: Cards31
        {"[Telvio]\r\nStatus=1\r\nProportional=1\r\n", "Hauppauge WinTV"}, // V320: Cards320
    };
    for (const auto& [file, firstCard] : editions) {
        TempDir dir;
        WriteBytes(dir / "Telvio.ini", file);
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            EXPECT_EQ(d.ComboItemText(res::kIdCardList3x, 0), firstCard);
            EXPECT_EQ(d.ComboCount(res::kIdDisplayMode3x), 0); // no KFG.ini: nothing enabled
            EXPECT_EQ(d.ComboCount(res::kIdTunerList), 5);
            EXPECT_EQ(d.ComboCount(res::kIdDisplayMode283), 24);
            EXPECT_EQ(d.ComboCount(res::kIdCardList283), 4);
            EXPECT_EQ(Entries(d, res::kIdDisplayModeErazor),
                      QStringList({"352*288 Fenster", "352*288 YUY2", "384*288 Fenster",
                                   "384*288 YUY2", "640*480 TV-Out"}));
            EXPECT_EQ(Entries(d, res::kIdInterpolationList),
                      QStringList({"Aus", "Zeile auslassen", "Zeile kopieren"}));
            EXPECT_EQ(Entries(d, res::kIdCardListErazor), QStringList({"Elsa Victory Erazor"}));
            d.EndDialog(framework::IDCANCEL);
        });
    }
}

TEST(KfgLists, ShownTextsBecomeIndices) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\nProportional=1\r\n");
    WriteBytes(dir / "KFG.ini", "[KFG]\r\n2=1\r\n5=1\r\n");
    KfgRun run(dir.path(), [&](CKfgDlg& d) {
        run.state.DisplayMode = 1;
        run.state.TVKarte = 3;
        d.ComboSetCurSel(res::kIdDisplayMode3x, 0); // "Im Fenster ++"
        d.ComboSetCurSel(res::kIdCardList3x, 3);    // "Miro PCTV pro"
        d.ComboSetCurSel(res::kIdTunerList, -1);    // nothing shown: index kept
        run.state.Tuner = 4;
        d.ChoiceIndicesFromTexts();
        EXPECT_EQ(run.state.DisplayMode, 2);
        EXPECT_EQ(run.state.TVKarte, 3);
        EXPECT_EQ(run.state.Tuner, 4);
        d.EndDialog(framework::IDCANCEL);
    });
}

} // namespace
} // namespace kfg::dialogs
