// The window of earlier states: what each row says, the restore and its questions by real keys
// and clicks, and the main window's way to it and back.
#include "dialogs/chooser/history_window.h"
#include "dialogs/chooser/state_change_texts.h"
#include "framework/message_box.h"
#include "framework/modal_hook.h"
#include "platform/save_history.h"
#include "settings/profile_store.h"
#include "support/buttons.h"
#include "support/dialog_tests.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <memory>

namespace kfg::dialogs {
namespace {

using texts::TextLanguage;
using enum TextLanguage;

// The V 3.20 marker with the values that tell states apart.
std::string V320(int helligkeit, int speicher3 = 24) {
    return "[Telvio]\r\nStatus=1\r\nProportional=1\r\nHelligkeit=" + std::to_string(helligkeit) +
           "\r\nSpeicher3=" + std::to_string(speicher3) + "\r\n";
}

// What changed is named as the main window names things, in its captions' language; the
// window's own words in the window's.
TEST(HistoryWindow, NamesWhatEachSaveChangedAsTheMainWindowDoes) {
    struct Case {
        const char* what;
        std::string_view file;
        std::string before;
        std::string after;
        TextLanguage language; // the window's, and the captions' unless `captions` says
        const char* summary;
        std::optional<TextLanguage> captions = std::nullopt;
    };
    const std::string kfg = "[KFG]\r\nFr=0\r\nAudio=0\r\nSoundInit=0\r\n5=0\r\n[Abend]\r\n"
                            "Helligkeit=110\r\nDisplayMode=2\r\n";
    const Case cases[] = {
        {.what = "a field by its label",
         .file = "Telvio.ini",
         .before = V320(128),
         .after = V320(200),
         .language = German,
         .summary = "Helligkeit 128 → 200"},
        {.what = "in Spanish",
         .file = "Telvio.ini",
         .before = V320(128),
         .after = V320(200),
         .language = Spanish,
         .summary = "Brillo 128 → 200"},
        {.what = "a memory field by its number",
         .file = "Telvio.ini",
         .before = V320(128, 24),
         .after = V320(128, 0),
         .language = German,
         .summary = "Speicher 3 24 → 0"},
        {.what = "a list by what it chooses, with its entries",
         .file = "Telvio.ini",
         .before = V320(128) + "DisplayMode=4\r\n",
         .after = V320(128) + "DisplayMode=5\r\n",
         .language = German,
         .summary = "Anzeigemodus 640*480 YUY2 → 720*576 YUY2"},
        {.what = "a check box by its caption, a key no control shows as it stands",
         .file = "Telvio.ini",
         .before = V320(1) + "Vordergrund=0\r\nLinks=4\r\n",
         .after = V320(1) + "Vordergrund=1\r\nLinks=6\r\n",
         .language = German,
         .summary = "Vordergrund 0 → 1, Links 4 → 6"},
        {.what = "a key added, and more than three changes",
         .file = "Telvio.ini",
         .before = V320(1, 1),
         .after = V320(2, 2) + "Farbe=9\r\nKontrast=3\r\nFoo=1\r\n",
         .language = German,
         .summary = "Helligkeit 1 → 2, Speicher 3 1 → 2, Farbe – → 9 +2 weitere"},
        {.what = "a configuration deleted",
         .file = "KFG.ini",
         .before = kfg,
         .after = "[KFG]\r\nFr=0\r\nAudio=0\r\nSoundInit=0\r\n5=0\r\n",
         .language = Spanish,
         .summary = "Abend eliminada",
         .captions = German},
        {.what = "a configuration changed, one saved",
         .file = "KFG.ini",
         .before = kfg,
         .after = "[KFG]\r\nFr=0\r\nAudio=0\r\nSoundInit=0\r\n5=0\r\n[Abend]\r\n"
                  "Helligkeit=128\r\nDisplayMode=3\r\n[Nacht]\r\nA=1\r\n",
         .language = German,
         .summary = "Nacht gespeichert, Abend: Helligkeit 110 → 128, Abend: Anzeigemodus Im "
                    "Fenster ++ → 400*300 YUY2"},
        {.what = "the [KFG] keys by their meaning",
         .file = "KFG.ini",
         .before = kfg,
         .after = "[KFG]\r\nFr=1\r\nAudio=1\r\nSoundInit=1\r\n5=1\r\n[Abend]\r\n"
                  "Helligkeit=110\r\nDisplayMode=2\r\n",
         .language = German,
         .summary = "Sprache Deutsch → Español, Audiodecoder Kein Audiodecoder → Sonora, Sound "
                    "initialisieren 0 → 1 +1 weitere"},
        {.what = "a display mode offered, in English around German names",
         .file = "KFG.ini",
         .before = "[KFG]\r\n5=0\r\n",
         .after = "[KFG]\r\n5=1\r\n",
         .language = English,
         .summary = "Angebotener Anzeigemodus: 720*576 YUY2 0 → 1",
         .captions = German},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ChangeNaming naming{c.language, c.captions.value_or(c.language),
                                  telvio::Edition::V320};
        EXPECT_EQ(ChangeSummary(c.file, c.before, c.after, naming).toStdString(), c.summary);
    }
}

// A folder with two saves of Telvio.ini and one of KFG.ini, its store keeping the states in a
// state folder of its own, and the window over it.
struct Window {
    TempDir dir;
    fs::path folder = dir / "Telvio";
    std::shared_ptr<platform::SaveHistory> history =
        std::make_shared<platform::SaveHistory>(platform::StateFolder(dir / "state"));
    settings::ProfileStore store{{}, {}, history};
    std::vector<std::string> restored;

