// The main dialog's record and its exchange with the controls.
#include "dialogs/main/kfg_dlg.h"
#include "res/template_102.h"
#include "settings/process_state.h"
#include "settings/profile_store.h"
#include "support/kfg_run.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace kfg::dialogs {
namespace {

using test::KfgRun;
using test::TempDir;
using test::WriteBytes;

constexpr const char* kV31 = "[Telvio]\r\nStatus=1\r\n";

TEST(KfgExchange, InitialRecordPassesItsChecksThenMissingKeysLoadDefaults) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    {
        settings::ProcessState state;
        settings::ProfileStore store;
        test::RecordingStarter starter;
        CKfgDlg dialog(state, store, starter, std::make_shared<mixer::SimulatedMixer>(),
                       dir.path());
        const settings::SettingsRecord& r = dialog.Record();
        EXPECT_EQ(r.Testzeilen, 1);
        EXPECT_EQ(r.Farbe, 1);
        EXPECT_EQ(r.Helligkeit, 1);
        EXPECT_EQ(r.Kontrast, 1);
        EXPECT_EQ(r.HoeheRand, 0);
        EXPECT_EQ(r.IndexFileSelection, -1);
    }
    KfgRun run(dir.path(), [](CKfgDlg& d) {
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "16");
        EXPECT_EQ(d.ItemText(res::kIdColour), "254");
        EXPECT_EQ(d.ItemText(res::kIdBrightness), "128");
        EXPECT_EQ(d.ItemText(res::kIdContrast), "216");
        EXPECT_EQ(d.ItemText(res::kIdBorderHeight), "0");
        EXPECT_EQ(d.ItemText(res::kIdFirstLine), "1");
        EXPECT_EQ(d.ItemText(res::kIdLastLine), "285");
        EXPECT_EQ(d.CheckState(res::kIdTurbo), 1);
        EXPECT_EQ(d.CheckState(res::kIdStatus), 1);
        for (const int id : res::kMemorySlotIds) {
            EXPECT_EQ(d.ItemText(id), "0") << id;
        }
        // Index 0 of each table: the lists show their first row (1012 has no enabled row).
        EXPECT_EQ(d.ComboCurSel(res::kIdDisplayMode3x), -1);
        EXPECT_EQ(d.ItemText(res::kIdTunerList), "Temic PAL B/G");
        d.EndDialog(framework::IDCANCEL);
    });
    // The initial values pass every check of the first load: no message.
    EXPECT_TRUE(run.script.MessageTexts().empty());
}

TEST(KfgExchange, FailingFieldInTheMiddleStopsTheExchange) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", kV31);
    KfgRun run(dir.path(), [](CKfgDlg& d) {
        for (int slot = 0; slot < 40; ++slot) {
            d.SetItemText(res::kMemorySlotIds[static_cast<std::size_t>(slot)], "5");
        }
        d.SetItemText(res::kIdColour, "2");      // before the failing row
        d.SetItemText(res::kIdTestLines, "100"); // outside 0..99
        d.SetItemText(res::kIdFirstLine, "3");   // after it
        d.SetCheck(res::kIdLoudness, 1);         // after it

        EXPECT_FALSE(d.UpdateData(true));

        const settings::SettingsRecord& r = d.Record();
        EXPECT_EQ(r.Farbe, 2);
        EXPECT_EQ(r.Testzeilen, 100);
        EXPECT_EQ(r.ErsteZeile, 1); // as loaded (the default)
        EXPECT_EQ(r.Loudness, 0);
        for (int slot = 0; slot < 40; ++slot) {
            EXPECT_EQ(r.Memory[static_cast<std::size_t>(slot)], slot < 20 ? 5 : 0) << slot;
        }
        auto* field = qobject_cast<QLineEdit*>(d.Item(res::kIdTestLines));
        EXPECT_EQ(d.Window()->focusWidget(), field);
        EXPECT_EQ(field->selectedText(), "100");
        d.EndDialog(framework::IDCANCEL);
    });
    ASSERT_EQ(run.script.MessageTexts().size(), 1u);
    EXPECT_TRUE(run.script.MessageTexts()[0].contains("0 und 99"));
}

