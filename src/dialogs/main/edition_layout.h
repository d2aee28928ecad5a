#pragma once

#include "settings/edition.h"

#include <optional>
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
// Whether control `id` is enabled in `edition`; nullopt for the controls whose enabled state
// the layout leaves alone. What the edition shows but never saves is disabled, so that nothing
// typed there is lost silently: the field of a key it does not write, that field's spin, and a
// default button that resets none of the keys it writes.
std::optional<bool> LayoutEnables(int id, settings::Edition edition);
// The version label beside "Telvio", e.g. "V 3.20".
std::string_view VersionLabel(settings::Edition edition);

} // namespace kfg::dialogs
