// The commands of the main dialog that belong to no other part of it.
#include "dialogs/failure_reasons.h"
#include "dialogs/main/exchange_table.h"
#include "dialogs/main/kfg_dlg.h"
#include "dialogs/main/question_texts.h"
#include "framework/message_box.h"
#include "platform/program_starter.h"
#include "res/template_102.h"
#include "settings/profile_store.h"
#include "telvio/edition_facts.h"
#include "telvio/kfg_keys.h"
#include "telvio/process_state.h"
#include "telvio/viewer_file_values.h"
#include "telvio/viewer_key_table.h"
#include "telvio/viewer_start.h"

#include <QWidget>
#include <array>

namespace kfg::dialogs {

void CKfgDlg::OnDefaults() {
    ResetKeysOf(res::kIdDefaults);
}

void CKfgDlg::OnPictureDefaults() {
    ResetKeysOf(res::kIdPictureDefaults);
}

void CKfgDlg::ResetKeysOf(int buttonId) {
    for (const ResetButtonRow& button : ResetButtonTable()) {
        if (button.id != buttonId) {
            continue;
        }
        for (const telvio::ResetBy resets : button.resets) {
            if (resets != telvio::ResetBy::None) {
                SetKeysTo(resets);
            }
        }
    }
}

void CKfgDlg::SetKeysTo(telvio::ResetBy button) {
    for (const telvio::ViewerKey& key : telvio::kViewerKeys) {
        if (key.resetBy != button) {
            continue;
        }
        const ExchangeRow& row = *ExchangeRowOf(key.inRecord); // there is one: checked
        if (row.kind == ExchangeKind::Check) {
            SetCheck(row.id, telvio::ButtonDefault(key));
        } else {
            SetItemInt(row.id, telvio::ButtonDefault(key));
        }
    }
}

void CKfgDlg::OnAspect4To3() {
    SetItemInt(res::kIdBorderHeight, 1);
}
void CKfgDlg::OnAspect16To9() {
    SetItemInt(res::kIdBorderHeight, 34);
}
void CKfgDlg::OnAspect20To9() {
    SetItemInt(res::kIdBorderHeight, 60);
}

void CKfgDlg::OnIndexFileSelected() {
    const int n = ShownIndexNumber();
    record_.Testzeilen = n;
    if (n != 0) {
        SetItemInt(res::kIdTestLines, n);
    }
}

void CKfgDlg::SetPair(int id, int& member, int otherId, int& otherMember) {
    if (CheckState(otherId) == 1) {
        SetCheck(otherId, 0);
        otherMember = 0;
    }
    member = CheckState(id);
    SetCheck(id, member);
}

// "Schwarze Zeilen" and "PALplus" exclude each other: a click clears the other box.
void CKfgDlg::OnBlackLines() {
    SetPair(res::kIdBlackLines, record_.SchwarzeZeile, res::kIdPalPlus, record_.PALplus);
}

void CKfgDlg::OnPalPlus() {
    SetPair(res::kIdPalPlus, record_.PALplus, res::kIdBlackLines, record_.SchwarzeZeile);
}

void CKfgDlg::OnSoundOptionClicked() {
    record_.SoundOptionsChanged = 1;
}

void CKfgDlg::OnTakeControls() {
    UpdateData(true);
}

void CKfgDlg::OnReload() {
    LoadSettings(SettingsSource::Telvio);
}

void CKfgDlg::OnHelp() {}

void CKfgDlg::OnStart() {
    const auto failures = store_.CollectFailures();
    if (!TakeWindowValues()) {
        return; // the failed check keeps the dialog open: nothing written, nothing started
    }
    if (!MayOverwriteViewerFile()) {
        return; // nothing written or started; the window keeps its values
    }
    WriteSettings(SettingsSource::Telvio);
    if (record_.SoundOptionsChanged == 1) {
        WriteSoundOptions();
    }
    // Told before anything starts: Telvio will run with what the disk still holds.
    ShowSaveFailures(this, failures.FirstPerFile(), CaptionLanguage());
    // Unmute line-in when asked to and it is muted; otherwise the mixer is not touched.
    LineInMute.ProcessPendingEvents(); // the box shows the mixer's state of this moment
    if (CheckState(res::kIdSoundLineIn) == 1 && CheckState(res::kIdLineInMute) == 1) {
        LineInMute.OnClicked();
    }
    // Every settings file is on disk by now; Telvio takes over this process. The starter logs
    // a failed sound initialisation, the dialog stays silent about it.
    const std::error_code failed =
        telvio::StartViewer(starter_, workingDirectory_, state_.Edition,
                            CheckState(res::kIdSoundInit) == 1, [](const std::error_code&) {});
    // Still here: Telvio could not be started. Say why before KFG ends (the base OK, so the
    // sound options are not written a second time).
    if (failed) {
        const std::string viewer(telvio::FactsOf(state_.Edition).viewerProgram);
        ShowStartFailure(this, workingDirectory_, viewer, failed, CaptionLanguage());
    }
    framework::Dialog::OnOK();
}

// Asked after the range checks and before anything is written (the sound options too) or
// started, so that "Nein" leaves everything as it was.
bool CKfgDlg::MayOverwriteViewerFile() {
    const telvio::ViewerFileValues now =
        telvio::ReadViewerFileValues(store_, ViewerFile(), state_.Edition);
    if (!telvio::SaveOverwritesChanges(viewerFileBaseline_, now, record_, state_)) {
        return true;
    }
    const texts::TextLanguage language = CaptionLanguage();
    return framework::MessageBoxYesNo(this, In(kViewerFileChangedQuestion, language),
                                      QStringLiteral("KFG"), In(kYes, language),
                                      In(kNo, language)) == framework::IDYES;
}

void CKfgDlg::OnAudioDecoder() {
    audioDecoderDlg_.DoModal();
}

void CKfgDlg::WriteSoundOptions() {
    telvio::WriteSoundOptions(store_, ManagerFile(), CheckState(res::kIdSoundInit) == 1,
                              CheckState(res::kIdSoundLineIn) == 1);
}

void CKfgDlg::OnOK() {
    if (record_.SoundOptionsChanged == 1) {
        const auto failures = store_.CollectFailures();
        WriteSoundOptions();
        ShowSaveFailures(this, failures.FirstPerFile(), CaptionLanguage());
    }
    framework::Dialog::OnOK();
}

void CKfgDlg::OnClose() {
    framework::Dialog::OnOK();
}

// Enter in the configuration field saves the configuration named there, asking before it
// replaces a stored one (Up and Down put a stored name into the field); elsewhere it does
// nothing, so that typing a number and pressing Enter neither ends KFG nor saves by surprise.
void CKfgDlg::OnEnter() {
    QWidget* field = Item(res::kIdConfigurationField);
    QWidget* focused = Window() != nullptr ? Window()->focusWidget() : nullptr;
    if (field != nullptr && focused != nullptr && field->isAncestorOf(focused)) {
        OnSaveConfigurationAsking();
    }
}

} // namespace kfg::dialogs
