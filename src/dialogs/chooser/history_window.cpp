#include "dialogs/chooser/history_window.h"

#include "dialogs/chooser/row_announcement.h"
#include "dialogs/chooser/state_change_texts.h"
#include "framework/message_box.h"
#include "settings/profile_store.h"
#include "telvio/edition_detection.h"
#include "telvio/edition_facts.h"
#include "telvio/kfg_keys.h"
#include "texts/failure_reasons.h"
#include "texts/kept_state_texts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <ctime>

namespace kfg::dialogs {
namespace {

namespace fs = std::filesystem;
using Result = telvio::RestoreOutcome::Result;

const QString kCaption = QStringLiteral("KFG");

QTreeWidget* MakeTable(QWidget* parent, const QStringList& columns) {
    auto* table = new QTreeWidget(parent);
    table->setColumnCount(static_cast<int>(columns.size()));
    table->setHeaderLabels(columns);
    table->setRootIsDecorated(false);
    table->setUniformRowHeights(true);
    table->setAllColumnsShowFocus(true);
    table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->header()->setStretchLastSection(true);
    return table;
}

// A sentence made for "kfgctl: ..." as a window's sentence: a capital and a full stop.
QString AsSentence(const std::string& text) {
    QString sentence = QString::fromStdString(text);
    if (!sentence.isEmpty()) {
        sentence[0] = sentence[0].toUpper();
        sentence += QLatin1Char('.');
    }
    return sentence;
}

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

texts::TextLanguage FolderCaptionLanguage(settings::ProfileStore& store, const fs::path& folder) {
    return telvio::CaptionLanguageAtStartUp(telvio::ReadKfgNumber(
        store, folder / telvio::kManagerFile, telvio::KfgKey::Fr, telvio::KfgReader::StartUp));
}

HistoryWindow::HistoryWindow(settings::ProfileStore& store, fs::path folder, ShownPaths shown,
                             texts::TextLanguage language, texts::TextLanguage captionLanguage,
                             QWidget* parent)
    : QDialog(parent)
    , store_(store)
    , folder_(std::move(folder))
    , shown_(std::move(shown))
    , language_(language)
    , captionLanguage_(captionLanguage)
    , states_(store_, folder_) {
    setWindowTitle(Say(HistoryText::Title).arg(shown_.Shown(folder_)));

    auto* listLabel = new QLabel(Say(HistoryText::ListLabel), this);
    list_ = MakeTable(this, {Say(HistoryText::TimeColumn), Say(HistoryText::FileColumn),
                             Say(HistoryText::ChangesColumn)});
    list_->setAccessibleName(Say(HistoryText::ListLabel).remove(QLatin1Char('&')));
    listLabel->setBuddy(list_);
    AnnounceRowOnFocus(*list_);

    auto* tableLabel = new QLabel(Say(HistoryText::DifferencesLabel), this);
    table_ = MakeTable(this, {Say(HistoryText::SettingColumn), Say(HistoryText::InStateColumn),
                              Say(HistoryText::NowColumn)});
    table_->setAccessibleName(Say(HistoryText::DifferencesLabel).remove(QLatin1Char('&')));
    tableLabel->setBuddy(table_);
    AnnounceRowOnFocus(*table_);

    status_ = new QLabel(this);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    restore_ = buttons->addButton(Say(HistoryText::Restore), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(Say(HistoryText::Close), QDialogButtonBox::RejectRole);
    // No button is the default: Enter on a row must not restore (keyPressEvent).
    for (QPushButton* button : {restore_, close}) {
        button->setAutoDefault(false);
    }
    connect(restore_, &QPushButton::clicked, this, &HistoryWindow::RestoreSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { ShowDifferences(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listLabel);
    layout->addWidget(list_, 3);
    layout->addWidget(tableLabel);
    layout->addWidget(table_, 2);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(720, 480);
    Fill();
    list_->setFocus();
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button that has the focus, and nothing else.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::string HistoryWindow::NowBytes(std::string_view file) const {
    std::string bytes;
    (void)store_.ReadBytes(folder_ / file, bytes); // unreadable: every setting differs
    return bytes;
}

ChangeNaming HistoryWindow::Naming() const {
    // KFG.ini's lists show the entries of the folder's edition now.
    return {language_, captionLanguage_,
            telvio::DetectEditionOfBytes(NowBytes(telvio::kViewerSettingsFile))};
}

void HistoryWindow::Fill() {
    listed_ = states_.List();
    const ChangeNaming naming = Naming();
    list_->clear();
    for (const telvio::ListedState& state : listed_) {
        new QTreeWidgetItem(list_,
                            {ShownTime(state), Utf8(state.file),
                             ChangeSummary(state.file, state.bytes, state.bytesAfter, naming)});
    }
    restore_->setEnabled(!listed_.empty());
    if (!listed_.empty()) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
    ShowDifferences();
}

const telvio::ListedState* HistoryWindow::Selected() const {
    const int row =
        list_->currentItem() != nullptr ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    return row >= 0 && static_cast<std::size_t>(row) < listed_.size()
               ? &listed_[static_cast<std::size_t>(row)]
               : nullptr;
}

void HistoryWindow::ShowDifferences() {
    table_->clear();
    QStringList status;
    const telvio::ListedState* state = Selected();
    const fs::path root = store_.History() != nullptr ? store_.History()->Root() : fs::path();
    if (listed_.empty()) {
        status << Say(HistoryText::NothingKeptYet).arg(shown_.Shown(root));
    } else if (state == nullptr) {
        status << Say(HistoryText::ChooseOne);
    } else {
        const std::string now = NowBytes(state->file);
        for (const DifferenceRow& row : DifferenceRows(state->file, state->bytes, now, Naming())) {
            auto* item = new QTreeWidgetItem(table_, {row.setting, row.inState, row.now});
            // Heard whole where the focus stands: the setting with both values, each named.
            item->setData(0, Qt::AccessibleTextRole,
                          QStringLiteral("%1, %2 %3, %4 %5")
                              .arg(row.setting, Say(HistoryText::InStateColumn), row.inState,
                                   Say(HistoryText::NowColumn), row.now));
        }
        // A screen reader reads the row the table stands on, all of it.
        table_->setCurrentItem(table_->topLevelItem(0));
        if (table_->topLevelItemCount() == 0) {
            status << Say(HistoryText::NoDifference);
        }
    }
    if (const telvio::KeepProblem problem = states_.WhyNothingIsKept()) {
        status << AsSentence(texts::NothingKeptMessage(problem.error, problem.folder, language_));
    }
    SetStatus(status.join(QLatin1Char('\n')));
}

void HistoryWindow::SetStatus(const QString& text) {
    status_->setText(text);
    // A screen reader says it with the list, where the focus comes back.
    list_->setAccessibleDescription(text);
}

QString HistoryWindow::ShownTime(const telvio::ListedState& state) const {
    const auto seconds = static_cast<std::time_t>(state.replacedNanoseconds / 1'000'000'000);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[40] = {};
    std::size_t length = 0;
    switch (language_) {
    case texts::TextLanguage::German:
        length = std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
        break;
    case texts::TextLanguage::Spanish:
        length = std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
        break;
    case texts::TextLanguage::English:
        length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
        break;
    }
    QString shown = QString::fromLatin1(text, static_cast<qsizetype>(length));
    // The fractional digits that tell states of one second apart, as the state's name has them.
    const std::size_t dot = state.name.find('.');
    if (dot != std::string::npos) {
        const std::size_t end = state.name.find_first_of("+-Z", dot);
        shown += Utf8(std::string_view(state.name).substr(dot, end - dot));
    }
    return shown;
}

bool HistoryWindow::Ask(const QString& question) const {
    return framework::MessageBoxYesNo(nullptr, question, kCaption, Say(HistoryText::Yes),
                                      Say(HistoryText::No)) == framework::IDYES;
}

void HistoryWindow::Tell(const QString& message) const {
    framework::MessageBox(nullptr, message, kCaption);
}

void HistoryWindow::RestoreSelected() {
    const telvio::ListedState* selected = Selected();
    if (selected == nullptr) {
        return;
    }
    const telvio::ListedState state = *selected; // the list is filled anew below
    const QString file = Utf8(state.file);
    const QString time = ShownTime(state);
    QString question = Say(HistoryText::RestoreQuestion).arg(file, time);
    if (state.file == telvio::kManagerFile) {
        const ConfigurationChanges changes =
            ConfigurationsRestoreChanges(state.bytes, NowBytes(state.file));
        if (!changes.removed.isEmpty()) {
            question +=
                QStringLiteral("\n\n") + Say(HistoryText::RemovesConfigurations)
                                             .arg(changes.removed.join(QStringLiteral(", ")));
        }
        if (!changes.changedBack.isEmpty()) {
            question +=
                QStringLiteral("\n\n") + Say(HistoryText::ChangesBackConfigurations)
                                             .arg(changes.changedBack.join(QStringLiteral(", ")));
        }
    }
    if (!Ask(question)) {
        return;
    }
    const auto failures = store_.CollectFailures();
    telvio::RestoreOutcome outcome = states_.Restore(state, telvio::EditionCheck::Made);
    // A state of another edition, or over a file that tells none, is asked for once more.
    if (outcome.result == Result::OtherEdition || outcome.result == Result::UndecidedEdition) {
        const QString again =
            outcome.result == Result::OtherEdition
                ? Say(HistoryText::OtherEditionQuestion)
                      .arg(Utf8(telvio::FactsOf(outcome.stateEdition).versionLabel),
                           Utf8(telvio::FactsOf(outcome.fileEdition).versionLabel))
                : Say(HistoryText::UndecidedEditionQuestion);
        if (!Ask(again)) {
            return;
        }
        outcome = states_.Restore(state, telvio::EditionCheck::Skipped);
    }
    switch (outcome.result) {
    case Result::Restored:
        break;
    case Result::NotKept:
        Tell(Say(HistoryText::NotKept)
                 .arg(time, file,
                      QString::fromStdString(texts::KeepProblemReason(
                          outcome.notKept.error, outcome.notKept.folder, language_))));
        return;
    case Result::Unreadable:
        Tell(Say(HistoryText::Unreadable)
                 .arg(time, file,
                      QString::fromStdString(texts::FailureReason(outcome.error, language_))));
        return;
    case Result::WriteFailed:
        for (const settings::ProfileFailure& failure : failures.FirstPerFile()) {
            Tell(QString::fromStdString(texts::SaveFailureMessage(failure.file.filename().string(),
                                                                  failure.error, language_)));
        }
        return;
    case Result::OtherEdition:
    case Result::UndecidedEdition:
        return; // asked and answered above: cannot come back once more
    }
    Fill(); // the state the restore replaced comes first
    QStringList said{Say(HistoryText::Restored).arg(file, time)};
    if (restored_) {
        restored_(state.file);
        if (state.file == telvio::kManagerFile) {
            said << Say(HistoryText::ManagerRestored);
        }
    }
    SetStatus(said.join(QLatin1Char('\n')));
}

} // namespace kfg::dialogs
