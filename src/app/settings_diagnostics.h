#pragma once

#include "settings/profile_store.h"

#include <QLoggingCategory>

namespace kfg::app {

Q_DECLARE_LOGGING_CATEGORY(kfgSettings)

// Failed settings writes never reach the user; they go to the "kfg.settings" category, which
// QT_LOGGING_RULES="kfg.settings=true" turns on.
settings::ProfileFailureSink SettingsDiagnosticsSink();

} // namespace kfg::app
