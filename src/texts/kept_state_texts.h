#pragma once

#include "texts/text_language.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace kfg::texts {

// Why no earlier state can be kept, as the end of a sentence: no state folder, a link,
// another user's folder, one others may write into, or the system's reason a write fails
// there. `folder` is the folder at fault.
std::string KeepProblemReason(const std::error_code& error, const std::filesystem::path& folder,
                              texts::TextLanguage language);

// "no earlier state can be kept: <reason>", for a listing of the states.
std::string NothingKeptMessage(const std::error_code& error, const std::filesystem::path& folder,
                               texts::TextLanguage language);

} // namespace kfg::texts