    explicit Window(const std::string& telvio = V320(128)) {
        fs::create_directory(folder);
        WriteBytes(folder / "Telvio.ini", telvio);
        WriteBytes(folder / "KFG.ini", KfgIni(false, "[Abend]\r\nHelligkeit=110\r\n"));
        EXPECT_FALSE(store.WriteString(folder / "Telvio.ini", "Telvio", "Helligkeit", "200"));
        EXPECT_FALSE(store.DeleteSection(folder / "KFG.ini", "Abend"));
        EXPECT_FALSE(store.WriteString(folder / "Telvio.ini", "Telvio", "Speicher3", "0"));
    }

    // Runs `act` on the window shown, answering the questions that come up with `answer`.
    void Show(const std::function<void(HistoryWindow&)>& act, const Answer& answer,
              std::vector<QString>& asked) {
        HistoryWindow window(store, folder, ShownPaths(dir.path()), German, German);
        window.SetRestored([this](std::string_view file) { restored.emplace_back(file); });
        framework::ScopedModalHook hook([&](framework::ModalView& view) {
            asked.push_back(view.Text());
            if (auto* box = qobject_cast<QMessageBox*>(view.Widget()); box && answer) {
                answer(*box);
            } else {
                view.End(framework::IDNO);
            }
        });
        window.show();
        act(window);
    }
};

QStringList Column(const QTreeWidget& table, int column) {
    QStringList texts;
    for (int row = 0; row < table.topLevelItemCount(); ++row) {
        texts << table.topLevelItem(row)->text(column);
    }
    return texts;
}

QTreeWidget* Rows(HistoryWindow& window) {
    return window.findChildren<QTreeWidget*>().at(0);
}
QTreeWidget* Differences(HistoryWindow& window) {
    return window.findChildren<QTreeWidget*>().at(1);
}
QPushButton* Button(HistoryWindow& window, const char* text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == QString::fromUtf8(text)) {
            return button;
        }
    }
    return nullptr;
}

// One row per state, newest first across both files; the selected one against the file now.
TEST(HistoryWindow, ListsEveryStateAndComparesTheSelectedWithTheFileNow) {
    Window w;
    std::vector<QString> asked;
    w.Show(
        [](HistoryWindow& window) {
            EXPECT_EQ(window.windowTitle(), "Frühere Stände – ~/Telvio");
            EXPECT_EQ(Column(*Rows(window), 1),
                      QStringList({"Telvio.ini", "KFG.ini", "Telvio.ini"}));
            EXPECT_EQ(Column(*Rows(window), 2),
                      QStringList({"Speicher 3 24 → 0", "Abend gelöscht", "Helligkeit 128 → 200"}));
            Rows(window)->setCurrentItem(Rows(window)->topLevelItem(2));
            EXPECT_EQ(Column(*Differences(window), 0), QStringList({"Helligkeit", "Speicher 3"}));
            EXPECT_EQ(Column(*Differences(window), 1), QStringList({"128", "24"}));
            EXPECT_EQ(Column(*Differences(window), 2), QStringList({"200", "0"}));
        },
        {}, asked);
    EXPECT_TRUE(asked.empty());
}

