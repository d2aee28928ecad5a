#pragma once

#include "settings/edition.h"

#include <span>
#include <string_view>

namespace kfg::dialogs {

// Which controls an edition shows. Bit n stands for the edition with value n.
using EditionMask = unsigned;
constexpr EditionMask Bit(settings::Edition e) {
    return 1u << static_cast<unsigned>(e);
}
inline constexpr EditionMask kAllEditions = 0x3F;

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
