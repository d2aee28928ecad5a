// Named configurations, the language prompt request and the index-file list.
#include "dialogs/main/kfg_dlg.h"
#include "framework/widgets/combo_widgets.h"
#include "res/side_templates.h"
#include "res/template_102.h"
#include "support/kfg_run.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QStringList>
#include <gtest/gtest.h>

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

} // namespace
} // namespace kfg::dialogs
