// The mute switch on a real check box of a running dialog: what Init enables and checks, how
// clicks and the mixer's notifications move the check mark, and when the binding closes.
#include "framework/dialog.h"
#include "mixer/mixer_switch.h"
#include "mixer_test_support.h"
#include "support/modal_script.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>

namespace kfg::mixer {
namespace {

using namespace test;
using Call = SimulatedMixer::Call;
using Card = SimulatedMixer::Device;
using framework::Dialog;

constexpr int kMuteBox = 1059;
constexpr std::uint32_t kListBoolean = MIXERCONTROL_CT_CLASS_LIST | MIXERCONTROL_CT_UNITS_BOOLEAN;

constexpr std::array<framework::ControlTemplate, 2> kControls{{
    {kMuteBox, framework::ControlKind::CheckBox, "MUTE", {5, 5, 40, 10}, framework::kHidden},
    {framework::IDOK, framework::ControlKind::PushButton, "OK", {60, 5, 40, 14}},
}};
constexpr framework::DialogTemplate kTemplate{950, "Mixer", 110, 40, kControls};

// Runs a small dialog and `body` while it is up; no message box may appear.
void WhileUp(const std::function<void(Dialog&)>& body) {
    Dialog dialog(kTemplate);
    kfg::test::ModalScript script([&](Dialog& running) { body(running); });
    dialog.DoModal();
    EXPECT_EQ(script.Seen().size(), 1u) << "only the dialog itself may come up";
}

SimulatedMixer::Line& LineIn(Card& card) {
    return card.destinations[1].sources[1];
}

// The line-in control turned into a list-class control.
Card ListCard(std::uint32_t flags, std::uint32_t items, std::uint32_t channels) {
    Card card = StandardCard();
    SimulatedMixer::Line& line = LineIn(card);
    line.channels = channels;
    line.controls[0].control.dwControlType = kListBoolean;
    line.controls[0].control.fdwControl = flags;
    line.controls[0].control.cMultipleItems = items;
    return card;
}

// What Init answers and leaves: the box enabled and checked, the binding open.
struct Outcome {
    bool result;
    bool enabled;
    bool checked;
    bool bound;
};
constexpr Outcome kRefused{false, false, false, false};

struct InitRow {
    const char* what;
    std::function<void(Card&, SimulatedMixer&)> arrange; // on the card before it is added
    Outcome outcome;
    std::string report = {}; // empty: none
    std::uint32_t controlType = kMute;
    std::int32_t index = 0;
    bool attach = true;
};

TEST(MixerSwitchInit, ResultEnabledCheckedAndBoundPerSituation) {
    auto lineIs = [](std::uint32_t left, std::uint32_t right) {
        return [=](Card& card, SimulatedMixer&) {
            LineIn(card).controls[0].values = {left, right};
        };
    };
    auto list = [](std::uint32_t flags, std::uint32_t items, std::uint32_t channels) {
        return [=](Card& card, SimulatedMixer&) { card = ListCard(flags, items, channels); };
    };
    const std::string noWindow =
        "CMixerFader::Init: No Window attached. Did you create or subclass one?";
    const std::string wrongType =
        "CMixerSwitch::Init: Wrong control type: ---- UNKNOWN CONTROL TYPE ----";
    const std::string badIndex = "CMixerNumber::Init: Invalid control index passed: ";
    const auto threeItems = list(MIXERCONTROL_CONTROLF_MULTIPLE, 3, 1);
    const InitRow rows[] = {
        {"muted line-in", lineIs(1, 1), {true, true, true, true}},
        {"audible line-in", lineIs(0, 0), {true, true, false, true}},
        {"no window", lineIs(1, 1), {false, true, false, false}, noWindow, kMute, 0, false},
        {"volume is no switch", {}, kRefused, wrongType, MIXERCONTROL_CONTROLTYPE_VOLUME},
        {"no sound card", [](Card& card, SimulatedMixer&) { card.destinations.clear(); }, kRefused,
         "CMixerBase::Init: No mixer device present"},
        {"first read fails",
         [](Card&, SimulatedMixer& sim) { sim.Fail(Call::GetControlDetails, MMSYSERR_ERROR); },
         {true, false, false, true}},
        {"item index = item count", threeItems, kRefused, badIndex + "3", kListBoolean, 3},
        {"negative item index", threeItems, kRefused, badIndex + "-1", kListBoolean, -1},
        {"list without items past its values", list(0, 0, 2), kRefused,
         "CMixerSwitch::Init: Value index 2 outside the control's 2 values", kListBoolean, 2},
        {"line without channels", list(0, 0, 0), kRefused,
         "CMixerSwitch::Init: Value index 0 outside the control's 0 values", kListBoolean},
    };
    for (const InitRow& row : rows) {
        SCOPED_TRACE(row.what);
        auto sim = std::make_shared<SimulatedMixer>();
        Card card = StandardCard();
        if (row.arrange) {
            row.arrange(card, *sim);
        }
        if (!card.destinations.empty()) { // a card without lines stands for none
            sim->AddDevice(card);
        }
        CMixerSwitch button(sim);
        WhileUp([&](Dialog& dialog) {
            if (row.attach) {
                button.Attach(dialog, kMuteBox);
            }
            ReportLog log;
            EXPECT_EQ(button.Init(kSpeakers, kLine, row.controlType, row.index),
                      row.outcome.result);
            EXPECT_EQ(dialog.IsItemEnabled(kMuteBox), row.outcome.enabled);
            EXPECT_EQ(dialog.CheckState(kMuteBox), row.outcome.checked ? 1 : 0);
            EXPECT_EQ(button.Handle() != 0, row.outcome.bound);
            EXPECT_EQ(sim->OpenHandles(), row.outcome.bound ? 1u : 0u);
            // The report, if the row has one, and nothing else.
            EXPECT_EQ(log.Lines(),
                      std::vector<std::string>(row.report.empty() ? 0 : 1, row.report));
        });
    }
}

// Asked for element 2: a list-class control shows it, a switch-class one its first element.
TEST(MixerSwitchInit, ListClassUsesTheIndexSwitchClassTheFirstElement) {
    const std::pair<std::uint32_t, std::size_t> rows[] = {
        {kListBoolean, 2},
        {MIXERCONTROL_CT_CLASS_SWITCH | MIXERCONTROL_CT_UNITS_BOOLEAN, 0},
    };
    for (const auto& [controlType, shown] : rows) {
        SCOPED_TRACE(shown);
        Card card = ListCard(MIXERCONTROL_CONTROLF_MULTIPLE, 4, 1);
        LineIn(card).controls[0].control.dwControlType = controlType;
        LineIn(card).controls[0].values = {0, 0, 0, 0};
        LineIn(card).controls[0].values[shown] = 1;
        auto sim = std::make_shared<SimulatedMixer>();
        sim->AddDevice(card);
        CMixerSwitch button(sim);
        WhileUp([&](Dialog& dialog) {
            button.Attach(dialog, kMuteBox);
            ASSERT_TRUE(button.Init(kSpeakers, kLine, controlType, 2));
            EXPECT_TRUE(button.IsChecked());
            button.OnClicked();
            EXPECT_FALSE(button.IsChecked());
            EXPECT_EQ(sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 0, 0, 0}));
        });
    }
}

