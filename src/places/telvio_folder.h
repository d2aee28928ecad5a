#pragma once

#include "settings/edition.h"

#include <filesystem>
#include <optional>

namespace kfg::places {

// A folder and the edition that wrote its "Telvio.ini".
struct FolderEdition {
    std::filesystem::path folder;
    settings::Edition edition;
};

// Whether KFG started in `folder` would find its "Telvio.ini": a readable regular file of that
// name, the exact spelling first, else in any letter case (as a run there finds it).
bool HoldsTelvioIni(const std::filesystem::path& folder);

// The edition that wrote the folder's "Telvio.ini", as a run there detects it; nothing when the
// file is missing or unreadable.
std::optional<settings::Edition> EditionOf(const std::filesystem::path& folder);

} // namespace kfg::places
