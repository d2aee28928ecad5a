#include "dialogs/chooser/folder_chooser.h"
#include "places/recent_folders.h"
#include "support/dialog_tests.h"

#include <QAccessible>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <ostream>

namespace kfg::dialogs {
namespace {

// A Telvio folder below `root` with the sample file of `edition`, spelt as a FAT copy has it.
fs::path SampleFolder(const fs::path& root, const std::string& relative, const char* edition) {
    fs::create_directories(root / relative);
    fs::copy_file(fs::path(KFG_EXAMPLES_DIR) / edition / "Telvio.ini",
                  root / relative / "TELVIO.INI");
    return fs::canonical(root / relative);
}

// Shows the chooser and returns once its search has ended.
void ShowAndWait(FolderChooser& chooser) {
    QEventLoop loop;
    chooser.SetSearchFinished([&loop] { loop.quit(); });
    chooser.show();
    loop.exec();
}

// A row of the chooser's list as shown.
struct Row {
    QString edition;
    QString folder;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.edition.toStdString() << "  " << row.folder.toStdString();
}

std::vector<Row> Rows(const FolderChooser& chooser) {
    std::vector<Row> rows;
    const auto* list = chooser.findChild<QTreeWidget*>();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        rows.push_back(
            {.edition = list->topLevelItem(i)->text(0), .folder = list->topLevelItem(i)->text(1)});
    }
    return rows;
}

QString Status(const FolderChooser& chooser) {
    for (const QLabel* label : chooser.findChildren<QLabel*>()) {
        if (label->buddy() == nullptr) {
            return label->text();
        }
    }
    return {};
}

class FolderChooserTest : public testing::Test {
protected:
    FolderChooserSources Sources() const {
        return {.stateFolder = platform::StateFolder(home_ / "state"),
                .wine = {.winePrefix = std::nullopt, .home = home_.path()},
                .placesLooked = {"~/.wine"},
                .home = home_.path()};
    }
    TempDir home_;
};

TEST_F(FolderChooserTest, KeyboardAloneChoosesAnEntryOrEndsTheWindow) {
    SampleFolder(home_ / ".wine", "drive_c/Telvio320", "V320");
    const fs::path v311 = SampleFolder(home_ / ".wine", "drive_c/Program Files/Telvio", "V311");

    FolderChooser chooser(Sources(), texts::TextLanguage::English);
    ShowAndWait(chooser);
    // Level by level: drive_c's own folder comes before the one in "Program Files".
    EXPECT_EQ(Rows(chooser),
              (std::vector<Row>{
                  {.edition = "V 3.20", .folder = "~/.wine/drive_c/Telvio320"},
                  {.edition = "V 3.11", .folder = "~/.wine/drive_c/Program Files/Telvio"}}));
    // Every control is named for a screen reader; the list by its label.
    QStringList reachable;
    Collect(QAccessible::queryAccessibleInterface(&chooser), reachable);
    EXPECT_GT(reachable.size(), 2);
    EXPECT_FALSE(reachable.join('\n').contains("<unnamed")) << reachable.join('\n').toStdString();

    auto* list = chooser.findChild<QTreeWidget*>();
    PressKey(list, Qt::Key_Down);
    PressKey(list, Qt::Key_Return);
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.ChosenFolder(), v311);

    FolderChooser escaped(Sources(), texts::TextLanguage::English);
    ShowAndWait(escaped);
    PressKey(escaped.findChild<QTreeWidget*>(), Qt::Key_Escape);
    EXPECT_FALSE(escaped.isVisible());
    EXPECT_EQ(escaped.result(), QDialog::Rejected);
    EXPECT_FALSE(escaped.ChosenFolder());
}

TEST_F(FolderChooserTest, AFolderFoundAgainIsListedOnceWhereItCameFirst) {
    SampleFolder(home_ / ".wine", "drive_c/Telvio320", "V320");
    const fs::path v311 = SampleFolder(home_ / ".wine", "drive_c/Program Files/Telvio", "V311");
    ASSERT_FALSE(places::RecordRecentFolder(Sources().stateFolder, v311));

    FolderChooser chooser(Sources(), texts::TextLanguage::English);
    ShowAndWait(chooser);
    EXPECT_EQ(
        Rows(chooser),
        (std::vector<Row>{{.edition = "V 3.11", .folder = "~/.wine/drive_c/Program Files/Telvio"},
                          {.edition = "V 3.20", .folder = "~/.wine/drive_c/Telvio320"}}));
}

