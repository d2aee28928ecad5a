#include "app/kfg_app.h"

#include "app/folder_places.h"
#include "app/launch_diagnostics.h"
#include "app/settings_diagnostics.h"
#include "dialogs/main/kfg_dlg.h"
#include "mixer/system_mixer.h"
#include "platform/program_command.h"
#include "platform/save_history.h"

#include <cstdlib>
#include <utility>

namespace kfg::app {

CKfgApp::CKfgApp(std::filesystem::path workingDirectory, const platform::StateFolder& stateFolder)
    : workingDirectory_(std::move(workingDirectory))
    , stateFolder_(stateFolder)
    , store_(SettingsDiagnosticsSink(), {}, std::make_shared<platform::SaveHistory>(stateFolder))
    , starter_(platform::SearchPathOfProcess(), LaunchDiagnosticsSink()) {}

void CKfgApp::InitInstance() {
    dialogs::CKfgDlg dialog(state_, store_, starter_, mixer::MakeSystemMixer(), workingDirectory_);
    const char* home = std::getenv("HOME");
    dialog.SetShownPaths(dialogs::ShownPaths(home != nullptr ? home : ""));
    // Nothing the user sees, so after the first paint; still before any click can hand over to
    // Telvio, which replaces this process: the work is queued ahead of the input that follows.
    // A window closed before it ran records on its way out.
    bool recorded = false;
    const auto record = [this, &recorded] {
        if (!std::exchange(recorded, true)) {
            RecordFolderRun(stateFolder_, workingDirectory_);
        }
    };
    dialog.AfterFirstPaint(record);
    dialog.DoModal(); // the end code does not matter: the process ends either way
    record();
    // A failed write has been reported to kfg.settings on its way; nothing is left to tell.
    (void)store_.Flush();
}

} // namespace kfg::app
