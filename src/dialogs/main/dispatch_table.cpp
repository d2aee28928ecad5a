// The main dialog's message map: which handler a control's notification runs.
#include "dialogs/main/kfg_dlg.h"
#include "platform/no_repeats.h"
#include "res/template_102.h"
#include "res/template_102_controls.h"

#include <array>

namespace kfg::dialogs {
namespace {

using framework::ControlKind;
using framework::Notification;
using namespace res;

struct DispatchRow {
    Notification notification;
    int id;
    void (CKfgDlg::*handler)();
};

// In the order the platform searched it.
constexpr auto kDispatch = std::to_array<DispatchRow>({
    {Notification::ComboSelChange, kIdIndexFileList, &CKfgDlg::OnIndexFileSelected},
    {Notification::Clicked, kIdSaveConfiguration, &CKfgDlg::OnSaveConfiguration},
    {Notification::Clicked, kIdStart, &CKfgDlg::OnStart},
    {Notification::Clicked, kIdShowConfiguration, &CKfgDlg::OnShowConfiguration},
    {Notification::Clicked, kIdReload, &CKfgDlg::OnReload},
    {Notification::EditChange, kIdMemorySlot0, &CKfgDlg::OnTakeControls},
    {Notification::Clicked, kIdDefaults, &CKfgDlg::OnDefaults},
    {Notification::Clicked, kIdAspect4To3, &CKfgDlg::OnAspect4To3},
    {Notification::Clicked, kIdAspect16To9, &CKfgDlg::OnAspect16To9},
    {Notification::Clicked, kIdAspect20To9, &CKfgDlg::OnAspect20To9},
    {Notification::Clicked, kIdSoundInit, &CKfgDlg::OnSoundOptionClicked},
    {Notification::Clicked, kIdPictureDefaults, &CKfgDlg::OnPictureDefaults},
    {Notification::Clicked, kIdLanguageToggle, &CKfgDlg::ToggleLanguage},
    {Notification::Clicked, kIdReapplyLayout, &CKfgDlg::ApplyEditionLayout},
    {Notification::Clicked, kIdBlackLines, &CKfgDlg::OnBlackLines},
    {Notification::Clicked, kIdPalPlus, &CKfgDlg::OnPalPlus},
    {Notification::ComboEditChange, kIdConfigurationField, &CKfgDlg::OnConfigurationTextChanged},
    {Notification::ComboSelChange, kIdConfigurationField, &CKfgDlg::OnConfigurationTextChanged},
    {Notification::ComboDoubleClick, kIdConfigurationField, &CKfgDlg::OnShowConfiguration},
    {Notification::Clicked, kIdDeleteConfiguration, &CKfgDlg::OnDeleteConfiguration},
    {Notification::Clicked, kIdHelp, &CKfgDlg::OnHelp},
    {Notification::EditChange, kIdMemorySlot1, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot2, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot3, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot4, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot5, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot6, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot7, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot8, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot9, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot10, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot11, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot12, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot13, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot14, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot15, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot16, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot17, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot18, &CKfgDlg::OnTakeControls},
    {Notification::EditChange, kIdMemorySlot19, &CKfgDlg::OnTakeControls},
    {Notification::ComboCloseUp, kIdDisplayMode3x, &CKfgDlg::OnTakeControls},
    {Notification::ComboCloseUp, kIdCardList3x, &CKfgDlg::OnTakeControls},
    {Notification::ComboCloseUp, kIdTunerList, &CKfgDlg::OnTakeControls},
    {Notification::Clicked, kIdSoundLineIn, &CKfgDlg::OnSoundOptionClicked},
    {Notification::Clicked, kIdSoundReturn, &CKfgDlg::OnSoundOptionClicked},
    {Notification::Clicked, kIdAudioDecoder, &CKfgDlg::OnAudioDecoder},
}); // Button 1 reaches OnOK, the close box OnClose and Escape OnCancel through the dialog layer.

// Whether a control of the template's kind and style raises `notification`.
constexpr bool Raises(const framework::ControlTemplate& control, Notification notification) {
    switch (notification) {
    case Notification::Clicked:
        return control.kind == ControlKind::PushButton || control.kind == ControlKind::CheckBox ||
               control.kind == ControlKind::RadioButton;
    case Notification::EditChange:
        return control.kind == ControlKind::Edit;
    case Notification::ComboDoubleClick:
        return control.kind == ControlKind::ComboBox &&
               (control.styles & framework::kSimpleCombo) != 0;
    case Notification::ComboSelChange:
    case Notification::ComboEditChange:
    case Notification::ComboCloseUp:
        return control.kind == ControlKind::ComboBox;
    }
    return false;
}

constexpr bool DispatchHolds() {
    for (const DispatchRow& row : kDispatch) {
        const framework::ControlTemplate* control = FindMainControl(row.id);
        // The line-in switch handles its own clicks; mapping them too would flip it twice.
        if (control == nullptr || !Raises(*control, row.notification) || row.handler == nullptr ||
            row.id == kIdLineInMute) {
            return false;
        }
    }
    return platform::NoRepeats(kDispatch, [](const DispatchRow& a, const DispatchRow& b) {
        return a.notification == b.notification && a.id == b.id;
    });
}
static_assert(DispatchHolds(), "a dispatch row names a missing control, a notification it does "
                               "not raise, no handler, or a pair a second time");

} // namespace

void CKfgDlg::MapCommands() {
    for (const DispatchRow& row : kDispatch) {
        Map(row.notification, row.id, [this, handler = row.handler] { (this->*handler)(); });
    }
}

} // namespace kfg::dialogs
