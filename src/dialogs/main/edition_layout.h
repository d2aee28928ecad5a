#pragma once

#include "telvio/edition.h"

#include <span>
#include <string_view>

namespace kfg::dialogs {

using telvio::Bit;
using telvio::EditionMask;
using telvio::kAllEditions;

// Which controls an edition shows.
struct LayoutRow {
    int id;
    EditionMask shownIn;
    // Editions that set this control's visibility at all; the others leave the template's.
    EditionMask touchedIn = kAllEditions;
};

std::span<const LayoutRow> EditionLayoutTable();
// The version label beside "Telvio", e.g. "V 3.20".
std::string_view VersionLabel(telvio::Edition edition);

} // namespace kfg::dialogs
