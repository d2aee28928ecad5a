#include "dialogs/main/edition_layout.h"

#include "platform/no_repeats.h"
#include "res/template_102.h"
#include "res/template_102_controls.h"
#include "telvio/edition_facts.h"

#include <array>

namespace kfg::dialogs {
namespace {

using telvio::Edition;
using namespace res;

constexpr EditionMask k283 = telvio::kEditions283;
constexpr EditionMask kErazor = Bit(Edition::Erazor);
constexpr EditionMask k3x = telvio::kEditions3x;
constexpr EditionMask kBorderGroup = kErazor | Bit(Edition::V31) | Bit(Edition::V311);
constexpr EditionMask kSound3x = Bit(Edition::V311) | Bit(Edition::V320);

constexpr auto kLayout = std::to_array<LayoutRow>({
    {kIdDisplayMode3x, k3x},
    {kIdHighPriority, Bit(Edition::V31), k3x}, // the 2.83 and Erazor editions keep the template's
    {kIdStatus, k3x},
    {kIdPllInit, k3x},
    {kIdBorderHeight, kBorderGroup},
    {kIdBorderHeightSpin, kBorderGroup},
    {kIdBorderHeightLabel, kBorderGroup},
    {kIdAspect4To3, kBorderGroup},
    {kIdAspect16To9, kBorderGroup},
    {kIdAspect20To9, kBorderGroup},
    {kIdTunerList, kAllEditions & ~kErazor},
    {kIdCardList3x, k3x},
    {kIdTurbo, kSound3x},
    {kIdSpatial, kSound3x},
    {kIdLoudness, kSound3x},
    {kIdCardList283, k283},
    {kIdDisplayMode283, k283},
    {kIdBt8xxOptimisation, k283},
    {kIdPalPlus, k283},
    {kIdBlackLines, k283},
    {kIdBlankingInterval, k283},
    {kIdStatistics, k283 | kErazor},
    {kIdFirstLine, k283},
    {kIdFirstLineLabel, k283},
    {kIdLastLine, k283},
    {kIdLastLineLabel, k283},
    {kIdAcceleration, Bit(Edition::V283Quik)},
    {kIdAccelerationLabel, Bit(Edition::V283Quik)},
    {kIdCardListErazor, kErazor},
    {kIdDisplayModeErazor, kErazor},
    {kIdInterpolationList, kErazor},
    {kIdErazorLineIn, kErazor},
    {kIdForeground, Bit(Edition::V320)},
    {kIdAutoBorder, Bit(Edition::V320)},
    {kIdProportional, Bit(Edition::V320)},
});

// Every row names a control once, and shows it only where it touches it.
constexpr bool LayoutHolds() {
    for (const LayoutRow& row : kLayout) {
        if (FindMainControl(row.id) == nullptr || (row.shownIn & ~row.touchedIn) != 0) {
            return false;
        }
    }
    return platform::NoRepeats(kLayout,
                               [](const LayoutRow& a, const LayoutRow& b) { return a.id == b.id; });
}
static_assert(LayoutHolds(), "a layout row names a missing control, or one a second time");

} // namespace

std::span<const LayoutRow> EditionLayoutTable() {
    return kLayout;
}

std::string_view VersionLabel(telvio::Edition edition) {
    return telvio::FactsOf(edition).versionLabel;
}

} // namespace kfg::dialogs
