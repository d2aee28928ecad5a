#include "dialogs/main/control_members.h"

#include <algorithm>
#include <utility>

namespace kfg::dialogs {
namespace {

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