// The restore asks first, "Nein" the default and the answer of Escape and the close box; Enter
// on a row restores nothing. "Ja" puts the state back, keeping what it replaces, which then
// stands first in the list.
TEST(HistoryWindow, RestoreAsksFirstAndKeepsWhatItReplaces) {
    const QString question = "Telvio.ini auf den Stand vom %1 zurücksetzen? Der jetzige Inhalt "
                             "wird vorher aufbewahrt.";
    struct Case {
        const char* what;
        bool enterOnRow; // else the button "Wiederherstellen"
        Answer answer;
        bool restored;
    };
    const Case cases[] = {
        {.what = "Enter on a row", .enterOnRow = true, .answer = ClickOn("Ja"), .restored = false},
        {.what = "Enter on the question",
         .enterOnRow = false,
         .answer = Press(Qt::Key_Return),
         .restored = false},
        {.what = "Escape", .enterOnRow = false, .answer = Press(Qt::Key_Escape), .restored = false},
        {.what = "the close box",
         .enterOnRow = false,
         .answer = [](QMessageBox& box) { box.close(); },
         .restored = false},
        {.what = "Nein", .enterOnRow = false, .answer = ClickOn("Nein"), .restored = false},
        {.what = "Ja", .enterOnRow = false, .answer = ClickOn("Ja"), .restored = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Window w;
        const std::string before = ReadBytes(w.folder / "Telvio.ini");
        std::vector<QString> asked;
        QString time;
        w.Show(
            [&](HistoryWindow& window) {
                QTreeWidget* rows = Rows(window);
                rows->setCurrentItem(rows->topLevelItem(2)); // Helligkeit=128
                time = rows->topLevelItem(2)->text(0);
                if (c.enterOnRow) {
                    rows->setFocus();
                    QTest::keyClick(rows, Qt::Key_Return);
                } else {
                    QTest::mouseClick(Button(window, "Wiederherstellen"), Qt::LeftButton);
                }
                if (c.restored) {
                    EXPECT_EQ(Column(*rows, 2).at(0), "Helligkeit 200 → 128, Speicher 3 0 → 24");
                }
                EXPECT_EQ(rows->topLevelItemCount(), c.restored ? 4 : 3);
            },
            c.answer, asked);
        EXPECT_EQ(asked,
                  c.enterOnRow ? std::vector<QString>{} : std::vector<QString>{question.arg(time)});
        EXPECT_EQ(ReadBytes(w.folder / "Telvio.ini"), c.restored ? V320(128) : before);
        EXPECT_EQ(w.restored,
                  c.restored ? std::vector<std::string>{"Telvio.ini"} : std::vector<std::string>{});
    }
}

// A state of another edition asks once more instead of needing --force; a KFG.ini state names
// the configurations it takes away or changes back.
TEST(HistoryWindow, SecondQuestionsForAnotherEditionAndForConfigurations) {
    struct Case {
        const char* what;
        std::string now; // written over Telvio.ini before the restore
        int row;
        std::vector<const char*> answers; // "Ja"/"Nein" to each question in turn
        std::vector<QString> asked;       // the questions' beginnings
        bool restored;
    };
    const Case cases[] = {
        {.what = "another edition, no",
         .now = "[Telvio]\r\nOptimierungBT=1\r\n",
         .row = 0,
         .answers = {"Ja", "Nein"},
         .asked = {"Telvio.ini auf den Stand vom", "Dieser Stand ist von Telvio V 3.20, die "
                                                   "Datei jetzt von Telvio V 2.83. Trotzdem "
                                                   "wiederherstellen?"},
         .restored = false},
        {.what = "another edition, yes",
         .now = "[Telvio]\r\nOptimierungBT=1\r\n",
         .row = 0,
         .answers = {"Ja", "Ja"},
         .asked = {"Telvio.ini auf den Stand vom", "Dieser Stand ist von Telvio V 3.20"},
         .restored = true},
        {.what = "KFG.ini",
         .now = "",
         .row = 1,
         .answers = {"Ja"},
         .asked = {"KFG.ini auf den Stand vom"},
         .restored = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Window w;
        if (!c.now.empty()) {
            WriteBytes(w.folder / "Telvio.ini", c.now);
        }
        std::vector<QString> asked;
        std::size_t answered = 0;
        w.Show(
            [&](HistoryWindow& window) {
                Rows(window)->setCurrentItem(Rows(window)->topLevelItem(c.row));
                QTest::mouseClick(Button(window, "Wiederherstellen"), Qt::LeftButton);
            },
            [&](QMessageBox& box) {
                QTest::mouseClick(ButtonTitled(box, c.answers.at(answered++)), Qt::LeftButton);
            },
            asked);
        ASSERT_EQ(asked.size(), c.asked.size());
        for (std::size_t i = 0; i < asked.size(); ++i) {
            EXPECT_TRUE(asked[i].startsWith(c.asked[i])) << asked[i].toStdString();
        }
        EXPECT_EQ(w.restored.size(), c.restored ? 1u : 0u);
    }
    // The configuration the restore brings back is no loss; one it removes is named.
    Window w;
    EXPECT_FALSE(w.store.WriteString(w.folder / "KFG.ini", "Nacht", "Helligkeit", "90"));
    std::vector<QString> asked;
    w.Show(
        [](HistoryWindow& window) {
            Rows(window)->setCurrentItem(Rows(window)->topLevelItem(2)); // KFG.ini with Abend
            QTest::mouseClick(Button(window, "Wiederherstellen"), Qt::LeftButton);
        },
        ClickOn("Nein"), asked);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].endsWith("\n\nDabei werden diese Konfigurationen entfernt: Nacht"))
        << asked[0].toStdString();
}

