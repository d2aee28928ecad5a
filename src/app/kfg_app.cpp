#include "app/kfg_app.h"

#include "app/launch_diagnostics.h"
#include "app/settings_diagnostics.h"
#include "dialogs/main/kfg_dlg.h"
#include "mixer/system_mixer.h"

#include <cstdlib>

namespace kfg::app {
namespace {

// The platform's search path, where wine is looked for (never KFG's own programs).
std::string SearchPath() {
    const char* path = std::getenv("PATH");
    return path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
}

} // namespace

CKfgApp::CKfgApp(std::filesystem::path workingDirectory)
    : workingDirectory_(std::move(workingDirectory))
    , store_(SettingsDiagnosticsSink())
    , starter_(SearchPath(), LaunchDiagnosticsSink()) {}

void CKfgApp::InitInstance() {
    dialogs::CKfgDlg dialog(state_, store_, starter_, mixer::MakeSystemMixer(), workingDirectory_);
    dialog.DoModal(); // the end code does not matter: the process ends either way
    // A failed write has been reported to kfg.settings on its way; nothing is left to tell.
    (void)store_.Flush();
}

} // namespace kfg::app
