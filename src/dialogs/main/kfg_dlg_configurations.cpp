// Named configurations in "KFG.ini", the scans of the first load, and the language prompt
// request.
#include "dialogs/failure_reasons.h"
#include "dialogs/main/kfg_dlg.h"
#include "dialogs/main/question_texts.h"
#include "framework/message_box.h"
#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "res/template_102.h"
#include "settings/configuration_scan.h"
#include "settings/profile_store.h"
#include "settings/windows1252.h"
#include "telvio/configuration_names.h"
#include "telvio/kfg_keys.h"
#include "telvio/process_state.h"
#include "texts/configuration_name_texts.h"

#include <QString>

namespace kfg::dialogs {
namespace {

// The name in the configuration field: no blanks at either end, at most 14 characters.
std::string FieldName(const CKfgDlg& dialog) {
    return telvio::FieldConfigurationName(
        dialog.ItemText(res::kIdConfigurationField).toStdString());
}

QString Shown(const std::string& windows1252) {
    return QString::fromStdString(settings::Utf8FromWindows1252(windows1252));
}

} // namespace

bool CKfgDlg::ScanConfigurationSections() {
    const settings::ConfigurationScan scan = settings::ScanConfigurationSections(ManagerFile());
    for (const std::string& name : scan.names) {
        ComboAddString(res::kIdConfigurationField, Shown(name));
    }
    return scan.opened;
}

void CKfgDlg::CheckLanguagePrompt() {
    const telvio::KfgKeyInfo& sprox = telvio::Info(telvio::KfgKey::Sprox);
    if (store_.GetInt(ManagerFile(), telvio::kManagerSection, sprox.name, sprox.integerDefault) ==
        static_cast<std::uint32_t>(sprox.integerDefault)) {
        return;
    }
    // Removed before the prompt, so the request is one-shot (on disk before the prompt). A
    // write KFG makes on its own is never announced; kfg.settings has the reason.
    (void)store_.DeleteKey(ManagerFile(), telvio::kManagerSection, sprox.name);
    languageDlg_.DoModal();
}

void CKfgDlg::ScanIndexFiles() {
    UpdateData(true);
    const char* prefix =
        state_.IndexPrefixFlag == telvio::kIndexPrefixTelvio ? "Telvio" : "Telvio_";
    // Letter case is ignored as for every file of the folder ("TELVIO_03.IDX"); the folder is
    // read once for all 99 names.
    const platform::FolderEntries folder(workingDirectory_);
    for (int n = 1; n <= 99; ++n) {
        const std::string name =
            prefix + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".idx";
        if (folder.MayHold(name) && platform::CanReadRegularFile(folder.Find(name).path)) {
            ComboAddString(res::kIdIndexFileList, QString::number(n));
        }
    }
    // Nothing is selected yet, so the list's text reads as 0: the first entry shows selected.
    record_.IndexFileSelection = ShownIndexNumber();
    UpdateData(false);
}

int CKfgDlg::ShownIndexNumber() const {
    bool ok = false;
    const unsigned number = ItemText(res::kIdIndexFileList).trimmed().toUInt(&ok);
    return ok ? static_cast<int>(number) : 0;
}

bool CKfgDlg::TakeConfigurationName() {
    const std::optional<std::string> name = settings::Windows1252FromUtf8(FieldName(*this));
    const telvio::NameProblem problem = telvio::CheckConfigurationName(name);
    state_.ActiveSection = name && problem != telvio::NameProblem::Unusable ? *name : std::string();
    if (problem == telvio::NameProblem::None) {
        return true;
    }
    const std::string_view text = telvio::NameProblemText(problem, CaptionLanguage());
    framework::MessageBox(this, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                          CaptionLanguage() == texts::TextLanguage::Spanish
                              ? QStringLiteral("Error.")
                              : QStringLiteral("Fehler"));
    return false;
}

int CKfgDlg::FindConfiguration(const std::string& name) const {
    // Letter case is ignored as the profile file ignores it.
    for (int i = 0; i < ComboCount(res::kIdConfigurationField); ++i) {
        const std::optional<std::string> entry = settings::Windows1252FromUtf8(
            ComboItemText(res::kIdConfigurationField, i).toStdString());
        if (entry && settings::EqualsIgnoreCase1252(*entry, name)) {
            return i;
        }
    }
    return -1;
}

void CKfgDlg::OnConfigurationTextChanged() {
    state_.ActiveSection = settings::Windows1252FromUtf8(FieldName(*this)).value_or("");
}

void CKfgDlg::OnSaveConfiguration() {
    if (TakeConfigurationName()) {
        SaveConfiguration();
    }
}

void CKfgDlg::OnSaveConfigurationAsking() {
    if (!TakeConfigurationName()) {
        return;
    }
    // The same lookup as every other reader of the file: letter case ignored.
    if (store_.HasSection(ManagerFile(), state_.ActiveSection)) {
        const texts::TextLanguage language = CaptionLanguage();
        const int answer = framework::MessageBoxYesNo(
            this, In(kOverwriteConfigurationQuestion, language).arg(Shown(state_.ActiveSection)),
            QStringLiteral("KFG"), In(kYes, language), In(kNo, language));
        if (answer != framework::IDYES) {
            return; // the name stays in the field for another try
        }
    }
    SaveConfiguration();
}

void CKfgDlg::SaveConfiguration() {
    const bool listed = FindConfiguration(state_.ActiveSection) >= 0;
    const auto failures = store_.CollectFailures();
    if (!SaveSettings(SettingsSource::KFG)) {
        return; // a failed check: nothing saved, so nothing listed, and the name stays
    }
    ShowSaveFailures(this, failures.FirstPerFile(), CaptionLanguage());
    if (!listed) {
        ComboAddString(res::kIdConfigurationField, Shown(state_.ActiveSection));
    }
    SetItemText(res::kIdConfigurationField, QString()); // ActiveSection keeps the name
}

void CKfgDlg::OnShowConfiguration() {
    if (!TakeConfigurationName()) {
        return;
    }
    // Loading a section that is not there would put every default into the window, and the
    // next Start would write them: a typo must change nothing.
    if (!store_.HasSection(ManagerFile(), state_.ActiveSection)) {
        framework::MessageBox(
            this,
            (In(texts::kNoSuchConfiguration, CaptionLanguage()) + QLatin1Char('.'))
                .arg(Shown(state_.ActiveSection)),
            QStringLiteral("KFG"));
        return;
    }
    LoadSettings(SettingsSource::KFG);
}

void CKfgDlg::OnDeleteConfiguration() {
    if (!TakeConfigurationName()) {
        return;
    }
    const auto failures = store_.CollectFailures();
    (void)store_.DeleteSection(ManagerFile(), state_.ActiveSection); // told just below
    ShowSaveFailures(this, failures.FirstPerFile(), CaptionLanguage());
    ComboDeleteString(res::kIdConfigurationField, FindConfiguration(state_.ActiveSection));
}

} // namespace kfg::dialogs