// Where nothing is kept it says so, where states are kept, and why none can be; a deleted
// Telvio.ini is listed and comes back.
TEST(HistoryWindow, SaysWhyNothingIsKeptAndBringsADeletedFileBack) {
    Window w;
    fs::remove(w.folder / "Telvio.ini");
    std::vector<QString> asked;
    w.Show(
        [](HistoryWindow& window) {
            EXPECT_EQ(Rows(window)->topLevelItemCount(), 3);
            QTest::mouseClick(Button(window, "Wiederherstellen"), Qt::LeftButton);
        },
        ClickOn("Ja"), asked);
    EXPECT_EQ(ReadBytes(w.folder / "Telvio.ini"), V320(200, 24));

    TempDir dir;
    WriteBytes(dir / "state", ""); // a file where the state folder would be made
    settings::ProfileStore store(
        {}, {},
        std::make_shared<platform::SaveHistory>(platform::StateFolder(dir / "state" / "kfg")));
    HistoryWindow window(store, dir.path(), ShownPaths(dir.path()), German, German);
    const QStringList status = window.findChildren<QLabel*>().back()->text().split('\n');
    EXPECT_EQ(status, QStringList({"Noch ist kein früherer Stand aufbewahrt. KFG bewahrt sie in "
                                   "~/state/kfg/history auf.",
                                   "Es kann kein früherer Stand aufbewahrt werden: " +
                                       QString::fromStdString((dir / "state" / "kfg").string()) +
                                       " ist nicht beschreibbar: Not a directory."}));
    EXPECT_FALSE(Button(window, "Wiederherstellen")->isEnabled());
}

