// The main dialog's record and its exchange with the controls.
#include "support/dialog_tests.h"

#include <tuple>

namespace kfg::dialogs {
namespace {

// Typing in memory slots 0 to 19 takes the controls at once, in slots from 20 not: an exchange
// that stops at the first failing field, the rows before it taken, those after not.
TEST(KfgExchange, SlotTypingExchangesUpToTheFailingField) {
    KfgRunIn run("[Telvio]\r\nStatus=1\r\nProportional=1\r\n", {}, [](CKfgDlg& d) {
        const auto type = [&d](int first, int end) {
            for (int slot = first; slot < end; ++slot) {
                d.SetItemText(res::kMemorySlotIds[static_cast<std::size_t>(slot)], "5");
            }
        };
        type(1, 20);                             // each an exchange that passes
        d.SetItemText(res::kIdColour, "2");      // before the failing row
        d.SetItemText(res::kIdTestLines, "100"); // outside 0..99
        d.SetItemText(res::kIdFirstLine, "3");   // after it
        d.SetCheck(res::kIdLoudness, 1);         // after it
        type(20, 40);                            // no exchange
        EXPECT_EQ(d.Record().Testzeilen, 16);
        type(0, 1); // the exchange, and its message at once
        const settings::SettingsRecord& r = d.Record();
        EXPECT_EQ(r.Farbe, 2);
        EXPECT_EQ(r.Testzeilen, 100);
        EXPECT_EQ(r.ErsteZeile, 1); // as loaded (the default)
        EXPECT_EQ(r.Loudness, 0);
        for (int slot = 0; slot < 40; ++slot) {
            EXPECT_EQ(r.Memory[static_cast<std::size_t>(slot)], slot < 20 ? 5 : 0) << slot;
        }
    });
    EXPECT_THAT(run.script.Messages(), ElementsAre(HasSubstr("0 und 99")));
    EXPECT_EQ(run.script.Seen().back().icon, framework::MessageIcon::Warning);
}

// A value the edition never saves neither complains nor blocks, hidden (LetzteZeile, Accel) or
// shown disabled (Erazor's Farbe): typing brings no message, and Start writes the edits while
// the unsaved key keeps its bytes.
TEST(KfgExchange, UnsavedFieldsPassTheirLoadedValueUnchecked) {
    // The file; its line out of range, in a field whose key the edition never writes; a field the
    // edition writes, what is typed into it and the line saved.
    const std::tuple<const char*, const char*, int, const char*, const char*> cases[] = {
        {"[Telvio]\r\nStatus=1\r\nProportional=1\r\nLetzteZeile=600\r\n", "LetzteZeile=600\r\n",
         res::kMemorySlotIds[25], "7", "Speicher25=7\r\n"},
        {"[Telvio]\r\nStatus=1\r\nAccel=30\r\n", "Accel=30\r\n", res::kMemorySlotIds[5], "7",
         "Station5=7\r\n"},
        {"[Telvio-Erazor]\r\nLine-In=1\r\nFarbe=600\r\n", "Farbe=600\r\n", res::kIdTestLines, "33",
         "Testzeilen=33\r\n"},
    };
    for (const auto& [file, unsavedLine, field, typed, savedLine] : cases) {
        SCOPED_TRACE(unsavedLine);
        KfgRunIn start(file, {}, [&](CKfgDlg& d) {
            TypeInto(d.Item(res::kIdMemorySlot0), "1"); // takes the controls at once
            TypeInto(d.Item(field), typed);
            d.Click(res::kIdStart);
        });
        // No range message; only the recording starter's failed hand-over is told.
        EXPECT_THAT(
            start.script.Messages(),
            ElementsAre("Fehler: Telvio.exe konnte nicht gestartet werden: Datei nicht vorhanden"));
        EXPECT_EQ(start.starter.log, std::vector<std::string>{"handover Telvio.exe Quick"});
        EXPECT_THAT(ReadBytes(start / "Telvio.ini"),
                    AllOf(HasSubstr(savedLine), HasSubstr(unsavedLine)));
    }
}

// The message and the focus belong to the first failing field in the exchange order.
TEST(KfgExchange, FirstFailingFieldInTheOrderIsNamed) {
    constexpr const char* kV283 = "[Telvio]\r\nOptimierungBT=1\r\n";
    // Two shown fields out of range, `first` before `second` in the exchange, and the range the
    // message names: the first field's.
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {kV31, res::kIdColour, res::kIdBrightness, "0 und 511"},
        {kV31, res::kIdBrightness, res::kIdContrast, "0 und 255"},
        {kV31, res::kIdContrast, res::kIdBorderHeight, "0 und 511"},
        {kV31, res::kIdBorderHeight, res::kIdTestLines, "0 und 80"},
        {kV283, res::kIdTestLines, res::kIdFirstLine, "0 und 99"},
        {kV283, res::kIdFirstLine, res::kIdLastLine, "0 und 290"},
    };
    for (const auto& [file, first, second, range] : cases) {
        KfgRunIn run(file, {}, [&](CKfgDlg& d) {
            d.SetItemText(second, "999");
            d.SetItemText(first, "999");
            EXPECT_FALSE(d.UpdateData(true));
            EXPECT_EQ(d.Window()->focusWidget(), d.Item(first)) << first;
        });
        EXPECT_THAT(run.script.Messages(), ElementsAre(HasSubstr(range))) << first;
    }
}

// Each limit is accepted, one past it is not (every checked field starts at 0). The other
// checked fields' ranges are those the order test above finds in their messages.
TEST(KfgExchange, RangeLimitsOfTheShownFields) {
    KfgRunIn run(kEditionFiles[4], {}, [&](CKfgDlg& d) {
        for (const auto& [id, high] :
             {std::pair{res::kIdTestLines, 99}, std::pair{res::kIdLastLine, 580},
              std::pair{res::kIdAcceleration, 25}}) {
            const std::pair<int, bool> values[] = {
                {0, true}, {high, true}, {-1, false}, {high + 1, false}};
            for (const auto& [value, accepted] : values) {
                d.SetItemInt(id, value);
                EXPECT_EQ(d.UpdateData(true), accepted) << id << " " << value;
            }
            d.SetItemInt(id, 0);
        }
    });
}

// Each spin wraps between its own limits (test lines from 8, brightness from 1, below the
// checks' 0), reaching the top before it wraps.
TEST(KfgExchange, SpinsWrapBetweenTheirOwnLimits) {
    KfgRunIn run(kV31, {}, [](CKfgDlg& d) {
        const std::tuple<int, const char*, Qt::Key, const char*> steps[] = {
            {res::kIdTestLines, "98", Qt::Key_Up, "99"},
            {res::kIdTestLines, "99", Qt::Key_Up, "8"},
            {res::kIdTestLines, "9", Qt::Key_Down, "8"},
            {res::kIdTestLines, "8", Qt::Key_Down, "99"},
            {res::kIdBrightness, "1", Qt::Key_Down, "255"},
        };
        for (const auto& [id, from, key, to] : steps) {
            d.SetItemText(id, from);
            PressKey(d.Item(id), key);
            EXPECT_EQ(d.ItemText(id), to) << id << " from " << from;
        }
    });
}

// A list shows a stored choice only when it holds exactly that entry; otherwise it shows
// nothing and the stored index is kept, also right after showing another configuration. A
// save writes the row of the entry shown.
TEST(KfgExchange, ListsShowOnlyTheStoredChoice) {
    // "Telvio.ini", "KFG.ini" with configurations A and B, the list and its key, what the list
    // shows for A, the entry then chosen for A and its row saved (wherever the list holds it),
    // and B's index saved (not shown in its list, it survives B's save).
    const std::tuple<const char*, const char*, int, const char*, const char*, int, const char*,
                     const char*>
        cases[] = {
            {kV31, "[KFG]\r\n2=1\r\n5=1\r\n[A]\r\nDisplayMode=2\r\n[B]\r\nDisplayMode=1\r\n",
             res::kIdDisplayMode3x, "DisplayMode", "Im Fenster ++", 1, "5", "1"},
            {kV31, "[KFG]\r\n2=1\r\n5=1\r\n[A]\r\nDisplayMode=5\r\n[B]\r\nDisplayMode=7\r\n",
             res::kIdDisplayMode3x, "DisplayMode", "720*576 YUY2", 0, "2", "7"},
            {"[Telvio]\r\nOptimierungBT=1\r\n", "[KFG]\r\n[A]\r\nTVKarte=2\r\n[B]\r\nTVKarte=5\r\n",
             res::kIdCardList283, "TVKarte", "Hauppauge BT878", 0, "0", "5"},
            {kEditionFiles[5], "[KFG]\r\n[A]\r\nTVKarte=2\r\n[B]\r\nTVKarte=99\r\n",
             res::kIdCardList3x, "TVKarte", "Miro PCTV", 3, "3", "99"},
        };
    for (const auto& [telvioIni, kfgIni, list, key, shownForA, pickForA, savedForA, savedForB] :
         cases) {
        SCOPED_TRACE(kfgIni);
        KfgRunIn run(telvioIni, kfgIni, [&](CKfgDlg& d) {
            for (const char* name : {"A", "B"}) {
                TypeInto(d.Item(res::kIdConfigurationField), name);
                d.Click(res::kIdShowConfiguration);
                EXPECT_EQ(d.ItemText(list).toStdString(),
                          std::string(name) == "A" ? shownForA : "");
                if (std::string(name) == "A") {
                    d.ComboSetCurSel(list, pickForA);
                }
                d.Click(res::kIdSaveConfiguration);
            }
        });
        settings::ProfileStore store;
        EXPECT_EQ(store.GetString(run / "KFG.ini", "A", key, "", 20), savedForA);
        EXPECT_EQ(store.GetString(run / "KFG.ini", "B", key, "", 20), savedForB);
    }
}

} // namespace
} // namespace kfg::dialogs
