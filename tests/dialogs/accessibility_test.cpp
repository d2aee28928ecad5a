// The main window and the side dialogs as a screen reader and a keyboard user meet them,
// through the accessibility tree that assistive technology reads.
#include "support/dialog_tests.h"
#include "telvio/process_state.h"

#include <QAccessible>
#include <QLineEdit>

namespace kfg::dialogs {
namespace {

// Every edition, both languages: the first-run prompts, the main window and the audio decoder
// dialog, walked as assistive technology walks them. The prompts come before the main window,
// the display-mode one for the 3.x editions only, and the language answered is stored.
TEST(KfgAccessibility, EveryReachableControlHasAName) {
    for (int edition = 0; edition < 6; ++edition) {
        for (const bool spanish : {false, true}) {
            const std::string trace = std::to_string(edition) + (spanish ? " es" : " de");
            std::vector<int> walked;
            const auto walk = [&](const framework::Dialog& dialog) {
                walked.push_back(dialog.Template().id);
                QStringList reachable;
                Collect(QAccessible::queryAccessibleInterface(dialog.Window()), reachable);
                EXPECT_GT(reachable.size(), 2) << trace;
                for (const QString& name : reachable) {
                    EXPECT_FALSE(name.startsWith("<unnamed"))
                        << trace << " dialog " << dialog.Template().id << ": "
                        << name.toStdString();
                }
                // The spin arrows speak the captions' language.
                if (dialog.Template().id == res::kMainDialogId) {
                    EXPECT_TRUE(reachable.contains(spanish ? "Subir" : "Höher")) << trace;
                    EXPECT_TRUE(reachable.contains(spanish ? "Bajar" : "Niedriger")) << trace;
                }
            };
            KfgRunIn run(
                kEditionFiles[static_cast<std::size_t>(edition)], {},
                [&](CKfgDlg& d) {
                    walk(d);
                    d.Click(res::kIdAudioDecoder);
                },
                [&](framework::Dialog& side) {
                    walk(side);
                    if (side.Template().id == res::kLanguageDialogId) {
                        EXPECT_EQ(side.CheckState(res::kIdGerman), 1) << trace; // preselected
                        side.SetCheck(res::kIdGerman, spanish ? 0 : 1);
                        side.SetCheck(res::kIdSpanish, spanish ? 1 : 0);
                        side.Click(framework::IDOK);
                    }
                });
            const bool offersDisplayModes = edition == 2 || edition == 3 || edition == 5;
            EXPECT_EQ(walked, (offersDisplayModes ? std::vector<int>{175, 161, 102, 176}
                                                  : std::vector<int>{175, 102, 176}))
                << trace;
            EXPECT_EQ(ReadBytes(run / "KFG.ini"), KfgIni(spanish)) << trace;
        }
    }
}

QAccessibleInterface* FindByName(QAccessibleInterface* node, QAccessible::Role role,
                                 const QString& name) {
    if (node->role() == role && node->text(QAccessible::Name) == name) {
        return node;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* found = FindByName(node->child(i), role, name)) {
            return found;
        }
    }
    return nullptr;
}

// The configuration field is found by its name; Up and Down walk its list as clicks would.
TEST(KfgAccessibility, ConfigurationFieldByNameAndArrowKeys) {
    for (const bool spanish : {false, true}) {
        const QString name = spanish ? "Configuración" : "Konfigurationen";
        KfgRunIn run(kV31, KfgIni(spanish, "[Abend]\r\n[Sport]\r\n"), [&](CKfgDlg& d) {
            QAccessibleInterface* window = QAccessible::queryAccessibleInterface(d.Window());
            ASSERT_NE(FindByName(window, QAccessible::List, name), nullptr);
            QAccessibleInterface* found = FindByName(window, QAccessible::EditableText, name);
            ASSERT_NE(found, nullptr);
            auto* field = qobject_cast<QLineEdit*>(found->object());
            ASSERT_NE(field, nullptr);
            field->setFocus();
            struct Step {
                Qt::Key key;
                const char* shown;
            };
            const Step steps[] = {
                {.key = Qt::Key_Down, .shown = "Abend"}, {.key = Qt::Key_Down, .shown = "Sport"},
                {.key = Qt::Key_Down, .shown = "Sport"}, {.key = Qt::Key_Up, .shown = "Abend"},
                {.key = Qt::Key_Up, .shown = "Abend"},
            };
            for (const Step& step : steps) {
                PressKey(field, step.key);
                EXPECT_EQ(field->text(), step.shown);
                EXPECT_EQ(field->selectedText(), step.shown);   // ready to be typed over
                EXPECT_EQ(run.state.ActiveSection, step.shown); // told as a click in the list is
            }
        });
    }
}

} // namespace
} // namespace kfg::dialogs
