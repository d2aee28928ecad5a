#include "app/kfg_app.h"

#include "app/settings_diagnostics.h"
#include "dialogs/main/kfg_dlg.h"

namespace kfg::app {

CKfgApp::CKfgApp(std::filesystem::path workingDirectory)
    : workingDirectory_(std::move(workingDirectory))
    , store_(SettingsDiagnosticsSink()) {}

void CKfgApp::InitInstance() {
    dialogs::CKfgDlg dialog(state_, store_, workingDirectory_);
    dialog.DoModal(); // the end code does not matter: the process ends either way
    store_.Flush();
}

} // namespace kfg::app