TEST_F(FolderChooserTest, OtherFolderWithoutTelvioIniIsRefusedAndTheWindowStays) {
    const fs::path empty = home_ / "empty";
    fs::create_directories(empty);
    const fs::path good = SampleFolder(home_.path(), "good", "V283");
    std::vector<fs::path> answers{empty, good};

    FolderChooser chooser(Sources(), texts::TextLanguage::German);
    chooser.SetFolderQuestion([&answers](QWidget*) {
        const fs::path next = answers.front();
        answers.erase(answers.begin());
        return std::optional<fs::path>(next);
    });
    ShowAndWait(chooser);
    const QList<QPushButton*> buttons = chooser.findChildren<QPushButton*>();
    const auto other = std::ranges::find_if(
        buttons, [](const QPushButton* button) { return button->text().contains("Ordner"); });
    ASSERT_NE(other, buttons.end());
    (*other)->click();
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(Status(chooser), QStringLiteral("In ~/empty liegt keine Telvio.ini. W\u00e4hlen Sie "
                                              "den Ordner, in dem sie liegt."));
    (*other)->click();
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.ChosenFolder(), good);
}

TEST_F(FolderChooserTest, NothingFoundSaysWhereItLookedAndOpensNothing) {
    FolderChooser chooser(Sources(), texts::TextLanguage::Spanish);
    ShowAndWait(chooser);
    EXPECT_TRUE(Rows(chooser).empty());
    EXPECT_EQ(Status(chooser),
              QStringLiteral("No se encontr\u00f3 ninguna carpeta de Telvio. KFG "
                             "busc\u00f3 en:\nlas carpetas usadas antes\n~/.wine"));
    PressKey(chooser.findChild<QTreeWidget*>(), Qt::Key_Return);
    EXPECT_TRUE(chooser.isVisible());
}

// "Earlier states…" opens the window of the selected folder in the chooser's language; its
// access key is no other control's.
TEST_F(FolderChooserTest, EarlierStatesOpensTheSelectedFoldersWindow) {
    const fs::path v320 = SampleFolder(home_ / ".wine", "drive_c/Telvio320", "V320");
    struct Case {
        texts::TextLanguage language;
        const char* button;
    };
    struct Opened {
        fs::path folder;
        texts::TextLanguage language;
        bool operator==(const Opened&) const = default;
    };
    const Case cases[] = {
        {.language = texts::TextLanguage::English, .button = "&Earlier states…"},
        {.language = texts::TextLanguage::German, .button = "Frühere &Stände …"},
        {.language = texts::TextLanguage::Spanish, .button = "&Estados anteriores…"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        FolderChooser chooser(Sources(), c.language);
        std::vector<Opened> opened;
        chooser.SetHistoryOpener(
            [&opened](const fs::path& folder, texts::TextLanguage shown, QWidget*) {
                opened.push_back({.folder = folder, .language = shown});
            });
        ShowAndWait(chooser);
        QStringList keys;
        QPushButton* history = nullptr;
        for (QPushButton* button : chooser.findChildren<QPushButton*>()) {
            keys << button->text().section('&', 1).left(1).toLower();
            if (button->text() == QString::fromUtf8(c.button)) {
                history = button;
            }
        }
        for (const QLabel* label : chooser.findChildren<QLabel*>()) {
            keys << label->text().section('&', 1).left(1).toLower();
        }
        keys.removeAll(QString());
        EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(',').toStdString();
        ASSERT_NE(history, nullptr);
        QTest::mouseClick(history, Qt::LeftButton);
        EXPECT_EQ(opened, (std::vector<Opened>{{.folder = v320, .language = c.language}}));
        EXPECT_TRUE(chooser.isVisible());
    }
}

} // namespace
} // namespace kfg::dialogs
