// Named configurations, the language prompt request and the index-file list.
#include "dialogs/main/kfg_dlg.h"
#include "framework/modal_hook.h"
#include "framework/widgets/combo_widgets.h"
#include "res/side_templates.h"
#include "res/template_102.h"
#include "support/kfg_run.h"
#include "support/temp_dir.h"
#include "support/typing.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::dialogs {
namespace {

using test::KfgRun;
using test::ReadBytes;
using test::TelvioFolder;
using test::WriteBytes;

constexpr int kField = res::kIdConfigurationField;

QStringList Configurations(const CKfgDlg& d) {
    return test::ComboEntries(d, kField);
}

void Type(CKfgDlg& d, const QString& name) {
    d.SetItemText(kField, name);
    d.OnConfigurationTextChanged();
}

// Any "Sprox" but 2 requests the language prompt once: the request is gone before the prompt
// comes, also when it is cancelled, and the stored language stays.
TEST(KfgConfigurations, ListedAtStartAndPromptRequestIsOneShot) {
    const std::string rest = "Fr=1\r\n[Abend]\r\n[Sport]\r\n";
    for (const char* sprox : {"5", "0", "2"}) {
        SCOPED_TRACE(sprox);
        const std::string kfg = std::string("[KFG]\r\nSprox=") + sprox + "\r\n" + rest;
        const bool prompted = std::string(sprox) != "2";
        TelvioFolder dir(test::kV31, kfg);
        KfgRun run(dir.path(), [](CKfgDlg& d) {
            EXPECT_EQ(Configurations(d), QStringList({"Abend", "Sport"}));
        });
        EXPECT_EQ(run.script.Seen().front().templateId,
                  prompted ? res::kLanguageDialogId : res::kMainDialogId);
        EXPECT_EQ(run.script.Seen().size(), prompted ? 2u : 1u);
        EXPECT_EQ(ReadBytes(dir / "KFG.ini"), prompted ? "[KFG]\r\n" + rest : kfg);
    }
}

TEST(KfgConfigurations, SaveShowAndDeleteByName) {
    TelvioFolder dir("[Telvio]\r\nStatus=1\r\nTestzeilen=10\r\n",
                     "[KFG]\r\nFr=0\r\n[Abend]\r\nTestzeilen=30\r\n");
    KfgRun run(dir.path(), [&](CKfgDlg& d) {
        Type(d, "Abend");
        d.Click(res::kIdShowConfiguration);
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "30");
        EXPECT_EQ(d.Title(), "KFG – Abend");

        d.SetItemText(res::kIdTestLines, "31");
        Type(d, "abend"); // the same configuration in other letters
        d.Click(res::kIdSaveConfiguration);
        EXPECT_EQ(Configurations(d), QStringList({"Abend"}));
        EXPECT_EQ(d.ItemText(kField), ""); // the field is cleared, the name kept
        EXPECT_EQ(run.state.ActiveSection, "abend");

        Type(d, "  Ab  ");
        d.Click(res::kIdSaveConfiguration);
        Type(d, "Ab");
        d.Click(res::kIdSaveConfiguration); // twice: still one entry
        EXPECT_EQ(Configurations(d), QStringList({"Abend", "Ab"}));

        Type(d, "Ab");
        d.Click(res::kIdDeleteConfiguration);
        EXPECT_EQ(Configurations(d), QStringList({"Abend"}));
        EXPECT_EQ(d.ItemText(kField), "Ab"); // the field keeps its text

        Type(d, "Ein sehr langer Name");
        d.Click(res::kIdSaveConfiguration);
        EXPECT_EQ(Configurations(d).last(), "Ein sehr lange");
        Type(d, "Spätfilm");
        d.Click(res::kIdSaveConfiguration);
    });
    const std::string kfg = ReadBytes(dir / "KFG.ini");
    EXPECT_NE(kfg.find("[Abend]\r\nTestzeilen=31\r\n"), std::string::npos);
    EXPECT_EQ(kfg.find("[Ab]"), std::string::npos);
    EXPECT_NE(kfg.find("[Ein sehr lange]"), std::string::npos);
    EXPECT_NE(kfg.find("[Sp\xE4tfilm]"), std::string::npos);
    EXPECT_TRUE(run.script.MessageTexts().empty());

