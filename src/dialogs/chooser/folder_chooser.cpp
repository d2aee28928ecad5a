#include "dialogs/chooser/folder_chooser.h"

#include "dialogs/chooser/folder_chooser_texts.h"
#include "dialogs/chooser/row_announcement.h"
#include "places/recent_folders.h"
#include "places/telvio_folder.h"
#include "places/wine_prefix_search.h"
#include "telvio/edition_facts.h"
#include "telvio/telvio_ini.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <set>

namespace kfg::dialogs {
namespace {

namespace fs = std::filesystem;

// The exact bytes of a path travel with its row; the text is only for showing.
constexpr int kPathRole = Qt::UserRole;

fs::path EncodedPath(const QByteArray& bytes) {
    return fs::path(bytes.toStdString());
}

std::vector<FolderChooser::Entry> Described(const std::vector<fs::path>& folders,
                                            const std::stop_token& stop) {
    std::vector<FolderChooser::Entry> entries;
    for (const fs::path& folder : folders) {
        if (stop.stop_requested()) {
            break;
        }
        if (const std::optional<telvio::Edition> edition = places::EditionOf(folder)) {
            entries.push_back({folder, *edition});
        }
    }
    return entries;
}

std::optional<fs::path> AskDesktop(QWidget* parent, const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(parent, title);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return EncodedPath(QFile::encodeName(folder));
}

} // namespace

FolderChooser::FolderChooser(FolderChooserSources sources, texts::TextLanguage language,
                             QWidget* parent)
    : QDialog(parent)
    , sources_(std::move(sources))
    , shown_(sources_.home) // worked out once
    , language_(language) {
    const auto text = [this](ChooserText which) { return ChooserTextIn(which, language_); };
    setWindowTitle(text(ChooserText::Title));
    askFolder_ = [title = text(ChooserText::FolderDialogTitle)](QWidget* owner) {
        return AskDesktop(owner, title);
    };

    auto* label = new QLabel(text(ChooserText::ListLabel), this);
    list_ = new QTreeWidget(this);
    list_->setColumnCount(2);
    list_->setHeaderLabels({text(ChooserText::EditionColumn), text(ChooserText::FolderColumn)});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->setAccessibleName(text(ChooserText::ListLabel).remove(QLatin1Char('&')));
    label->setBuddy(list_);
    AnnounceRowOnFocus(*list_);

    status_ = new QLabel(text(ChooserText::Searching), this);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    open_ = buttons->addButton(text(ChooserText::Open), QDialogButtonBox::AcceptRole);
    open_->setDefault(true);
    open_->setEnabled(false);
    QPushButton* other =
        buttons->addButton(text(ChooserText::OtherFolder), QDialogButtonBox::ActionRole);
    history_ = buttons->addButton(text(ChooserText::EarlierStates), QDialogButtonBox::ActionRole);
    history_->setEnabled(false);
    history_->hide(); // until there is a way to open the window
    connect(history_, &QPushButton::clicked, this, &FolderChooser::OpenHistory);
    buttons->addButton(text(ChooserText::Cancel), QDialogButtonBox::RejectRole);
    // The buttons' own clicks, not the box's accepted(): Open may refuse and stay.
    connect(open_, &QPushButton::clicked, this, &FolderChooser::OpenSelected);
    connect(other, &QPushButton::clicked, this, &FolderChooser::OpenOther);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter reaches the default button through the dialog; a double click comes here.
    connect(list_, &QTreeWidget::doubleClicked, this, &FolderChooser::OpenSelected);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        open_->setEnabled(current != nullptr);
        history_->setEnabled(current != nullptr);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(640, 360);
    list_->setFocus();

    search_ = std::jthread([this](std::stop_token stop) { Search(std::move(stop)); });
}

void FolderChooser::Search(std::stop_token stop) {
    // Runs on the search thread: reads only sources_, which nothing changes meanwhile, and
    // hands every result to the window's thread.
    std::set<fs::path> listed; // a folder found twice is listed once, where it came first
    const auto post = [this, &listed](std::vector<Entry> entries) {
        std::erase_if(
            entries, [&listed](const Entry& entry) { return !listed.insert(entry.folder).second; });
        QMetaObject::invokeMethod(
            this, [this, entries = std::move(entries)] { AddEntries(entries); },
            Qt::QueuedConnection);
    };
    post(places::ShownRecentFolders(sources_.stateFolder));
    // Even listing the prefixes reads folders and resolves links: here, not before the window.
    const std::vector<fs::path> prefixes = places::ListWinePrefixes(sources_.wine);
    post(Described(places::FindTelvioFoldersInPrefixes(prefixes, {}, stop), stop));
    QMetaObject::invokeMethod(
        this, [this] { FinishSearch(); }, Qt::QueuedConnection);
}

void FolderChooser::AddEntries(const std::vector<Entry>& entries) {
    for (const Entry& entry : entries) {
        const QString edition = QString::fromUtf8(telvio::FactsOf(entry.edition).versionLabel);
        auto* item = new QTreeWidgetItem(list_, {edition, shown_.Shown(entry.folder)});
        item->setData(0, kPathRole, QByteArray::fromStdString(entry.folder.native()));
        item->setToolTip(1, DecodedPath(entry.folder));
    }
    if (list_->currentItem() == nullptr && list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
}

void FolderChooser::FinishSearch() {
    if (list_->topLevelItemCount() > 0) {
        status_->setText(ChooserTextIn(ChooserText::ChooseOne, language_));
    } else {
        QStringList places{ChooserTextIn(ChooserText::RecentPlace, language_)};
        for (const QString& place : sources_.placesLooked) {
            places << place;
        }
        status_->setText(ChooserTextIn(ChooserText::NothingFound, language_)
                             .arg(places.join(QLatin1Char('\n'))));
    }
    if (searchFinished_) {
        searchFinished_();
    }
}

void FolderChooser::OpenSelected() {
    if (const QTreeWidgetItem* item = list_->currentItem()) {
        Choose(EncodedPath(item->data(0, kPathRole).toByteArray()));
    }
}

void FolderChooser::SetHistoryOpener(HistoryOpener opener) {
    openHistory_ = std::move(opener);
    history_->setVisible(static_cast<bool>(openHistory_));
}

void FolderChooser::OpenHistory() {
    if (const QTreeWidgetItem* item = list_->currentItem(); item != nullptr && openHistory_) {
        openHistory_(EncodedPath(item->data(0, kPathRole).toByteArray()), language_, this);
    }
}

void FolderChooser::OpenOther() {
    if (const std::optional<fs::path> folder = askFolder_(this)) {
        Choose(*folder);
    }
}

void FolderChooser::Choose(const fs::path& folder) {
    // Checked again at the moment of choice: a listed folder may have lost its file since.
    if (!telvio::HoldsTelvioIni(folder)) {
        status_->setText(ChooserTextIn(ChooserText::Refused, language_).arg(shown_.Shown(folder)));
        return;
    }
    chosen_ = folder;
    accept();
}

} // namespace kfg::dialogs
