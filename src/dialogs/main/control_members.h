#pragma once

#include "framework/control.h"
#include "res/template_102.h"

#include <array>
#include <cstddef>

namespace kfg::dialogs {

// The controls the main dialog addresses as members, in the order the first exchange attaches
// them.
inline constexpr auto kControlMemberIds = std::to_array<int>({
    res::kIdAutoBorder,
    res::kIdForeground,
    res::kIdProportional,
    res::kIdAccelerationLabel,
    res::kIdAcceleration,
    res::kIdHighPriority,
    res::kIdSpatial,
    res::kIdLoudness,
    res::kIdVolumeSpin,
    res::kIdTurbo,
    res::kIdShowConfiguration,
    res::kIdSaveConfiguration,
    res::kIdDeleteConfiguration,
    res::kIdTunerList,
    res::kIdErazorLineIn,
    res::kIdInterpolationList,
    res::kIdCardListErazor,
    res::kIdDisplayModeErazor,
    res::kIdConfigurationField,
    res::kIdLastLineLabel,
    res::kIdFirstLineLabel,
    res::kIdBorderHeightLabel,
    res::kIdBorderHeight,
    res::kIdLastLine,
    res::kIdFirstLine,
    res::kIdStatus,
    res::kIdStatistics,
    res::kIdBlackLines,
    res::kIdPllInit,
    res::kIdPalPlus,
    res::kIdCardList3x,
    res::kIdDisplayMode3x,
    res::kIdCardList283,
    res::kIdDisplayMode283,
    res::kIdBlankingInterval,
    res::kIdBt8xxOptimisation,
    res::kIdAspect4To3,
    res::kIdAspect20To9,
    res::kIdAspect16To9,
    res::kIdStart,
    res::kIdBorderHeightSpin,
    res::kIdTestLinesSpin,
    res::kIdContrastSpin,
    res::kIdColourSpin,
    res::kIdBrightnessSpin,
});

class ControlMembers {
public:
    ControlMembers();

    std::array<framework::Control, kControlMemberIds.size()>& All() { return controls_; }
    // The member for a control id; null for a control that is not a member.
    const framework::Control* Find(int id) const;

private:
    std::array<framework::Control, kControlMemberIds.size()> controls_;
};

} // namespace kfg::dialogs
