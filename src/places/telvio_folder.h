#pragma once

#include "telvio/edition.h"

#include <filesystem>
#include <optional>

namespace kfg::places {

// A folder and the edition that wrote its "Telvio.ini".
struct FolderEdition {
    std::filesystem::path folder;
    telvio::Edition edition;
};

// The edition that wrote the folder's "Telvio.ini", as a run there detects it; nothing when the
// file is missing or unreadable.
std::optional<telvio::Edition> EditionOf(const std::filesystem::path& folder);

} // namespace kfg::places
