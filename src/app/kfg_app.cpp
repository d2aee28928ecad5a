#include "app/kfg_app.h"

#include "app/launch_diagnostics.h"
#include "app/settings_diagnostics.h"
#include "dialogs/main/kfg_dlg.h"
#include "mixer/system_mixer.h"
#include "platform/program_command.h"
#include "platform/save_history.h"

#include <cstdlib>

namespace kfg::app {

CKfgApp::CKfgApp(std::filesystem::path workingDirectory, const platform::StateFolder& stateFolder)
    : workingDirectory_(std::move(workingDirectory))
    , store_(SettingsDiagnosticsSink(), {}, std::make_shared<platform::SaveHistory>(stateFolder))
    , starter_(platform::SearchPathOfProcess(), LaunchDiagnosticsSink()) {}

void CKfgApp::InitInstance() {
    dialogs::CKfgDlg dialog(state_, store_, starter_, mixer::MakeSystemMixer(), workingDirectory_);
    const char* home = std::getenv("HOME");
    dialog.SetShownPaths(dialogs::ShownPaths(home != nullptr ? home : ""));
    dialog.DoModal(); // the end code does not matter: the process ends either way
    // A failed write has been reported to kfg.settings on its way; nothing is left to tell.
    (void)store_.Flush();
}

} // namespace kfg::app