TEST(MixerSwitchClick, ClickFlipsTheLastValueReadAndWritesIt) {
    auto sim = std::make_shared<SimulatedMixer>();
    Card card = StandardCard();
    LineIn(card).controls[0].values = {1, 0};
    sim->AddDevice(card);
    CMixerSwitch button(sim);
    WhileUp([&](Dialog& dialog) {
        button.Attach(dialog, kMuteBox);
        ASSERT_TRUE(button.Init(kSpeakers, kLine, kMute, 0));
        ASSERT_TRUE(button.IsChecked());

        // A user click toggles the box, then the switch writes the flipped element once.
        dialog.Click(kMuteBox);
        EXPECT_EQ(dialog.CheckState(kMuteBox), 0);
        EXPECT_EQ(sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 0}));
        EXPECT_EQ(sim->Calls(Call::SetControlDetails), 1u);

        // Changed elsewhere without a notification yet: the click flips what was last read.
        sim->ChangeFromOutside(kLineMute, {1, 1});
        button.OnClicked();
        EXPECT_TRUE(button.IsChecked());
        EXPECT_EQ(sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{1, 0}));

        // A failed write still shows the new value, silently.
        sim->Fail(Call::SetControlDetails, MMSYSERR_ERROR);
        ReportLog log;
        button.OnClicked();
        EXPECT_FALSE(button.IsChecked());
        EXPECT_EQ(sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{1, 0}));
        EXPECT_TRUE(log.Lines().empty());
        EXPECT_NE(button.Handle(), 0u);
    });
}

