// Named configurations, the language prompt request and the index-file list.
#include "framework/modal_hook.h"
#include "framework/widgets/combo_widgets.h"
#include "support/buttons.h"
#include "support/dialog_tests.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace kfg::dialogs {
namespace {

constexpr int kField = res::kIdConfigurationField;

// Any "Sprox" but 2 requests the language prompt once: the request is gone before the prompt
// comes, also when it is cancelled, and the stored language stays.
TEST(KfgConfigurations, ListedAtStartAndPromptRequestIsOneShot) {
    const std::string rest = "Fr=1\r\n[Abend]\r\n[Sport]\r\n";
    for (const char* sprox : {"5", "0", "2"}) {
        SCOPED_TRACE(sprox);
        const std::string kfg = std::string("[KFG]\r\nSprox=") + sprox + "\r\n" + rest;
        const bool prompted = std::string(sprox) != "2";
        KfgRunIn run(kV31, kfg, [](CKfgDlg& d) {
            EXPECT_EQ(ComboEntries(d, kField), QStringList({"Abend", "Sport"}));
        });
        EXPECT_EQ(run.script.Seen().front().templateId,
                  prompted ? res::kLanguageDialogId : res::kMainDialogId);
        EXPECT_EQ(run.script.Seen().size(), prompted ? 2u : 1u);
        EXPECT_EQ(ReadBytes(run / "KFG.ini"), prompted ? "[KFG]\r\n" + rest : kfg);
    }
}

TEST(KfgConfigurations, SaveShowAndDeleteByName) {
    const std::string telvio = "[Telvio]\r\nStatus=1\r\nTestzeilen=10\r\n";
    KfgRunIn run(telvio, "[KFG]\r\nFr=0\r\n[Abend]\r\nTestzeilen=30\r\n", [&](CKfgDlg& d) {
        TypeInto(d.Item(kField), "Abend");
        d.Click(res::kIdShowConfiguration);
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "30");
        EXPECT_EQ(d.Title(), "KFG – Abend");

        d.SetItemText(res::kIdTestLines, "31");
        TypeInto(d.Item(kField), "abend"); // the same configuration in other letters
        d.Click(res::kIdSaveConfiguration);
        EXPECT_EQ(ComboEntries(d, kField), QStringList({"Abend"}));
        EXPECT_EQ(d.ItemText(kField), ""); // the field is cleared, the name kept
        EXPECT_EQ(run.state.ActiveSection, "abend");

        TypeInto(d.Item(kField), "  Ab  ");
        d.Click(res::kIdSaveConfiguration);
        TypeInto(d.Item(kField), "Ab");
        d.Click(res::kIdSaveConfiguration); // twice: still one entry
        EXPECT_EQ(ComboEntries(d, kField), QStringList({"Abend", "Ab"}));

        TypeInto(d.Item(kField), "Ab");
        d.Click(res::kIdDeleteConfiguration);
        EXPECT_EQ(ComboEntries(d, kField), QStringList({"Abend"}));
        EXPECT_EQ(d.ItemText(kField), "Ab"); // the field keeps its text

        TypeInto(d.Item(kField), "Ein sehr langer Name");
        d.Click(res::kIdSaveConfiguration);
        EXPECT_EQ(ComboEntries(d, kField).last(), "Ein sehr lange");
        TypeInto(d.Item(kField), "Spätfilm");
        d.Click(res::kIdSaveConfiguration);
    });
    EXPECT_THAT(ReadBytes(run / "KFG.ini"), HasSubstr("[Abend]\r\nTestzeilen=31\r\n"));
    EXPECT_TRUE(run.script.Messages().empty());

    // The names come back at the next start, as the file's sections (the one deleted gone, the
    // long one cut, the letters read back); a double-click shows one.
    KfgRun second(run.path(), [](CKfgDlg& d) {
        EXPECT_EQ(ComboEntries(d, kField), QStringList({"Abend", "Ein sehr lange", "Spätfilm"}));
        auto* simple = qobject_cast<framework::SimpleCombo*>(d.Item(kField));
        ASSERT_NE(simple, nullptr);
        emit simple->List()->itemClicked(simple->List()->item(1));
        emit simple->List()->itemDoubleClicked(simple->List()->item(1));
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "31");
        EXPECT_EQ(d.Title(), "KFG – Ein sehr lange");
    });
}

