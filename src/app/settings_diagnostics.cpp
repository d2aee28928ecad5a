#include "app/settings_diagnostics.h"

#include <QString>

namespace kfg::app {

// Off unless asked for, like the other diagnostics: the dialogs tell the user of the writes he
// asked for that failed, in plain words; this names the system's own reason.
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