TEST(MixerSwitchNotify, FollowsItsOwnControlOnlyAndNeverEnables) {
    auto sim = std::make_shared<SimulatedMixer>();
    sim->AddDevice(StandardCard());
    CMixerSwitch button(sim);
    WhileUp([&](Dialog& dialog) {
        button.Attach(dialog, kMuteBox);
        sim->Fail(Call::GetControlDetails, MMSYSERR_ERROR, 0);
        ASSERT_TRUE(button.Init(kSpeakers, kLine, kMute, 0)); // the box stays disabled
        sim->ClearFailures();

        // Another program mutes line-in: seen once the notification is handled.
        sim->ChangeFromOutside(kLineMute, {1, 1});
        EXPECT_FALSE(button.IsChecked());
        button.ProcessPendingEvents();
        EXPECT_TRUE(button.IsChecked());
        EXPECT_FALSE(dialog.IsItemEnabled(kMuteBox)); // the check mark moves, nothing else

        // Another control of the same mixer changes: not even read.
        const unsigned reads = sim->Calls(Call::GetControlDetails);
        sim->ChangeFromOutside(kAnalogMute, {0, 0});
        button.ProcessPendingEvents();
        EXPECT_EQ(sim->Calls(Call::GetControlDetails), reads);
        EXPECT_TRUE(button.IsChecked());
    });
}

TEST(MixerSwitchLifetime, ClosingTheDialogClosesTheBinding) {
    auto sim = std::make_shared<SimulatedMixer>();
    sim->AddDevice(StandardCard());
    {
        CMixerSwitch button(sim);
        WhileUp([&](Dialog& dialog) {
            button.Attach(dialog, kMuteBox);
            ASSERT_TRUE(button.Init(kSpeakers, kLine, kMute, 0));
            EXPECT_EQ(sim->OpenHandles(), 1u);
        });
        EXPECT_EQ(sim->OpenHandles(), 0u);
        EXPECT_FALSE(button.IsChecked()); // no window any more
        ReportLog log;
        button.OnClicked(); // harmless: told, nothing written
        EXPECT_EQ(log.Lines(), std::vector<std::string>{
                                   "CMixerSwitch::OnClicked: Error: Did you call Init() first?"});
        EXPECT_EQ(sim->Calls(Call::SetControlDetails), 0u);
    }
    EXPECT_EQ(sim->Calls(Call::Close), 1u); // the destructor found nothing left to close
}

TEST(MixerSwitchLifetime, SwitchGoingFirstLeavesTheBoxAlone) {
    auto sim = std::make_shared<SimulatedMixer>();
    sim->AddDevice(StandardCard());
    WhileUp([&](Dialog& dialog) {
        {
            CMixerSwitch button(sim);
            button.Attach(dialog, kMuteBox);
            ASSERT_TRUE(button.Init(kSpeakers, kLine, kMute, 0));
        }
        EXPECT_EQ(sim->OpenHandles(), 0u);
        dialog.Click(kMuteBox); // no switch behind it any more
        EXPECT_EQ(sim->Calls(Call::SetControlDetails), 0u);
    });
}

} // namespace
} // namespace kfg::mixer