TEST(KfgConfigurations, UnusableNamesAreRefusedInTheCaptionLanguage) {
    struct Case {
        const char* name;
        bool spanish;        // the caption language
        const char* message; // "caption: text"
    };
    const Case cases[] = {
        {.name = "", .spanish = false, .message = "Fehler: Konfiguration auswählen!"},
        {.name = "   ", .spanish = true, .message = "Error.: Elegir  una configuración"},
        {.name = "kfg", .spanish = false, .message = "Fehler: Der Name KFG ist reserviert."},
        {.name = " KFG ", .spanish = true, .message = "Error.: El nombre KFG está reservado."},
        {.name = "A]b", .spanish = false, .message = "Fehler: Dieser Name ist nicht möglich."},
        {.name = "中文", .spanish = true, .message = "Error.: Este nombre no es posible."},
    };
    for (const Case& c : cases) {
        for (const int command :
             {res::kIdSaveConfiguration, res::kIdShowConfiguration, res::kIdDeleteConfiguration}) {
            const std::string kfg = KfgIni(c.spanish);
            KfgRunIn run(kV31, kfg, [&](CKfgDlg& d) {
                TypeInto(d.Item(kField), QString::fromUtf8(c.name));
                d.Click(command);
                EXPECT_EQ(ComboEntries(d, kField).size(), 0) << c.name;
            });
            EXPECT_THAT(run.script.Messages(), ElementsAre(c.message)) << c.name << " " << command;
            EXPECT_EQ(ReadBytes(run / "KFG.ini"), kfg) << c.name; // nothing written
        }
    }
}

// The list holds the numbers of the edition's index files (a folder of that name is none),
// the first shown selected; choosing one sets the test lines to its number.
TEST(KfgConfigurations, IndexFilesListedAndChosen) {
    const char* const kV283 = "[Telvio]\r\nOptimierungBT=1\r\nTestzeilen=20\r\n";
    const char* const kV31Lines = "[Telvio]\r\nStatus=1\r\nTestzeilen=20\r\n";
    struct Case {
        const char* telvioIni; // its edition's prefix: "Telvio" for V283, "Telvio_" for V31
        std::vector<const char*> files;
        QStringList listed;
    };
    const Case cases[] = {
        {.telvioIni = kV283,
         .files = {"Telvio03.idx", "Telvio12.idx", "Telvio_05.idx"},
         .listed = {"3", "12"}},
        {.telvioIni = kV283,
         .files = {"Telvio10.idx", "Telvio99.idx", "Telvio100.idx", "Telvio_10.idx"},
         .listed = {"10", "99"}},
        {.telvioIni = kV31Lines,
         .files = {"Telvio_16.idx", "Telvio_42.idx", "Telvio_7.idx", "Telvio42.idx"},
         .listed = {"16", "42"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.front());
        TelvioFolder dir(c.telvioIni);
        for (const char* name : c.files) {
            WriteBytes(dir / name, "");
        }
        fs::create_directory(dir / "Telvio07.idx");
        fs::create_directory(dir / "Telvio_08.idx");
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            EXPECT_EQ(ComboEntries(d, res::kIdIndexFileList), c.listed);
            EXPECT_EQ(d.ItemText(res::kIdIndexFileList), c.listed[0]); // shown selected
            EXPECT_EQ(d.ItemText(res::kIdTestLines), "20"); // the file's value, unchanged
            auto* list = qobject_cast<QComboBox*>(d.Item(res::kIdIndexFileList));
            list->setCurrentIndex(1);
            emit list->activated(1);
            EXPECT_EQ(d.ItemText(res::kIdTestLines), c.listed[1]);
            EXPECT_EQ(d.Record().Testzeilen, c.listed[1].toInt());
        });
    }
}

// The lines of `section` (its header included) in the bytes of an INI file.
std::string SectionText(const std::string& file, const std::string& section) {
    const std::size_t start = file.find("[" + section + "]\r\n");
    return start == std::string::npos ? std::string()
                                      : file.substr(start, file.find("\r\n[", start) - start);
}

struct EnterCase {
    const char* typed; // null: Up picks the stored name
    bool spanish = false;
    Answer answer = {}; // the question's
    std::vector<std::string> messages = {};
    const char* saved = nullptr; // the section that gets Testzeilen=31; null: "KFG.ini" unchanged
};

