#pragma once

#include "texts/text_language.h"

#include <chrono>
#include <string>
#include <string_view>
#include <system_error>

namespace kfg::texts {

// The reason a failure is given to the user in `language`: the words of the reason table for
// the causes FailureCause tells apart, the system's own words for anything else.
std::string FailureReason(const std::error_code& error, TextLanguage language);

// "<program> konnte nicht gestartet werden: <reason>" / "No se pudo iniciar <program>:
// <reason>" / "<program> could not be started: <reason>".
std::string StartFailureMessage(std::string_view program, const std::error_code& error,
                                TextLanguage language);

// How the sound initialisation `program` went wrong, a whole sentence in `language`: it could
// not be started (with the reason, as StartFailureMessage), it ended with status N, it was
// ended by signal N, or it was still running when the wait of `limit` ended (Telvio starts
// all the same). `error` is what the program's run returned; not for a success.
std::string SoundInitialisationMessage(std::string_view program, std::chrono::seconds limit,
                                       const std::error_code& error, TextLanguage language);

// "<file> konnte nicht gespeichert werden: <reason>" / "No se pudo guardar <file>: <reason>" /
// "<file> could not be saved: <reason>", the write's error sorted by SortWriteFailure().
std::string SaveFailureMessage(std::string_view file, const std::error_code& error,
                               TextLanguage language);

} // namespace kfg::texts
