#pragma once

#include "settings/edition.h"

#include <span>
#include <string_view>

namespace kfg::dialogs {

using settings::Bit;
using settings::EditionMask;
using settings::kAllEditions;

// Which controls an edition shows.
struct LayoutRow {
    int id;
    EditionMask shownIn;
    // Editions that set this control's visibility at all; the others leave the template's.
    EditionMask touchedIn = kAllEditions;
};

std::span<const LayoutRow> EditionLayoutTable();
// The version label beside "Telvio", e.g. "V 3.20".
std::string_view VersionLabel(settings::Edition edition);

} // namespace kfg::dialogs
