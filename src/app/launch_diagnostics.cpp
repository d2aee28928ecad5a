#include "app/launch_diagnostics.h"

#include "texts/failure_reasons.h"

#include <QString>
#include <QStringList>

namespace kfg::app {

// Off unless asked for, like the other diagnostics; the user hears of a failed hand-over or
// decoder start from the dialogs.
Q_LOGGING_CATEGORY(kfgLaunch, "kfg.launch", QtCriticalMsg)

platform::LaunchFailureSink LaunchDiagnosticsSink() {
    return [](const platform::LaunchFailure& failure) {
        QStringList commandLine;
        for (const std::string& argument : failure.commandLine) {
            commandLine << QString::fromStdString(argument);
        }
        if (failure.notice) { // nothing failed: which of several spellings was taken
            qCInfo(kfgLaunch).noquote()
                << "look up of" << QString::fromStdString(failure.program)
                << "found several files (" + commandLine.join(QStringLiteral(", ")) + "), using"
                << commandLine.front();
            return;
        }
        const QString what = QString::fromUtf8(failure.step) + QStringLiteral(" of ") +
                             QString::fromStdString(failure.program) + QStringLiteral(" (") +
                             commandLine.join(QLatin1Char(' ')) + QLatin1Char(')');
        // A program that ran and failed, or outlasted its wait, is no failed start: said so.
        if (failure.waited.count() > 0) {
            qCWarning(kfgLaunch).noquote()
                << what + ':'
                << QString::fromStdString(texts::SoundInitialisationMessage(
                       failure.program, failure.waited, failure.error,
                       texts::TextLanguage::English));
            return;
        }
        qCWarning(kfgLaunch).noquote()
            << what << "failed:" << QString::fromStdString(failure.error.message());
    };
}

} // namespace kfg::app
