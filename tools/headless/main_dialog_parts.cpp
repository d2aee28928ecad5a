#include "headless/main_dialog_parts.h"

#include "framework/modal_hook.h"
#include "mixer/system_mixer.h"

namespace kfg::headless {

MainDialogParts::MainDialogParts(std::shared_ptr<mixer::MixerApi> card,
                                 std::shared_ptr<platform::FileSystem> files,
                                 std::shared_ptr<platform::SaveHistory> history)
    : store({}, std::move(files), std::move(history))
    , mixer(card ? std::move(card) : mixer::MakeNoMixer()) {}

int MainDialogParts::Run(const std::filesystem::path& folder, platform::ProgramStarter& starter) {
    dialogs::CKfgDlg dialog(state, store, starter, mixer, folder);
    return dialog.DoModal();
}

int MainDialogParts::Run(const std::filesystem::path& folder) {
    return Run(folder, noPrograms_);
}

dialogs::CKfgDlg* MainDialogOf(const framework::ModalView& view) {
    return dynamic_cast<dialogs::CKfgDlg*>(view.AsDialog());
}

} // namespace kfg::headless