// Must hold as a user sees it: Start with Helligkeit 200; then, from the field's own menu
// (Shift+F10), the window of earlier states names Helligkeit, and "Wiederherstellen", "Ja" puts
// Telvio.ini back byte for byte, the main window showing 128 at once.
TEST(HistoryWindow, TheMainWindowReachesItFromAFieldAndShowsTheStateItPutBack) {
    TempDir dir;
    const fs::path folder = dir / "V320";
    fs::copy(fs::path(KFG_EXAMPLES_DIR) / "V320", folder, fs::copy_options::recursive);
    const std::string original = ReadBytes(folder / "Telvio.ini");
    const PrivateHistory kept; // both runs keep their states there
    KfgRun start(folder,
                 [](CKfgDlg& d) {
                     TypeInto(d.Item(res::kIdBrightness), QStringLiteral("200"));
                     d.Click(res::kIdStart);
                 },
                 {}, {.history = kept.history});
    ASSERT_NE(ReadBytes(folder / "Telvio.ini"), original);

    QStringList menu;
    QStringList rows;
    QStringList inState;
    QStringList now;
    QString shownAfter;
    KfgRun again(folder,
                 [&](CKfgDlg& d) {
                     framework::ScopedModalHook hook([&](framework::ModalView& view) {
                         if (qobject_cast<QMenu*>(view.Widget()) != nullptr) {
                             menu = view.Text().split(QLatin1Char('\n'));
                             view.End(static_cast<int>(menu.size()) - 1);
                         } else if (auto* window = dynamic_cast<HistoryWindow*>(view.Widget())) {
                             rows = Column(*Rows(*window), 2);
                             inState = Column(*Differences(*window), 1);
                             now = Column(*Differences(*window), 2);
                             QTest::mouseClick(Button(*window, "Wiederherstellen"), Qt::LeftButton);
                             view.End(QDialog::Rejected);
                         } else if (auto* box = qobject_cast<QMessageBox*>(view.Widget())) {
                             QTest::mouseClick(ButtonTitled(*box, "Ja"), Qt::LeftButton);
                         }
                     });
                     QWidget* field = d.Item(res::kIdBrightness);
                     field->setFocus();
                     QTest::keyClick(field, Qt::Key_F10, Qt::ShiftModifier);
                     shownAfter = d.ItemText(res::kIdBrightness);
                 },
                 {}, {.history = kept.history});
    ASSERT_FALSE(menu.isEmpty());
    EXPECT_EQ(menu.back(), "Frühere Stände …");
    // Qt's own entries first, in the window's language.
    EXPECT_TRUE(menu.front().startsWith("&Rückgängig")) << menu.join('|').toStdString();
    EXPECT_EQ(rows, QStringList({"Helligkeit 128 → 200"}));
    EXPECT_EQ(inState, QStringList({"128"}));
    EXPECT_EQ(now, QStringList({"200"}));
    EXPECT_EQ(ReadBytes(folder / "Telvio.ini"), original);
    EXPECT_EQ(shownAfter, "128");
    EXPECT_EQ(kept.history->States(folder / "Telvio.ini").size(), 2u);
}

// A configuration deleted by another program comes back from the main window's own menu, and
// the main window's list holds it again at once.
TEST(HistoryWindow, ARestoredKfgIniBringsItsConfigurationsIntoTheMainWindow) {
    TempDir dir;
    const fs::path folder = dir / "V320";
    fs::copy(fs::path(KFG_EXAMPLES_DIR) / "V320", folder, fs::copy_options::recursive);
    const PrivateHistory kept;
    settings::ProfileStore other({}, {}, kept.history); // another program, keeping alike
    ASSERT_FALSE(other.DeleteSection(folder / "KFG.ini", "Abend"));
    QString question;
    QStringList listed;
    KfgRun run(folder,
               [&](CKfgDlg& d) {
                   framework::ScopedModalHook hook([&](framework::ModalView& view) {
                       if (qobject_cast<QMenu*>(view.Widget()) != nullptr) {
                           view.End(0);
                       } else if (auto* window = dynamic_cast<HistoryWindow*>(view.Widget())) {
                           Rows(*window)->setCurrentItem(Rows(*window)->topLevelItem(0));
                           QTest::mouseClick(Button(*window, "Wiederherstellen"), Qt::LeftButton);
                           view.End(QDialog::Rejected);
                       } else if (auto* box = qobject_cast<QMessageBox*>(view.Widget())) {
                           question = view.Text();
                           QTest::mouseClick(ButtonTitled(*box, "Ja"), Qt::LeftButton);
                       }
                   });
                   // A right click on the window's free area.
                   QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(1, 1),
                                           d.Window()->mapToGlobal(QPoint(1, 1)));
                   QApplication::sendEvent(d.Window(), &click);
                   listed = ComboEntries(d, res::kIdConfigurationField);
               },
               {}, {.history = kept.history});
    EXPECT_TRUE(question.startsWith("KFG.ini auf den Stand vom")) << question.toStdString();
    EXPECT_TRUE(listed.contains("Abend")) << listed.join(',').toStdString();
}

} // namespace
} // namespace kfg::dialogs
