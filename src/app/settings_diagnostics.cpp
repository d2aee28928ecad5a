#include "app/settings_diagnostics.h"

#include <QString>

namespace kfg::app {

// Off unless asked for: a failed write is silent to the user by design.
Q_LOGGING_CATEGORY(kfgSettings, "kfg.settings", QtCriticalMsg)

settings::ProfileFailureSink SettingsDiagnosticsSink() {
    return [](const settings::ProfileFailure& failure) {
        if (failure.notice) { // nothing failed: which of several files was taken, say
            qCInfo(kfgSettings).noquote() << QString::fromStdString(failure.operation) << "in"
                                          << QString::fromStdString(failure.file.string());
            return;
        }
        qCWarning(kfgSettings).noquote()
            << QString::fromStdString(failure.operation) << "in"
            << QString::fromStdString(failure.file.string())
            << "failed:" << QString::fromStdString(failure.error.message());
    };
}

} // namespace kfg::app
