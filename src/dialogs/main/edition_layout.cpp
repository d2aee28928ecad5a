#include "dialogs/main/edition_layout.h"

#include <array>

namespace kfg::dialogs {
namespace {

using settings::Edition;

constexpr EditionMask k283 = settings::kEditions283;
constexpr EditionMask kErazor = Bit(Edition::Erazor);
constexpr EditionMask k3x = settings::kEditions3x;
constexpr EditionMask kBorderGroup = kErazor | Bit(Edition::V31) | Bit(Edition::V311);
constexpr EditionMask kSound3x = Bit(Edition::V311) | Bit(Edition::V320);

constexpr std::array<LayoutRow, 35> kLayout{{
    {1012, k3x},
    {1013, Bit(Edition::V31), k3x}, // the 2.83 and Erazor editions keep the template's
    {1014, k3x},
    {1016, k3x},
    {1042, kBorderGroup},
    {1043, kBorderGroup},
    {1079, kBorderGroup},
    {1044, kBorderGroup},
    {1045, kBorderGroup},
    {1046, kBorderGroup},
    {1070, kAllEditions & ~kErazor},
    {1071, k3x},
    {1094, kSound3x},
    {1128, kSound3x},
    {1129, kSound3x},
    {1099, k283},
    {1100, k283},
    {1101, k283},
    {1102, k283},
    {1103, k283},
    {1104, k283},
    {1105, k283 | kErazor},
    {1106, k283},
    {1109, k283},
    {1107, k283},
    {1110, k283},
    {1159, Bit(Edition::V283Quik)},
    {1160, Bit(Edition::V283Quik)},
    {1116, kErazor},
    {1117, kErazor},
    {1118, kErazor},
    {1120, kErazor},
    {1161, Bit(Edition::V320)},
    {1162, Bit(Edition::V320)},
    {1163, Bit(Edition::V320)},
}};

// Indexed by the edition's value.
constexpr std::array<std::string_view, 6> kVersionLabels = {
    "V 2.83", "Erazor", "V 3.1", "V 3.11", "2.83 QUIK", "V 3.20",
};

} // namespace

std::span<const LayoutRow> EditionLayoutTable() {
    return kLayout;
}

bool LayoutHides(int id, settings::Edition edition) {
    for (const LayoutRow& row : kLayout) {
        if (row.id == id) {
            return (row.touchedIn & Bit(edition)) != 0 && (row.shownIn & Bit(edition)) == 0;
        }
    }
    return false;
}

std::string_view VersionLabel(settings::Edition edition) {
    return kVersionLabels.at(static_cast<std::size_t>(edition));
}

} // namespace kfg::dialogs
