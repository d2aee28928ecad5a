#pragma once

#include "texts/text_language.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kfg::cli {

// Why a folder named on the command line is not worked in.
enum class FolderRefusal {
    None,
    Missing,    // not there (an empty name names nothing)
    NotAFolder, // something else is there
    NotEntered, // this process may not enter it, or a folder on the way to it
};

// The check kfg, kfgctl and kfg-shortcut make of the folder they are given, relative paths
// taken from the working folder: it is there, it is a folder (a link to one counts), and this
// process may enter it. Listing it is not asked for: a folder that may be entered but not
// listed (mode 0300) is taken, as the shell's cd takes it.
[[nodiscard]] FolderRefusal CheckFolderArgument(const std::filesystem::path& folder);

// The sentence for `refusal` in `language`, the folder shown as `shown` (as the user named it
// or as the program joined it); empty for None. The programs put their own "name: " before it.
std::string FolderRefusalText(FolderRefusal refusal, std::string_view shown,
                              texts::TextLanguage language);

} // namespace kfg::cli
