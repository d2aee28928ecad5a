#pragma once

#include "dialogs/main/kfg_dlg.h"
#include "mixer/simulated_mixer.h"
#include "settings/process_state.h"
#include "settings/profile_store.h"
#include "support/modal_script.h"
#include "support/recording_starter.h"

#include <filesystem>
#include <functional>

namespace kfg::test {

// Runs the main dialog over `folder`; `whileUp` acts on the main dialog while it is modal (side
// dialogs that come up are cancelled unless `onSideDialog` handles them) and the dialog is
// cancelled afterwards unless the action ended it.
struct KfgRun {
    settings::ProcessState state;
    settings::ProfileStore store;
    RecordingStarter starter;
    // No sound card unless a test adds one before the run.
    std::shared_ptr<mixer::SimulatedMixer> mixer = std::make_shared<mixer::SimulatedMixer>();
    ModalScript script;
    int result = 0;

    explicit KfgRun(const std::filesystem::path& folder,
                    std::function<void(dialogs::CKfgDlg&)> whileUp = {},
                    std::function<void(framework::Dialog&)> onSideDialog = {})
        : script([whileUp, onSideDialog](framework::Dialog& dialog) {
            if (auto* main = dynamic_cast<dialogs::CKfgDlg*>(&dialog)) {
                if (whileUp) {
                    whileUp(*main);
                }
            } else if (onSideDialog) {
                onSideDialog(dialog);
            }
        }) {
        dialogs::CKfgDlg dialog(state, store, starter, mixer, folder);
        result = dialog.DoModal();
    }
};

} // namespace kfg::test
