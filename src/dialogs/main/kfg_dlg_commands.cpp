// The main dialog's dispatch table and the commands that belong to no other part of it.
#include "dialogs/failure_reasons.h"
#include "dialogs/main/kfg_dlg.h"
#include "platform/program_starter.h"
#include "res/template_102.h"
#include "settings/kfg_keys.h"
#include "settings/process_state.h"
#include "settings/profile_store.h"

#include <QWidget>
#include <array>

namespace kfg::dialogs {
namespace {

using framework::Notification;

struct DispatchRow {
    Notification notification;
    int id;
    void (CKfgDlg::*handler)();
};

// In the order the platform searched it; a pair appears once.
constexpr std::array<DispatchRow, 46> kDispatch{{
    {Notification::ComboSelChange, res::kIdIndexFileList, &CKfgDlg::OnIndexFileSelected},
    {Notification::Clicked, res::kIdSaveConfiguration, &CKfgDlg::OnSaveConfiguration},
    {Notification::Clicked, res::kIdStart, &CKfgDlg::OnStart},
    {Notification::Clicked, res::kIdShowConfiguration, &CKfgDlg::OnShowConfiguration},
    {Notification::Clicked, res::kIdReload, &CKfgDlg::OnReload},
    {Notification::EditChange, res::kIdMemorySlot0, &CKfgDlg::OnTakeControls},
    {Notification::Clicked, res::kIdDefaults, &CKfgDlg::OnDefaults},
    {Notification::Clicked, res::kIdAspect4To3, &CKfgDlg::OnAspect4To3},
    {Notification::Clicked, res::kIdAspect16To9, &CKfgDlg::OnAspect16To9},
    {Notification::Clicked, res::kIdAspect20To9, &CKfgDlg::OnAspect20To9},
    {Notification::Clicked, res::kIdSoundInit, &CKfgDlg::OnSoundOptionClicked},
    {Notification::Clicked, res::kIdPictureDefaults, &CKfgDlg::OnPictureDefaults},
    {Notification::Clicked, res::kIdLanguageToggle, &CKfgDlg::ToggleLanguage},
    {Notification::Clicked, res::kIdReapplyLayout, &CKfgDlg::ApplyEditionLayout},
    {Notification::Clicked, res::kIdBlackLines, &CKfgDlg::OnBlackLines},
    {Notification::Clicked, res::kIdPalPlus, &CKfgDlg::OnPalPlus},
    {Notification::ComboEditChange, res::kIdConfigurationField,
     &CKfgDlg::OnConfigurationTextChanged},
    {Notification::ComboSelChange, res::kIdConfigurationField,
     &CKfgDlg::OnConfigurationTextChanged},
    {Notification::ComboDoubleClick, res::kIdConfigurationField, &CKfgDlg::OnShowConfiguration},
    {Notification::Clicked, res::kIdDeleteConfiguration, &CKfgDlg::OnDeleteConfiguration},
    {Notification::Clicked, res::kIdHelp, &CKfgDlg::OnHelp},
    {Notification::EditChange, res::kIdMemorySlot1, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot2, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot3, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot4, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot5, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot6, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot7, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot8, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot9, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot10, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot11, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot12, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot13, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot14, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot15, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot16, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot17, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot18, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, res::kIdMemorySlot19, &CKfgDlg::OnTakeControls},
    {Notification::ComboCloseUp, res::kIdDisplayMode3x, &CKfgDlg::OnTakeControls},
    {Notification::ComboCloseUp, res::kIdCardList3x, &CKfgDlg::OnTakeControls},
    {Notification::ComboCloseUp, res::kIdTunerList, &CKfgDlg::OnTakeControls},
    {Notification::Clicked, res::kIdSoundLineIn, &CKfgDlg::OnSoundOptionClicked},
    {Notification::Clicked, res::kIdSoundReturn, &CKfgDlg::OnSoundOptionClicked},
    {Notification::Clicked, res::kIdAudioDecoder, &CKfgDlg::OnAudioDecoder},
}}; // Button 1 reaches OnOK, the close box OnClose and Escape OnCancel through the dialog layer.

} // namespace

void CKfgDlg::MapCommands() {
    for (const DispatchRow& row : kDispatch) {
        Map(row.notification, row.id, [this, handler = row.handler] { (this->*handler)(); });
    }
}

void CKfgDlg::OnDefaults() {
    SetItemInt(res::kIdTestLines, 16);
    SetItemInt(res::kIdBorderHeight, 0);
    for (const int box : {res::kIdPllInit, res::kIdHighPriority, res::kIdStatus, res::kIdSecam,
                          res::kIdLogFile, res::kIdPalPlus, res::kIdBlackLines,
                          res::kIdBlankingInterval, res::kIdBt8xxOptimisation}) {
        SetCheck(box, 0);
    }
    SetItemInt(res::kIdFirstLine, 2); // not the 1 a missing key loads
    SetItemInt(res::kIdLastLine, 285);
    OnPictureDefaults();
}

void CKfgDlg::OnPictureDefaults() {
    SetItemInt(res::kIdColour, 254);
    SetItemInt(res::kIdBrightness, 128);
    SetItemInt(res::kIdContrast, 216);
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
    LoadSettings("Telvio");
}

void CKfgDlg::OnHelp() {}

void CKfgDlg::OnStart() {
    const auto failures = store_.CollectFailures();
    if (!SaveSettings("Telvio")) {
        return; // the failed check keeps the dialog open: nothing written, nothing started
    }
    if (record_.SoundOptionsChanged == 1) {
        WriteSoundOptions();
    }
    // Told before anything starts: Telvio will run with what the disk still holds.
    ShowSaveFailures(this, failures.FirstPerFile(), state_.LanguageFlag != 1);
    // Unmute line-in when asked to and it is muted; otherwise the mixer is not touched.
    LineInMute.ProcessPendingEvents(); // the box shows the mixer's state of this moment
    if (CheckState(res::kIdSoundLineIn) == 1 && CheckState(res::kIdLineInMute) == 1) {
        LineInMute.OnClicked();
    }
    if (CheckState(res::kIdSoundInit) == 1) {
        // Waits for the program, at most 5 seconds; a failure is only logged.
        starter_.RunSoundInitialisation(workingDirectory_);
    }
    // Every settings file is on disk by now; Telvio takes over this process.
    const char* viewer =
        state_.Edition == settings::Edition::V283Quik ? "2QUIK!.exe" : "Telvio.exe";
    const std::error_code failed = starter_.HandOver(workingDirectory_, viewer, {"Quick"});
    // Still here: Telvio could not be started. Say why before KFG ends (the base OK, so the
    // sound options are not written a second time).
    if (failed) {
        ShowStartFailure(this, workingDirectory_, viewer, failed, state_.LanguageFlag != 1);
    }
    framework::Dialog::OnOK();
}

void CKfgDlg::OnAudioDecoder() {
    audioDecoderDlg_.DoModal();
}

void CKfgDlg::WriteSoundOptions() {
    auto gathered = store_.Gather(); // both keys in one replacement, on disk before returning
    for (const auto& [key, id] : {std::pair{settings::KfgKey::SoundInit, res::kIdSoundInit},
                                  std::pair{settings::KfgKey::LineIn, res::kIdSoundLineIn}}) {
        store_.WriteString(ManagerFile(), settings::kManagerSection, settings::Info(key).name,
                           std::to_string(CheckState(id)));
    }
}

void CKfgDlg::OnOK() {
    if (record_.SoundOptionsChanged == 1) {
        const auto failures = store_.CollectFailures();
        WriteSoundOptions();
        ShowSaveFailures(this, failures.FirstPerFile(), state_.LanguageFlag != 1);
    }
    framework::Dialog::OnOK();
}

void CKfgDlg::OnClose() {
    framework::Dialog::OnOK();
}

// Enter in the configuration field saves the configuration named there; elsewhere it does
// nothing, so that typing a number and pressing Enter neither ends KFG nor saves by surprise.
void CKfgDlg::OnEnter() {
    QWidget* field = Item(res::kIdConfigurationField);
    QWidget* focused = Window() != nullptr ? Window()->focusWidget() : nullptr;
    if (field != nullptr && focused != nullptr && field->isAncestorOf(focused)) {
        OnSaveConfiguration();
    }
}

} // namespace kfg::dialogs
