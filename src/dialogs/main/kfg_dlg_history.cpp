// The way back to earlier states from the main window: its own menu, and the files loaded
// again after a restore.
#include "dialogs/chooser/history_texts.h"
#include "dialogs/chooser/history_window.h"
#include "dialogs/main/kfg_dlg.h"
#include "framework/modal_hook.h"
#include "res/template_102.h"
#include "telvio/kfg_keys.h"

namespace kfg::dialogs {

void CKfgDlg::SetMenuEntries() {
    SetContextEntries({{HistoryTextIn(HistoryText::EarlierStatesEntry, CaptionLanguage()),
                        [this] { OnEarlierStates(); }}});
    qtTranslations_.Use(CaptionLanguage());
}

void CKfgDlg::OnEarlierStates() {
    HistoryWindow window(store_, workingDirectory_, shownPaths_, CaptionLanguage(),
                         CaptionLanguage(), Window());
    window.SetRestored([this](std::string_view file) { LoadRestored(file); });
    framework::RunModal(window);
}

void CKfgDlg::LoadRestored(std::string_view file) {
    if (file == telvio::kManagerFile) {
        // Its list follows; the language, the display modes offered and the sound options were
        // read once at start-up and stay (the window of earlier states says so).
        const QString typed = ItemText(res::kIdConfigurationField);
        ComboReset(res::kIdConfigurationField);
        (void)ScanConfigurationSections(); // a missing file is an empty list
        SetItemText(res::kIdConfigurationField, typed);
    }
    OnReload();
}

} // namespace kfg::dialogs
