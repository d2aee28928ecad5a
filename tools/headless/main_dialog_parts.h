#pragma once

#include "dialogs/main/kfg_dlg.h"
#include "platform/program_starter.h"
#include "settings/profile_store.h"
#include "telvio/process_state.h"

#include <filesystem>
#include <memory>

namespace kfg::framework {
class ModalView;
}

namespace kfg::headless {

// What the main dialog is built from: a fresh state and store (keeping earlier states only in
// the history given), no sound card unless one is given, no program started unless a starter
// is given. The modal hook the caller installs acts for the user.
class MainDialogParts {
public:
    telvio::ProcessState state;
    settings::ProfileStore store;
    std::shared_ptr<mixer::MixerApi> mixer;

    explicit MainDialogParts(std::shared_ptr<mixer::MixerApi> card = {},
                             std::shared_ptr<platform::FileSystem> files = {},
                             std::shared_ptr<platform::SaveHistory> history = {});

    // Runs the main dialog modally over `folder`; returns its end code.
    int Run(const std::filesystem::path& folder, platform::ProgramStarter& starter);
    int Run(const std::filesystem::path& folder);

private:
    platform::NoProgramStarter noPrograms_;
};

// The main dialog a modal view shows; null for a side dialog or a message box.
dialogs::CKfgDlg* MainDialogOf(const framework::ModalView& view);

} // namespace kfg::headless
