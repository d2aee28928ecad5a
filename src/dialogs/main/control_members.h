#pragma once

#include "framework/control.h"

#include <array>
#include <cstddef>

namespace kfg::dialogs {

// The controls the main dialog addresses as members, in the order the first exchange attaches
// them.
inline constexpr std::array<int, 45> kControlMemberIds = {
    1162, 1161, 1163, 1160, 1159, 1013, 1128, 1129, 1096, 1094, 1005, 1004, 1115, 1070, 1120,
    1118, 1116, 1117, 1114, 1110, 1109, 1079, 1042, 1107, 1106, 1014, 1105, 1103, 1016, 1102,
    1071, 1012, 1099, 1100, 1104, 1101, 1044, 1046, 1045, 1001, 1043, 1039, 1052, 1050, 1048,
};

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