    // Names with blanks and letters come back at the next start; a double-click shows one.
    KfgRun second(dir.path(), [](CKfgDlg& d) {
        EXPECT_EQ(Configurations(d), QStringList({"Abend", "Ein sehr lange", "Spätfilm"}));
        auto* simple = qobject_cast<framework::SimpleCombo*>(d.Item(kField));
        ASSERT_NE(simple, nullptr);
        emit simple->List()->itemClicked(simple->List()->item(1));
        emit simple->List()->itemDoubleClicked(simple->List()->item(1));
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "31");
        EXPECT_EQ(d.Title(), "KFG – Ein sehr lange");
    });
}

struct RefusedCase {
    const char* name;
    bool spanish;
    const char* text;
    const char* caption;
};

TEST(KfgConfigurations, UnusableNamesAreRefusedInTheCaptionLanguage) {
    const RefusedCase cases[] = {
        {"", false, "Konfiguration auswählen!", "Fehler"},
        {"   ", true, "Elegir  una configuración", "Error."},
        {"kfg", false, "Der Name KFG ist reserviert.", "Fehler"},
        {" KFG ", true, "El nombre KFG está reservado.", "Error."},
        {"A]b", false, "Dieser Name ist nicht möglich.", "Fehler"},
        {"中文", true, "Este nombre no es posible.", "Error."},
    };
    for (const RefusedCase& c : cases) {
        for (const int command :
             {res::kIdSaveConfiguration, res::kIdShowConfiguration, res::kIdDeleteConfiguration}) {
            const std::string kfg = std::string("[KFG]\r\nFr=") + (c.spanish ? "1" : "0") + "\r\n";
            TelvioFolder dir(test::kV31, kfg);
            KfgRun run(dir.path(), [&](CKfgDlg& d) {
                Type(d, QString::fromUtf8(c.name));
                d.Click(command);
                EXPECT_EQ(Configurations(d).size(), 0) << c.name;
            });
            ASSERT_EQ(run.script.MessageTexts().size(), 1u) << c.name << " " << command;
            EXPECT_EQ(run.script.MessageTexts()[0], QString::fromUtf8(c.text));
            EXPECT_EQ(run.script.Seen().back().caption, QString::fromUtf8(c.caption));
            EXPECT_EQ(ReadBytes(dir / "KFG.ini"), kfg) << c.name; // nothing written
        }
    }
}

TEST(KfgConfigurations, IndexFilesListedAndChosen) {
    TelvioFolder dir("[Telvio]\r\nOptimierungBT=1\r\nTestzeilen=20\r\n");
    for (const char* name : {"Telvio03.idx", "Telvio12.idx", "Telvio_05.idx"}) {
        WriteBytes(dir / name, "");
    }
    std::filesystem::create_directory(dir / "Telvio07.idx"); // not a file
    KfgRun run(dir.path(), [](CKfgDlg& d) {
        EXPECT_EQ(d.ComboCount(res::kIdIndexFileList), 2);
        EXPECT_EQ(d.ComboItemText(res::kIdIndexFileList, 1), "12");
        EXPECT_EQ(d.ItemText(res::kIdIndexFileList), "3"); // first entry shown selected
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "20");    // the file's value, unchanged
        auto* list = qobject_cast<QComboBox*>(d.Item(res::kIdIndexFileList));
        list->setCurrentIndex(1);
        emit list->activated(1);
        EXPECT_EQ(d.ItemText(res::kIdTestLines), "12");
        EXPECT_EQ(d.Record().Testzeilen, 12);
    });
}

// The configuration field's own edit line, where the user types and presses Enter.
QLineEdit* FieldEdit(const CKfgDlg& d) {
    auto* simple = qobject_cast<framework::SimpleCombo*>(d.Item(kField));
    return simple != nullptr ? simple->Edit() : nullptr;
}

