// The main dialog's buttons, boxes and the ways out, driven as a user would.
#include "support/dialog_tests.h"

#include <QLineEdit>

namespace kfg::dialogs {
namespace {

constexpr const char* kV283 =
    "[Telvio]\r\nOptimierungBT=1\r\nTestzeilen=40\r\nHoeheRand=7\r\nErsteZeile=9\r\n"
    "LetzteZeile=300\r\nFarbe=100\r\nSecam=1\r\nPALplus=1\r\n";

TEST(KfgCommands, DefaultsChangeControlsOnlyUntilSaved) {
    KfgRunIn run(kV283, {}, [](CKfgDlg& d) {
        d.Click(res::kIdDefaults);
        EXPECT_EQ(d.Record().Testzeilen, 40); // the record follows only at the next exchange
        d.Click(res::kIdExit);
    });
    EXPECT_EQ(ReadBytes(run / "Telvio.ini"), kV283); // "Beenden" saves nothing
    // Saved, the controls' defaults reach the file: the button set them.
    KfgRun save(run.path(), [](CKfgDlg& d) {
        d.Click(res::kIdDefaults);
        EXPECT_TRUE(d.SaveSettings(SettingsSource::Telvio));
    });
    EXPECT_THAT(ReadBytes(run / "Telvio.ini"),
                AllOf(HasSubstr("Testzeilen=16\r\n"), HasSubstr("ErsteZeile=2\r\n"),
                      HasSubstr("LetzteZeile=285\r\n"), HasSubstr("Farbe=254\r\n"),
                      HasSubstr("Secam=0\r\n"), HasSubstr("PALplus=0\r\n")));
}

TEST(KfgCommands, AspectPresetsSetTheBorderHeight) {
    KfgRunIn run(kV31, {}, [](CKfgDlg& d) {
        struct Preset {
            int button;
            const char* borderHeight;
        };
        const Preset presets[] = {
            {.button = res::kIdAspect4To3, .borderHeight = "1"},
            {.button = res::kIdAspect16To9, .borderHeight = "34"},
            {.button = res::kIdAspect20To9, .borderHeight = "60"},
        };
        for (const Preset& preset : presets) {
            d.Click(preset.button);
            EXPECT_EQ(d.ItemText(res::kIdBorderHeight), preset.borderHeight);
        }
    });
}

TEST(KfgCommands, PalPlusAndBlackLinesExcludeEachOther) {
    struct Case {
        int pal;     // PALplus as loaded
        int black;   // black lines as loaded
        int clicked; // the box
        int palAfter;
        int blackAfter;
    };
    const Case cases[] = {
        {.pal = 0, .black = 0, .clicked = res::kIdBlackLines, .palAfter = 0, .blackAfter = 1},
        {.pal = 1, .black = 0, .clicked = res::kIdBlackLines, .palAfter = 0, .blackAfter = 1},
        {.pal = 0, .black = 1, .clicked = res::kIdBlackLines, .palAfter = 0, .blackAfter = 0},
        {.pal = 1, .black = 1, .clicked = res::kIdBlackLines, .palAfter = 0, .blackAfter = 0},
        {.pal = 0, .black = 0, .clicked = res::kIdPalPlus, .palAfter = 1, .blackAfter = 0},
        {.pal = 0, .black = 1, .clicked = res::kIdPalPlus, .palAfter = 1, .blackAfter = 0},
        {.pal = 1, .black = 0, .clicked = res::kIdPalPlus, .palAfter = 0, .blackAfter = 0},
        {.pal = 1, .black = 1, .clicked = res::kIdPalPlus, .palAfter = 0, .blackAfter = 0},
    };
    for (const Case& c : cases) {
        const std::string telvio =
            "[Telvio]\r\nOptimierungBT=1\r\nPALplus=" + std::to_string(c.pal) +
            "\r\nSchwarzeZeile=" + std::to_string(c.black) + "\r\n";
        KfgRunIn run(telvio, {}, [&](CKfgDlg& d) {
            d.Click(c.clicked);
            EXPECT_EQ(d.CheckState(res::kIdPalPlus), c.palAfter);
            EXPECT_EQ(d.CheckState(res::kIdBlackLines), c.blackAfter);
            EXPECT_EQ(d.Record().PALplus, c.palAfter);
            EXPECT_EQ(d.Record().SchwarzeZeile, c.blackAfter);
        });
    }
}

TEST(KfgCommands, SoundOptionsAreWrittenByBeendenOnlyAfterAClick) {
    struct Case {
        bool clicked;  // the sound options
        bool closeBox; // instead of "Beenden"
        bool written;  // "KFG.ini"
    };
    const Case cases[] = {
        {.clicked = false, .closeBox = false, .written = false},
        {.clicked = true, .closeBox = false, .written = true},
        {.clicked = true, .closeBox = true, .written = false},
    };
    for (const Case& c : cases) {
        KfgRunIn run(kV31, "[KFG]\r\nFr=0\r\n", [&](CKfgDlg& d) {
            if (c.clicked) {
                d.Click(res::kIdSoundLineIn); // checked
                d.Click(res::kIdSoundLineIn); // and cleared again: still counts
                d.Click(res::kIdSoundInit);
            }
            if (c.closeBox) {
                d.CloseWindow();
            } else {
                d.Click(res::kIdExit);
            }
        });
        EXPECT_EQ(ReadBytes(run / "KFG.ini"),
                  c.written ? "[KFG]\r\nFr=0\r\nSoundInit=1\r\nLineIn=0\r\n" : "[KFG]\r\nFr=0\r\n")
            << c.clicked << c.closeBox;
        EXPECT_EQ(run.result, framework::IDOK);
    }
}

// A failed check stops Start and a named save at once: the message, nothing written to either
// file (the changed sound options included), nothing started, and the dialog open with the
// failing field's text selected for correcting.
TEST(KfgCommands, FailedCheckStopsStartAndNamedSave) {
    for (const bool start : {true, false}) { // Start, else a named save
        const std::string telvio = "[Telvio]\r\nStatus=1\r\nTestzeilen=20\r\n";
        const std::string kfg = "[KFG]\r\nFr=0\r\n";
        KfgRunIn run(telvio, kfg, [&](CKfgDlg& d) {
            d.Click(res::kIdSoundInit);
            TypeInto(d.Item(res::kIdMemorySlot30), "9");
            TypeInto(d.Item(res::kIdTestLines), "120");
            if (start) {
                d.Click(res::kIdStart);
            } else {
                TypeInto(d.Item(res::kIdConfigurationField), "Abend");
                d.Click(res::kIdSaveConfiguration);
            }
            EXPECT_FALSE(d.IsEnded());
            auto* field = qobject_cast<QLineEdit*>(d.Item(res::kIdTestLines));
            EXPECT_EQ(d.Window()->focusWidget(), field);
            EXPECT_EQ(field->selectedText(), "120");
            EXPECT_EQ(d.ComboCount(res::kIdConfigurationField), 0); // nothing saved, none listed
        });
        EXPECT_EQ(
            run.script.Messages(),
            std::vector<std::string>{"KFG: Bitte eine ganze Zahl zwischen 0 und 99 eingeben."});
        EXPECT_TRUE(run.starter.log.empty());
        EXPECT_EQ(ReadBytes(run / "Telvio.ini"), telvio);
        EXPECT_EQ(ReadBytes(run / "KFG.ini"), kfg);
    }
}

// Enter in the configuration field saves (see the configuration tests); elsewhere it neither
// saves nor ends KFG.
TEST(KfgCommands, EnterOutsideTheConfigurationFieldDoesNothing) {
    KfgRunIn run(kV31, {}, [](CKfgDlg& d) {
        d.SetItemText(res::kIdConfigurationField, "Abend");
        d.SetFocusTo(res::kIdMemorySlot3);
        PressKey(d.Item(res::kIdMemorySlot3), Qt::Key_Return);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(d.ComboCount(res::kIdConfigurationField), 0);
    });
}

} // namespace
} // namespace kfg::dialogs
