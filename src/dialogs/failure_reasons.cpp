#include "dialogs/failure_reasons.h"

#include "framework/message_box.h"
#include "platform/failure_cause.h"
#include "platform/program_command.h"
#include "settings/profile_store.h"

#include <QStringList>
#include <array>

namespace kfg::dialogs {
namespace {

using platform::FailureCause;

struct ReasonRow {
    FailureCause cause;
    const char* german;
    const char* spanish;
};

constexpr std::array<ReasonRow, 6> kReasons{{
    {FailureCause::FileMissing, "Datei nicht vorhanden", "el fichero no existe"},
    {FailureCause::FileNotReadable, "Datei nicht lesbar", "el fichero no se puede leer"},
    {FailureCause::WineMissing, "wine ist nicht installiert", "wine no está instalado"},
    {FailureCause::NotExecutable, "Datei nicht ausführbar", "el fichero no es ejecutable"},
    {FailureCause::DiskFull, "Datenträger voll", "disco lleno"},
    {FailureCause::NoWritePermission, "keine Schreibrechte", "sin permiso de escritura"},
}};

QString ErrorCaption(bool spanish) {
    return spanish ? QStringLiteral("Error") : QStringLiteral("Fehler");
}

} // namespace

QString FailureReason(const std::error_code& error, bool spanish) {
    if (error.category() == platform::FailureCauseCategory()) {
        for (const ReasonRow& row : kReasons) {
            if (static_cast<int>(row.cause) == error.value()) {
                return QString::fromUtf8(spanish ? row.spanish : row.german);
            }
        }
    }
    return QString::fromLocal8Bit(error.message());
}

void ShowStartFailure(framework::Dialog* owner, const std::filesystem::path& workingDirectory,
                      const std::string& name, const std::error_code& error, bool spanish) {
    const QString program =
        QString::fromStdString(platform::FindProgramFile(workingDirectory, name).name);
    const QString reason = FailureReason(error, spanish);
    const QString text =
        spanish ? QStringLiteral("No se pudo iniciar %1: %2").arg(program, reason)
                : QStringLiteral("%1 konnte nicht gestartet werden: %2").arg(program, reason);
    framework::MessageBox(owner, text, ErrorCaption(spanish), framework::MessageIcon::Warning);
}

void ShowSaveFailures(framework::Dialog* owner,
                      const std::vector<settings::ProfileFailure>& failures, bool spanish) {
    if (failures.empty()) {
        return;
    }
    QStringList lines;
    for (const settings::ProfileFailure& failure : failures) {
        const QString file = QString::fromStdString(failure.file.filename().string());
        const QString reason = FailureReason(platform::SortWriteFailure(failure.error), spanish);
        lines << (spanish
                      ? QStringLiteral("No se pudo guardar %1: %2").arg(file, reason)
                      : QStringLiteral("%1 konnte nicht gespeichert werden: %2").arg(file, reason));
    }
    framework::MessageBox(owner, lines.join(QLatin1Char('\n')), ErrorCaption(spanish),
                          framework::MessageIcon::Warning);
}

} // namespace kfg::dialogs