QAbstractButton* ButtonTitled(const QMessageBox& box, const QString& text) {
    for (QAbstractButton* button : box.buttons()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

struct OverwriteCase {
    const char* how;
    bool spanish;
    std::function<void(QMessageBox&)> answer;
    bool saves;
};

// Up picks a stored name, Enter then asks before replacing it, in the captions' language; only
// "Ja" saves. Every other way out leaves "KFG.ini" as it was, the name in the field and KFG
// open.
TEST(KfgConfigurations, EnterOnAStoredNameAsksBeforeReplacingIt) {
    const OverwriteCase cases[] = {
        {"Return takes the default", false,
         [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, false},
        {"Escape", true, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, false},
        {"close box", false, [](QMessageBox& box) { box.close(); }, false},
        {"Nein", false,
         [](QMessageBox& box) { QTest::mouseClick(ButtonTitled(box, "Nein"), Qt::LeftButton); },
         false},
        {"Ja", false,
         [](QMessageBox& box) { QTest::mouseClick(ButtonTitled(box, "Ja"), Qt::LeftButton); },
         true},
        {"Sí", true,
         [](QMessageBox& box) {
             QTest::mouseClick(ButtonTitled(box, QString::fromUtf8("Sí")), Qt::LeftButton);
         },
         true},
    };
    for (const OverwriteCase& c : cases) {
        SCOPED_TRACE(c.how);
        const std::string kfg = std::string("[KFG]\r\nFr=") + (c.spanish ? "1" : "0") +
                                "\r\n[Abend]\r\nTestzeilen=30\r\n";
        TelvioFolder dir("[Telvio]\r\nStatus=1\r\nTestzeilen=10\r\n", kfg);
        std::vector<std::string> asked;
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            test::TypeInto(d.Item(res::kIdTestLines), "31");
            QLineEdit* field = FieldEdit(d);
            ASSERT_NE(field, nullptr);
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Up); // the only stored name
            ASSERT_EQ(field->text(), "Abend");
            {
                framework::ScopedModalHook answer([&](framework::ModalView& view) {
                    auto* box = qobject_cast<QMessageBox*>(view.Widget());
                    ASSERT_NE(box, nullptr);
                    asked.push_back((view.Caption() + ": " + view.Text()).toStdString());
                    QStringList buttons;
                    for (QAbstractButton* button : box->buttons()) {
                        buttons << button->text();
                    }
                    buttons.sort();
                    EXPECT_EQ(buttons, c.spanish ? QStringList({"No", QString::fromUtf8("Sí")})
                                                 : QStringList({"Ja", "Nein"}));
                    c.answer(*box);
                });
                QTest::keyClick(field, Qt::Key_Return);
            }
            EXPECT_FALSE(d.IsEnded());
            EXPECT_EQ(field->text(), c.saves ? "" : "Abend");
            EXPECT_EQ(Configurations(d), QStringList({"Abend"}));
        });
        EXPECT_EQ(asked, std::vector<std::string>{
                             c.spanish ? "KFG: La configuración Abend ya existe. ¿Sobrescribirla?"
                                       : "KFG: Die Konfiguration Abend gibt es schon. "
                                         "Überschreiben?"});
        const std::string after = ReadBytes(dir / "KFG.ini");
        if (c.saves) {
            EXPECT_NE(after.find("[Abend]\r\nTestzeilen=31\r\n"), std::string::npos);
        } else {
            EXPECT_EQ(after, kfg);
        }
    }
}

struct EnterCase {
    const char* typed;
    bool byEnter; // else the "Speichern" button
    std::vector<std::string> messages;
    const char* stored; // the section the save writes Testzeilen=31 into; null: no write
};

// The lines of `section` (its header included) in the bytes of an INI file.
std::string SectionText(const std::string& file, const std::string& section) {
    const std::size_t start = file.find("[" + section + "]\r\n");
    if (start == std::string::npos) {
        return {};
    }
    return file.substr(start, file.find("\r\n[", start) - start);
}

