#include "app/history_run.h"

#include "app/settings_diagnostics.h"
#include "dialogs/chooser/history_window.h"
#include "framework/modal_hook.h"
#include "framework/qt_translations.h"
#include "platform/save_history.h"
#include "settings/profile_store.h"

#include <cstdlib>

namespace kfg::app {

void ShowEarlierStatesOf(const std::filesystem::path& folder, texts::TextLanguage language,
                         QWidget* parent, const platform::StateFolder& stateFolder) {
    settings::ProfileStore store(SettingsDiagnosticsSink(), {},
                                 std::make_shared<platform::SaveHistory>(stateFolder));
    framework::QtTranslations translations;
    translations.Use(language);
    const char* home = std::getenv("HOME");
    dialogs::HistoryWindow window(store, folder, dialogs::ShownPaths(home != nullptr ? home : ""),
                                  language, dialogs::FolderCaptionLanguage(store, folder), parent);
    framework::RunModal(window);
}

} // namespace kfg::app