// Enter in the configuration field, by real keys: the name checks speak first, a stored name
// (in any letter case) is replaced only after "Ja", a new name is saved without a question.
// "Nein" leaves the file, the name in the field and KFG as they were.
TEST(KfgConfigurations, EnterAsksBeforeReplacingAStoredConfiguration) {
    const std::string de = "KFG: Die Konfiguration Abend gibt es schon. Überschreiben?";
    const std::string es = "KFG: La configuración Abend ya existe. ¿Sobrescribirla?";
    const EnterCase cases[] = {
        {.typed = "Abend", .answer = ClickOn("Nein"), .messages = {de}},
        {.typed = "abend",
         .answer = ClickOn("Ja"),
         .messages = {"KFG: Die Konfiguration abend gibt es schon. Überschreiben?"},
         .saved = "Abend"},
        {.typed = nullptr,
         .spanish = true,
         .answer = ClickOn("Sí"),
         .messages = {es},
         .saved = "Abend"},
        {.typed = "Kino", .saved = "Kino"},
        {.typed = "KFG", .messages = {"Fehler: Der Name KFG ist reserviert."}},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(c.typed != nullptr ? c.typed : "Up");
        const std::string kfg = KfgIni(c.spanish, "[Abend]\r\nTestzeilen=30\r\n");
        std::vector<std::string> messages;
        KfgRunIn run("[Telvio]\r\nStatus=1\r\nTestzeilen=10\r\n", kfg, [&](CKfgDlg& d) {
            framework::ScopedModalHook answer([&](framework::ModalView& view) {
                messages.push_back((view.Caption() + ": " + view.Text()).toStdString());
                auto* box = qobject_cast<QMessageBox*>(view.Widget());
                if (box->buttons().size() == 2 && c.answer) {
                    EXPECT_NE(ButtonTitled(*box, c.spanish ? "Sí" : "Ja"), nullptr);
                    EXPECT_EQ(box->defaultButton(), ButtonTitled(*box, c.spanish ? "No" : "Nein"));
                    c.answer(*box);
                } else {
                    view.End(framework::IDOK);
                }
            });
            TypeInto(d.Item(res::kIdTestLines), "31");
            auto* field = qobject_cast<framework::SimpleCombo*>(d.Item(kField))->Edit();
            field->setFocus();
            if (c.typed == nullptr) {
                QTest::keyClick(field, Qt::Key_Up); // the only stored name
            } else {
                TypeInto(field, QString::fromUtf8(c.typed));
            }
            const QString typed = field->text();
            QTest::keyClick(field, Qt::Key_Return);
            EXPECT_FALSE(d.IsEnded());
            EXPECT_EQ(field->text(), c.saved != nullptr ? QString() : typed);
        });
        EXPECT_EQ(messages, c.messages);
        const std::string after = ReadBytes(run / "KFG.ini");
        if (c.saved != nullptr) {
            EXPECT_THAT(SectionText(after, c.saved), HasSubstr("\r\nTestzeilen=31\r\n")) << after;
        } else {
            EXPECT_EQ(after, kfg);
        }
    }
}

// Every control's text and mark, the title and the list: what "nothing changes" means.
QStringList WindowState(const CKfgDlg& d) {
    QStringList state{d.Title()};
    for (const framework::ControlTemplate& control : d.Template().controls) {
        if (control.id != framework::kNoId) {
            state << QString::number(control.id) + "=" + d.ItemText(control.id) + "/" +
                         QString::number(d.CheckState(control.id));
        }
    }
    return state + ComboEntries(d, kField);
}

// "Anzeigen" of a name "KFG.ini" does not hold says so and changes nothing: no defaults come
// into the window (a Start would write them), nothing is written.
TEST(KfgConfigurations, ShowOfANameWithNoSectionChangesNothing) {
    for (const bool spanish : {false, true}) {
        const std::string telvio = "[Telvio]\r\nStatus=1\r\nTestzeilen=10\r\n";
        const std::string kfg = KfgIni(spanish, "[Abend]\r\nTestzeilen=30\r\n");
        KfgRunIn run(telvio, kfg, [&](CKfgDlg& d) {
            TypeInto(d.Item(kField), "Abend");
            d.Click(res::kIdShowConfiguration);
            TypeInto(d.Item(res::kIdTestLines), "31"); // an edit not saved anywhere
            TypeInto(d.Item(kField), "Kino");
            const QStringList before = WindowState(d);
            d.Click(res::kIdShowConfiguration);
            EXPECT_EQ(WindowState(d), before);
        });
        EXPECT_EQ(run.script.Messages(),
                  std::vector<std::string>{
                      spanish ? "KFG: KFG.ini no contiene ninguna configuración Kino."
                              : "KFG: KFG.ini enthält keine Konfiguration Kino."});
        EXPECT_EQ(ReadBytes(run / "Telvio.ini"), telvio);
        EXPECT_EQ(ReadBytes(run / "KFG.ini"), kfg);
    }
}

} // namespace
} // namespace kfg::dialogs
