// Caption language at start-up and when switched, and the messages that follow it.
#include "support/dialog_tests.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

namespace kfg::dialogs {
namespace {

TEST(KfgLanguage, StartsInTheStoredLanguage) {
    struct Case {
        const char* kfgIni; // empty: none
        bool spanish;
    };
    const Case cases[] = {
        {.kfgIni = "", .spanish = false},
        {.kfgIni = "[KFG]\r\nFr=x\r\n", .spanish = false},
        {.kfgIni = "[KFG]\r\nFr=1\r\n", .spanish = true},
        {.kfgIni = "[KFG]\r\nFr=-3\r\n", .spanish = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kfgIni);
        KfgRunIn run(kV31, c.kfgIni, [&](CKfgDlg& d) {
            EXPECT_EQ(d.CheckState(res::kIdLanguageToggle), c.spanish ? 1 : 0);
            EXPECT_EQ(d.ItemText(res::kIdTestLinesLabel),
                      c.spanish ? "Líneas de test" : "Testzeilen");
            EXPECT_EQ(d.Item(res::kIdMemorySlot7)->accessibleName(),
                      c.spanish ? "Memoria 7" : "Speicher 7");
            EXPECT_EQ(d.Record().SoundOptionsChanged, 0); // not during start-up
        });
        // A KFG.ini, even without configurations, means no first-run prompts.
        EXPECT_EQ(run.script.Seen().size(), *c.kfgIni != '\0' ? 1u : 3u);
    }
}

TEST(KfgLanguage, SwitchingThereAndBack) {
    KfgRunIn run(kV31, {}, [&](CKfgDlg& d) {
        d.SetCheck(res::kIdLogFile, 1); // a change not yet taken into the record
        d.Click(res::kIdLanguageToggle);
        EXPECT_EQ(d.CheckState(res::kIdLanguageToggle), 1);
        EXPECT_EQ(d.ItemText(res::kIdExit), "Salir  ");
        EXPECT_EQ(d.ItemText(res::kIdFirstLineLabel), "Primera  línea");
        EXPECT_EQ(d.CheckState(res::kIdSecam), 1);   // shown through the exchange
        EXPECT_EQ(d.CheckState(res::kIdLogFile), 0); // replaced by the record's value
        EXPECT_EQ(d.Record().SoundOptionsChanged, 1);
        EXPECT_EQ(d.Item(res::kIdSaveConfiguration)->accessibleName(), "Grabar");

        d.Click(res::kIdLanguageToggle);
        EXPECT_EQ(d.CheckState(res::kIdLanguageToggle), 0);
        EXPECT_EQ(d.CheckState(res::kIdSecam), 0);
        // Only the six label fields return to German.
        EXPECT_EQ(d.ItemText(res::kIdTestLinesLabel), "Testzeilen");
        EXPECT_EQ(d.ItemText(res::kIdExit), "Salir  ");
        EXPECT_EQ(d.ItemText(res::kIdHighPriority), "Prioridad alta");
        EXPECT_EQ(d.Item(res::kIdBorderHeight)->accessibleName(), "Randhöhe");
        EXPECT_EQ(d.Item(res::kIdBorderHeightSpin)->accessibleName(), "Randhöhe"); // as its field
    });
}

// The input checks speak the language of the captions in force, also after a switch. A failing
// check keeps KFG open on "Beenden" and on the close box alike; Escape ends whatever the fields
// hold.
TEST(KfgLanguage, RangeMessagesInTheCaptionLanguage) {
    const std::string kGermanRange = "KFG: Bitte eine ganze Zahl zwischen 0 und 99 eingeben.";
    const std::string kSpanishRange = "KFG: Introduzca un número entero entre 0 y 99.";
    for (const bool spanish : {false, true}) {
        KfgRunIn run(kV31, KfgIni(spanish), [](CKfgDlg& d) {
            TypeInto(d.Item(res::kIdTestLines), "120");
            d.Click(res::kIdExit);
            TypeInto(d.Item(res::kIdTestLines), "");
            d.CloseWindow();
            d.Click(res::kIdLanguageToggle);
            TypeInto(d.Item(res::kIdTestLines), "120");
            d.Click(res::kIdExit);
            EXPECT_FALSE(d.IsEnded());
            d.PressEscape();
            EXPECT_TRUE(d.IsEnded());
        });
        EXPECT_THAT(
            run.script.Messages(),
            spanish
                ? ElementsAre(kSpanishRange, "KFG: Introduzca un número entero.", kGermanRange)
                : ElementsAre(kGermanRange, "KFG: Bitte eine ganze Zahl eingeben.", kSpanishRange));
        EXPECT_EQ(run.result, framework::IDCANCEL);
    }
}

// What a control shows of its caption, a button's "&&" read as the "&" it stands for.
QString ShownText(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text().replace("&&", "&");
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    return qobject_cast<const QLineEdit*>(widget)->text();
}

// A caption too wide for its control is cut with "…" (the whole caption its tooltip) on a
// one-line control and wrapped at blanks on a multi-line one, in both languages. Each control
// is narrowed to three quarters of its caption, so that this holds in any font.
TEST(KfgLanguage, CaptionsTooWideAreCutOrWrapped) {
    struct Control {
        int id;
        bool multiLine;
        bool hidden = false; // by the edition: fitted once it is shown
    };
    const Control controls[] = {
        {.id = res::kIdBlackLines, .multiLine = false, .hidden = true},
        {.id = res::kIdSoundInit, .multiLine = true},
        {.id = res::kIdIndexFileLabel, .multiLine = false},
        {.id = res::kIdTestLinesLabel, .multiLine = false},
    };
    for (const bool spanish : {false, true}) {
        KfgRunIn run(kV31, KfgIni(spanish), [&](CKfgDlg& d) {
            for (const Control& control : controls) {
                SCOPED_TRACE(std::to_string(control.id) + (spanish ? " es" : " de"));
                QWidget* widget = d.Item(control.id);
                const QString caption = d.ItemText(control.id);
                const QFontMetrics metrics = widget->fontMetrics();
                widget->resize(metrics.horizontalAdvance(caption.trimmed()) * 3 / 4,
                               widget->height());
                d.SetItemText(control.id, caption);
                ASSERT_EQ(d.IsItemShown(control.id), !control.hidden);
                if (control.hidden) {
                    d.ShowItem(control.id, true);
                }
                QString shown = ShownText(widget);
                EXPECT_EQ(shown.endsWith(QChar(0x2026)), !control.multiLine) << shown.toStdString();
                EXPECT_EQ(shown.contains('\n'), control.multiLine) << shown.toStdString();
                if (control.multiLine) {
                    EXPECT_TRUE(widget->toolTip().isEmpty());
                    EXPECT_EQ(shown.replace('\n', ' '), caption.trimmed());
                } else {
                    EXPECT_EQ(widget->toolTip(), caption);
                    EXPECT_TRUE(caption.startsWith(shown.chopped(1))) << shown.toStdString();
                    EXPECT_LE(metrics.horizontalAdvance(shown), widget->width());
                }
            }
        });
    }
}

} // namespace
} // namespace kfg::dialogs