TEST(KfgExchange, OutOfRangeValueInAHiddenFieldBlocksEveryExchange) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", kV31);
    KfgRun run(dir.path(), [](CKfgDlg& d) {
        EXPECT_FALSE(d.IsItemShown(res::kIdFirstLine)); // hidden for V31
        d.Record().ErsteZeile = 300;
        d.UpdateData(false);
        d.SetItemText(res::kIdLastLine, "9");
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_FALSE(d.UpdateData(true));
            EXPECT_EQ(d.Record().LetzteZeile, 285) << attempt; // after the blocked field
        }
        d.SetItemText(res::kIdFirstLine, "2");
        EXPECT_TRUE(d.UpdateData(true));
        EXPECT_EQ(d.Record().LetzteZeile, 9);
        d.EndDialog(framework::IDCANCEL);
    });
    ASSERT_EQ(run.script.MessageTexts().size(), 2u);
    EXPECT_TRUE(run.script.MessageTexts()[0].contains("0 und 290"));
}

TEST(KfgExchange, CheckBoxesNegativeSlotsAndSpins) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", kV31);
    KfgRun run(dir.path(), [](CKfgDlg& d) {
        d.Record().Debug = 5;
        d.Record().Status = 1;
        d.Record().Memory[3] = -12;
        d.UpdateData(false);
        EXPECT_EQ(d.CheckState(1017), 0);
        EXPECT_EQ(d.Record().Debug, 0); // outside 0..2 it becomes 0
        EXPECT_EQ(d.CheckState(1014), 1);
        EXPECT_EQ(d.ItemText(res::kIdMemorySlot3), "-12");
        d.Record().Memory[3] = 0;
        EXPECT_TRUE(d.UpdateData(true));
        EXPECT_EQ(d.Record().Memory[3], -12);

        // The test-line spin wraps between its own limits 8 and 99.
        QWidget* field = d.Item(res::kIdTestLines);
        d.SetItemText(res::kIdTestLines, "99");
        QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(field, &up);
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "8");
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(field, &down);
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "99");
        // Brightness starts at 1, not at the check range's 0.
        d.SetItemText(res::kIdBrightness, "1");
        QApplication::sendEvent(d.Item(res::kIdBrightness), &down);
        EXPECT_EQ(d.ItemText(res::kIdBrightness), "255");
        d.EndDialog(framework::IDCANCEL);
    });
}

TEST(KfgExchange, ListTextSelectsTheFirstEntryBeginningWithIt) {
    TempDir dir;
    WriteBytes(dir / "Telvio.ini", kV31);
    WriteBytes(dir / "KFG.ini", "[KFG]\r\nFr=0\r\n2=1\r\n5=1\r\n");
    KfgRun run(dir.path(), [](CKfgDlg& d) {
        ASSERT_EQ(d.ComboCount(res::kIdDisplayMode3x), 2);
        d.Record().DisplayModeText3x = "Im Fenster +";
        d.Record().TunerText = "philips pal i"; // letters compared without regard to case
        d.UpdateData(false);
        EXPECT_EQ(d.ItemText(res::kIdDisplayMode3x), "Im Fenster ++");
        EXPECT_EQ(d.ItemText(res::kIdTunerList), "Philips PAL I");
        d.Record().DisplayModeText3x = "800*600 RGB";
        d.UpdateData(false);
        EXPECT_EQ(d.ItemText(res::kIdDisplayMode3x), "Im Fenster ++"); // no match: unchanged
        d.Record().InterpolationText = "Zeile halbieren"; // editable: shows the text itself
        d.UpdateData(false);
        EXPECT_EQ(d.ItemText(res::kIdInterpolationList), "Zeile halbieren");
        d.EndDialog(framework::IDCANCEL);
    });
}

} // namespace
} // namespace kfg::dialogs
