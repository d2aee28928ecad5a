#include "texts/failure_reasons.h"

#include "platform/failure_cause.h"

#include <array>
#include <sys/wait.h>

namespace kfg::texts {
namespace {

using platform::FailureCause;

struct ReasonRow {
    FailureCause cause;
    Texts text;
};

constexpr std::array<ReasonRow, 6> kReasons{{
    {FailureCause::FileMissing,
     {"the file does not exist", "Datei nicht vorhanden", "el fichero no existe"}},
    {FailureCause::FileNotReadable,
     {"the file cannot be read", "Datei nicht lesbar", "el fichero no se puede leer"}},
    {FailureCause::WineMissing,
     {"wine is not installed", "wine ist nicht installiert", "wine no está instalado"}},
    {FailureCause::NotExecutable,
     {"the file is not executable", "Datei nicht ausführbar", "el fichero no es ejecutable"}},
    {FailureCause::DiskFull, {"the disk is full", "Datenträger voll", "disco lleno"}},
    {FailureCause::NoWritePermission,
     {"no permission to write", "keine Schreibrechte", "sin permiso de escritura"}},
}};

constexpr Texts kStartFailure{"%1 could not be started: %2", "%1 konnte nicht gestartet werden: %2",
                              "No se pudo iniciar %1: %2"};
constexpr Texts kEndedWithStatus{"%1 ended with status %2", "%1 wurde mit Status %2 beendet",
                                 "%1 terminó con el estado %2"};
constexpr Texts kEndedBySignal{"%1 was ended by signal %2", "%1 wurde durch Signal %2 beendet",
                               "%1 fue terminado por la señal %2"};
constexpr Texts kStillRunning{
    "%1 was still running after %2 seconds; Telvio is started all the same",
    "%1 lief nach %2 Sekunden noch; Telvio wird trotzdem gestartet",
    "%1 seguía en marcha después de %2 segundos; Telvio se inicia de todos modos"};
constexpr Texts kSaveFailure{"%1 could not be saved: %2", "%1 konnte nicht gespeichert werden: %2",
                             "No se pudo guardar %1: %2"};

} // namespace

std::string FailureReason(const std::error_code& error, TextLanguage language) {
    if (error.category() == platform::FailureCauseCategory()) {
        for (const ReasonRow& row : kReasons) {
            if (static_cast<int>(row.cause) == error.value()) {
                return row.text.In(language);
            }
        }
    }
    return error.message();
}

std::string StartFailureMessage(std::string_view program, const std::error_code& error,
                                TextLanguage language) {
    return FillIn(kStartFailure.In(language), {program, FailureReason(error, language)});
}

std::string SoundInitialisationMessage(std::string_view program, std::chrono::seconds limit,
                                       const std::error_code& error, TextLanguage language) {
    // The program ran: how it ended is no reason it could not be started.
    if (error.category() == platform::ExitStatusCategory()) {
        const int status = error.value();
        if (WIFSIGNALED(status)) {
            return FillIn(kEndedBySignal.In(language), {program, std::to_string(WTERMSIG(status))});
        }
        return FillIn(kEndedWithStatus.In(language),
                      {program, std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : status)});
    }
    if (error == std::errc::timed_out) {
        return FillIn(kStillRunning.In(language), {program, std::to_string(limit.count())});
    }
    return StartFailureMessage(program, error, language);
}

std::string SaveFailureMessage(std::string_view file, const std::error_code& error,
                               TextLanguage language) {
    return FillIn(kSaveFailure.In(language),
                  {file, FailureReason(platform::SortWriteFailure(error), language)});
}

} // namespace kfg::texts
