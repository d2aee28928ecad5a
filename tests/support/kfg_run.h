#pragma once

#include "dialogs/main/kfg_dlg.h"
#include "settings/process_state.h"
#include "settings/profile_store.h"
#include "support/modal_script.h"

#include <filesystem>
#include <functional>

namespace kfg::test {

// Runs the main dialog over `folder`; `whileUp` acts on it while it is modal and the dialog is
// cancelled afterwards unless the action ended it.
struct KfgRun {
    settings::ProcessState state;
    settings::ProfileStore store;
    ModalScript script;
    int result = 0;

    explicit KfgRun(const std::filesystem::path& folder,
                    std::function<void(dialogs::CKfgDlg&)> whileUp = {})
        : script([whileUp](framework::Dialog& dialog) {
            if (whileUp) {
                whileUp(static_cast<dialogs::CKfgDlg&>(dialog));
            }
        }) {
        dialogs::CKfgDlg dialog(state, store, folder);
        result = dialog.DoModal();
    }
};

} // namespace kfg::test
