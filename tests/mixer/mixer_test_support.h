#pragma once

// A sound card for the simulated mixer, the reports the mixer code writes to "kfg.mixer", and a
// small running dialog with one check box for a mute switch to bind to.

#include "framework/dialog.h"
#include "support/captured_log.h"
#include "support/modal_script.h"
#include "support/simulated_mixer.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::mixer::test {

inline constexpr std::uint32_t kSpeakers = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
inline constexpr std::uint32_t kLine = MIXERLINE_COMPONENTTYPE_SRC_LINE;
inline constexpr std::uint32_t kMute = MIXERCONTROL_CONTROLTYPE_MUTE;

// Control ids of the standard card.
enum : std::uint32_t { kSpeakersMute = 1, kAnalogMute = 10, kLineMute = 11 };

inline SimulatedMixer::Control MuteControl(std::uint32_t id) {
    SimulatedMixer::Control control;
    control.control.dwControlID = id;
    control.control.dwControlType = kMute;
    return control;
}

// Recording first, speakers second, so searches must walk; two line sources, the first wins.
inline SimulatedMixer::Device StandardCard() {
    SimulatedMixer::Destination record;
    record.line = {.componentType = 7, // wave in
                   .name = "Aufnahme",
                   .shortName = "Aufn.",
                   .channels = 2,
                   .controls = {MuteControl(20)}};
    SimulatedMixer::Destination speakers;
    SimulatedMixer::Control volume = MuteControl(2);
    volume.control.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    speakers.line = {.componentType = kSpeakers,
                     .name = "Lautsprecher",
                     .shortName = "Lautspr.",
                     .channels = 2,
                     .controls = {volume, MuteControl(kSpeakersMute)}};
    speakers.sources = {
        {.componentType = MIXERLINE_COMPONENTTYPE_SRC_ANALOG,
         .name = "Analog",
         .shortName = "Ana",
         .channels = 2,
         .controls = {MuteControl(kAnalogMute)}},
        {.componentType = kLine,
         .name = "Line-In",
         .shortName = "Line",
         .channels = 2,
         .controls = {MuteControl(kLineMute)}},
        {.componentType = kLine,
         .name = "Line 2",
         .shortName = "L2",
         .channels = 2,
         .controls = {MuteControl(12)}},
    };
    return {"Testkarte", {record, speakers}, {}};
}

using Card = SimulatedMixer::Device;
using Call = SimulatedMixer::Call;
// A change to the standard card, or to the mixer, before the card is added.
using Arrange = std::function<void(Card&, SimulatedMixer&)>;

inline SimulatedMixer::Line& LineIn(Card& card) {
    return card.destinations[1].sources[1];
}

inline MixerControl& LineInMute(Card& card) {
    return LineIn(card).controls[0].control;
}

inline Arrange Changed(const std::function<void(Card&)>& change) {
    return [=](Card& card, SimulatedMixer&) { change(card); };
}

inline void NoCard(Card& card, SimulatedMixer&) {
    card.destinations.clear();
}

inline Arrange Failing(Call call, MmResult result) {
    return [=](Card&, SimulatedMixer& sim) { sim.Fail(call, result); };
}

// A binding over the standard card as `arrange` leaves it, on a mixer of its own; a card left
// without lines stands for none.
template <class Binding>
struct OnCard {
    explicit OnCard(const Arrange& arrange = {}) {
        Card card = StandardCard();
        if (arrange) {
            arrange(card, *sim);
        }
        if (!card.destinations.empty()) {
            sim->AddDevice(std::move(card));
        }
    }
    std::shared_ptr<SimulatedMixer> sim = std::make_shared<SimulatedMixer>();
    Binding binding{sim};
};

// What reaches "kfg.mixer" while it lives, with the category switched on unless told.
struct ReportLog : kfg::test::CapturedLog {
    explicit ReportLog(bool enable = true) {
        if (enable) {
            Enable("kfg.mixer=true");
        }
    }
    std::vector<std::string> Lines() const {
        constexpr std::string_view prefix = "kfg.mixer: ";
        std::vector<std::string> reports;
        for (const std::string& line : lines) {
            if (line.starts_with(prefix)) {
                reports.push_back(line.substr(prefix.size()));
            }
        }
        return reports;
    }
};

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
