#pragma once

// A small running dialog with one check box for a mute switch to bind to.

#include "framework/dialog.h"
#include "support/modal_script.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>

namespace kfg::mixer::test {

inline constexpr int kMuteBox = 1059;

inline constexpr std::array<framework::ControlTemplate, 2> kMuteBoxControls{{
    {kMuteBox, framework::ControlKind::CheckBox, "MUTE", {5, 5, 40, 10}, framework::kHidden},
    {framework::IDOK, framework::ControlKind::PushButton, "OK", {60, 5, 40, 14}},
}};
inline constexpr framework::DialogTemplate kMuteBoxDialog{950, "Mixer", 110, 40, kMuteBoxControls};

// Runs `body` while the dialog is up; no message box may appear.
inline void WhileUp(const std::function<void(framework::Dialog&)>& body) {
    framework::Dialog dialog(kMuteBoxDialog);
    kfg::test::ModalScript script([&](framework::Dialog& running) { body(running); });
    dialog.DoModal();
    EXPECT_EQ(script.Seen().size(), 1u) << "only the dialog itself may come up";
}

} // namespace kfg::mixer::test
