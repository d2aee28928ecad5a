#pragma once

#include "platform/program_starter.h"

#include <QLoggingCategory>

namespace kfg::app {

Q_DECLARE_LOGGING_CATEGORY(kfgLaunch)

// Failed starts, sound initialisations and hand-overs go to the "kfg.launch" category (program,
// command line, reason), which QT_LOGGING_RULES="kfg.launch=true" turns on.
platform::LaunchFailureSink LaunchDiagnosticsSink();

} // namespace kfg::app
