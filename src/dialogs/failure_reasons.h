#pragma once

#include "texts/text_language.h"

#include <QString>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace kfg::framework {
class Dialog;
}
namespace kfg::settings {
struct ProfileFailure;
}

namespace kfg::dialogs {

// Tells the user that program `name` of `workingDirectory` did not start and why:
// In the captions' `language`: "<name> konnte nicht gestartet werden: <reason>" / "No se pudo
// iniciar <name>: <reason>", the name as spelled in the folder.
void ShowStartFailure(framework::Dialog* owner, const std::filesystem::path& workingDirectory,
                      const std::string& name, const std::error_code& error,
                      texts::TextLanguage language);

// Tells the user which files a command could not save and why, in one message with one line
// per file: "<file> konnte nicht gespeichert werden: <reason>" / "No se pudo guardar <file>:
// <reason>", each file named as it is spelled on disk. Nothing when `failures` is empty.
// Meant for ProfileStore::FailureCollector::FirstPerFile().
void ShowSaveFailures(framework::Dialog* owner,
                      const std::vector<settings::ProfileFailure>& failures,
                      texts::TextLanguage language);

} // namespace kfg::dialogs