// What comes before the question and what never asks: the name checks speak first, a new name
// is saved at once, the letter case of a stored name does not hide it, and the "Speichern"
// button replaces without asking. The test answers every question with OK, which is no "Ja".
TEST(KfgConfigurations, EnterAsksOnlyForAStoredUsableName) {
    const EnterCase cases[] = {
        {"abend", true, {"KFG: Die Konfiguration abend gibt es schon. Überschreiben?"}, nullptr},
        {"Kino", true, {}, "Kino"},
        {"KFG", true, {"Fehler: Der Name KFG ist reserviert."}, nullptr},
        {"", true, {"Fehler: Konfiguration auswählen!"}, nullptr},
        {"A]b", true, {"Fehler: Dieser Name ist nicht möglich."}, nullptr},
        {"Abend", false, {}, "Abend"},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::string kfg = "[KFG]\r\nFr=0\r\n[Abend]\r\nTestzeilen=30\r\n";
        TelvioFolder dir("[Telvio]\r\nStatus=1\r\nTestzeilen=10\r\n", kfg);
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            test::TypeInto(d.Item(res::kIdTestLines), "31");
            test::TypeInto(FieldEdit(d), QString::fromUtf8(c.typed));
            if (c.byEnter) {
                QTest::keyClick(FieldEdit(d), Qt::Key_Return);
            } else {
                d.Click(res::kIdSaveConfiguration);
            }
            EXPECT_FALSE(d.IsEnded());
        });
        EXPECT_EQ(run.script.Messages(), c.messages);
        const std::string after = ReadBytes(dir / "KFG.ini");
        if (c.stored != nullptr) {
            EXPECT_NE(SectionText(after, c.stored).find("\r\nTestzeilen=31\r\n"), std::string::npos)
                << after;
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
    return state + Configurations(d);
}

struct UnknownShowCase {
    bool spanish;
    bool doubleClick; // on a listed name whose section has gone from the file since
    const char* message;
};

// "Anzeigen" of a name "KFG.ini" does not hold says so and changes nothing: no defaults come
// into the window (a Start would write them), nothing is written.
TEST(KfgConfigurations, ShowOfANameWithNoSectionChangesNothing) {
    const UnknownShowCase cases[] = {
        {false, false, "KFG: KFG.ini enthält keine Konfiguration Kino."},
        {true, false, "KFG: KFG.ini no contiene ninguna configuración Kino."},
        {false, true, "KFG: KFG.ini enthält keine Konfiguration Kino."},
    };
    for (const UnknownShowCase& c : cases) {
        const std::string telvio = "[Telvio]\r\nStatus=1\r\nTestzeilen=10\r\n";
        const std::string kfg = std::string("[KFG]\r\nFr=") + (c.spanish ? "1" : "0") +
                                "\r\n[Abend]\r\nTestzeilen=30\r\n";
        TelvioFolder dir(telvio, c.doubleClick ? kfg + "[Kino]\r\nTestzeilen=40\r\n" : kfg);
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            Type(d, "Abend");
            d.Click(res::kIdShowConfiguration);
            test::TypeInto(d.Item(res::kIdTestLines), "31"); // an edit not saved anywhere
            if (c.doubleClick) {
                WriteBytes(dir / "KFG.ini", kfg); // another program took "Kino" away
                auto* list = qobject_cast<framework::SimpleCombo*>(d.Item(kField))->List();
                emit list->itemClicked(list->item(1));
                const QStringList before = WindowState(d);
                emit list->itemDoubleClicked(list->item(1));
                EXPECT_EQ(WindowState(d), before);
            } else {
                Type(d, "Kino");
                const QStringList before = WindowState(d);
                d.Click(res::kIdShowConfiguration);
                EXPECT_EQ(WindowState(d), before);
            }
            EXPECT_EQ(d.ItemText(res::kIdTestLines), "31");
            EXPECT_EQ(d.Title(), "KFG – Abend");
        });
        EXPECT_EQ(run.script.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(ReadBytes(dir / "Telvio.ini"), telvio);
        EXPECT_EQ(ReadBytes(dir / "KFG.ini"), kfg);
    }
}

} // namespace
} // namespace kfg::dialogs
