#include "dialogs/main/control_members.h"

#include "res/template_102_controls.h"

#include <algorithm>
#include <utility>

namespace kfg::dialogs {
namespace {

// A member stands for one control of the template, and no two for the same.
constexpr bool MembersHold() {
    for (std::size_t i = 0; i < kControlMemberIds.size(); ++i) {
        if (res::FindMainControl(kControlMemberIds[i]) == nullptr) {
            return false;
        }
        for (std::size_t j = i + 1; j < kControlMemberIds.size(); ++j) {
            if (kControlMemberIds[j] == kControlMemberIds[i]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(MembersHold(), "a control member names a missing control, or one a second time");

template <std::size_t... I>
std::array<framework::Control, sizeof...(I)> MakeControls(std::index_sequence<I...>) {
    return {framework::Control(kControlMemberIds[I])...};
}

} // namespace

ControlMembers::ControlMembers()
    : controls_(MakeControls(std::make_index_sequence<kControlMemberIds.size()>{})) {}

const framework::Control* ControlMembers::Find(int id) const {
    const auto found = std::find_if(controls_.begin(), controls_.end(),
                                    [id](const framework::Control& c) { return c.Id() == id; });
    return found == controls_.end() ? nullptr : &*found;
}

} // namespace kfg::dialogs
