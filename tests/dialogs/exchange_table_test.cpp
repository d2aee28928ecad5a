// The main dialog's record and its exchange with the controls.
#include "support/dialog_tests.h"

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
        const telvio::SettingsRecord& r = d.Record();
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

// A value the edition never saves neither complains nor blocks, hidden (LetzteZeile) or
// shown disabled (Erazor's Farbe): typing brings no message, and Start writes the edits while
// the unsaved key keeps its bytes.
TEST(KfgExchange, UnsavedFieldsPassTheirLoadedValueUnchecked) {
    struct Case {
        const char* telvioIni;
        const char* unsavedLine; // out of range, in a field whose key the edition never writes
        int field;               // one the edition writes
        const char* typed;       // into `field`
        const char* savedLine;
    };
    const Case cases[] = {
        {.telvioIni = "[Telvio]\r\nStatus=1\r\nProportional=1\r\nLetzteZeile=600\r\n",
         .unsavedLine = "LetzteZeile=600\r\n",
         .field = res::kMemorySlotIds[25],
         .typed = "7",
         .savedLine = "Speicher25=7\r\n"},
        {.telvioIni = "[Telvio-Erazor]\r\nLine-In=1\r\nFarbe=600\r\n",
         .unsavedLine = "Farbe=600\r\n",
         .field = res::kIdTestLines,
         .typed = "33",
         .savedLine = "Testzeilen=33\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unsavedLine);
        KfgRunIn start(c.telvioIni, {}, [&](CKfgDlg& d) {
            TypeInto(d.Item(res::kIdMemorySlot0), "1"); // takes the controls at once
            TypeInto(d.Item(c.field), c.typed);
            d.Click(res::kIdStart);
        });
        // No range message; only the recording starter's failed hand-over is told.
        EXPECT_THAT(
            start.script.Messages(),
            ElementsAre("Fehler: Telvio.exe konnte nicht gestartet werden: Datei nicht vorhanden"));
        EXPECT_EQ(start.starter.log, std::vector<std::string>{"handover Telvio.exe Quick"});
        EXPECT_THAT(ReadBytes(start / "Telvio.ini"),
                    AllOf(HasSubstr(c.savedLine), HasSubstr(c.unsavedLine)));
    }
}

// The message and the focus belong to the first failing field in the exchange order.
TEST(KfgExchange, FirstFailingFieldInTheOrderIsNamed) {
    constexpr const char* kV283 = "[Telvio]\r\nOptimierungBT=1\r\n";
    struct Case {
        const char* telvioIni;
        int first;         // out of range, before `second` in the exchange
        int second;        // out of range too
        const char* range; // the one the message names: the first field's
    };
    const Case cases[] = {
        {.telvioIni = kV31,
         .first = res::kIdColour,
         .second = res::kIdBrightness,
         .range = "0 und 511"},
        {.telvioIni = kV31,
         .first = res::kIdBrightness,
         .second = res::kIdContrast,
         .range = "0 und 255"},
        {.telvioIni = kV31,
         .first = res::kIdContrast,
         .second = res::kIdBorderHeight,
         .range = "0 und 511"},
        {.telvioIni = kV31,
         .first = res::kIdBorderHeight,
         .second = res::kIdTestLines,
         .range = "0 und 80"},
        {.telvioIni = kV283,
         .first = res::kIdTestLines,
         .second = res::kIdFirstLine,
         .range = "0 und 99"},
        {.telvioIni = kV283,
         .first = res::kIdFirstLine,
         .second = res::kIdLastLine,
         .range = "0 und 290"},
    };
    for (const Case& c : cases) {
        KfgRunIn run(c.telvioIni, {}, [&](CKfgDlg& d) {
            d.SetItemText(c.second, "999");
            d.SetItemText(c.first, "999");
            EXPECT_FALSE(d.UpdateData(true));
            EXPECT_EQ(d.Window()->focusWidget(), d.Item(c.first)) << c.first;
        });
        EXPECT_THAT(run.script.Messages(), ElementsAre(HasSubstr(c.range))) << c.first;
    }
}

// Each limit is accepted, one past it is not (every checked field starts at 0). The other
// checked fields' ranges are those the order test above finds in their messages.
TEST(KfgExchange, RangeLimitsOfTheShownFields) {
    KfgRunIn run(kEditionFiles[4], {}, [&](CKfgDlg& d) {
        struct Field {
            int id;
            int high; // its upper limit
        };
        struct Value {
            int value;
            bool accepted;
        };
        for (const Field& field : {Field{.id = res::kIdTestLines, .high = 99},
                                   Field{.id = res::kIdLastLine, .high = 580},
                                   Field{.id = res::kIdAcceleration, .high = 25}}) {
            const Value values[] = {
                {.value = 0, .accepted = true},
                {.value = field.high, .accepted = true},
                {.value = -1, .accepted = false},
                {.value = field.high + 1, .accepted = false},
            };
            for (const Value& v : values) {
                d.SetItemInt(field.id, v.value);
                EXPECT_EQ(d.UpdateData(true), v.accepted) << field.id << " " << v.value;
            }
            d.SetItemInt(field.id, 0);
        }
    });
}

// Each spin wraps between its own limits (test lines from 8, brightness from 1, below the
// checks' 0), reaching the top before it wraps.
TEST(KfgExchange, SpinsWrapBetweenTheirOwnLimits) {
    KfgRunIn run(kV31, {}, [](CKfgDlg& d) {
        struct Step {
            int id;
            const char* from;
            Qt::Key key;
            const char* to;
        };
        const Step steps[] = {
            {.id = res::kIdTestLines, .from = "98", .key = Qt::Key_Up, .to = "99"},
            {.id = res::kIdTestLines, .from = "99", .key = Qt::Key_Up, .to = "8"},
            {.id = res::kIdTestLines, .from = "9", .key = Qt::Key_Down, .to = "8"},
            {.id = res::kIdTestLines, .from = "8", .key = Qt::Key_Down, .to = "99"},
            {.id = res::kIdBrightness, .from = "1", .key = Qt::Key_Down, .to = "255"},
        };
        for (const Step& step : steps) {
            d.SetItemText(step.id, step.from);
            PressKey(d.Item(step.id), step.key);
            EXPECT_EQ(d.ItemText(step.id), step.to) << step.id << " from " << step.from;
        }
    });
}

// A list shows a stored choice only when it holds exactly that entry; otherwise it shows
// nothing and the stored index is kept, also right after showing another configuration. A
// save writes the row of the entry shown.
TEST(KfgExchange, ListsShowOnlyTheStoredChoice) {
    struct Case {
        const char* telvioIni;
        const char* kfgIni; // with configurations A and B
        int list;
        const char* key; // of the list
        const char* shownForA;
        int pickForA;          // the entry then chosen for A
        const char* savedForA; // its row, wherever the list holds it
        const char* savedForB; // B's index: not shown in its list, it survives B's save
    };
    const Case cases[] = {
        {.telvioIni = kV31,
         .kfgIni = "[KFG]\r\n2=1\r\n5=1\r\n[A]\r\nDisplayMode=2\r\n[B]\r\nDisplayMode=1\r\n",
         .list = res::kIdDisplayMode3x,
         .key = "DisplayMode",
         .shownForA = "Im Fenster ++",
         .pickForA = 1,
         .savedForA = "5",
         .savedForB = "1"},
        {.telvioIni = "[Telvio]\r\nOptimierungBT=1\r\n",
         .kfgIni = "[KFG]\r\n[A]\r\nTVKarte=2\r\n[B]\r\nTVKarte=5\r\n",
         .list = res::kIdCardList283,
         .key = "TVKarte",
         .shownForA = "Hauppauge BT878",
         .pickForA = 0,
         .savedForA = "0",
         .savedForB = "5"},
        {.telvioIni = kEditionFiles[5],
         .kfgIni = "[KFG]\r\n[A]\r\nTVKarte=2\r\n[B]\r\nTVKarte=99\r\n",
         .list = res::kIdCardList3x,
         .key = "TVKarte",
         .shownForA = "Miro PCTV",
         .pickForA = 3,
         .savedForA = "3",
         .savedForB = "99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kfgIni);
        KfgRunIn run(c.telvioIni, c.kfgIni, [&](CKfgDlg& d) {
            for (const char* name : {"A", "B"}) {
                TypeInto(d.Item(res::kIdConfigurationField), name);
                d.Click(res::kIdShowConfiguration);
                EXPECT_EQ(d.ItemText(c.list).toStdString(),
                          std::string(name) == "A" ? c.shownForA : "");
                if (std::string(name) == "A") {
                    d.ComboSetCurSel(c.list, c.pickForA);
                }
                d.Click(res::kIdSaveConfiguration);
            }
        });
        settings::ProfileStore store;
        EXPECT_EQ(store.GetString(run / "KFG.ini", "A", c.key, "", 20), c.savedForA);
        EXPECT_EQ(store.GetString(run / "KFG.ini", "B", c.key, "", 20), c.savedForB);
    }
}

} // namespace
} // namespace kfg::dialogs
