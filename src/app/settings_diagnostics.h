#pragma once

#include "settings/profile_store.h"

#include <QLoggingCategory>

namespace kfg::app {

Q_DECLARE_LOGGING_CATEGORY(kfgSettings)

// Every failed settings write, with the system's own reason, goes to the "kfg.settings"
// category, which QT_LOGGING_RULES="kfg.settings=true" turns on; so do the notices (which of
// several spellings of a file was taken, a clean-up another process's lock kept off). The
// user hears of failed writes he asked for from the dialogs.
settings::ProfileFailureSink SettingsDiagnosticsSink();

} // namespace kfg::app
