// The mute switch on a real check box of a running dialog: what Init enables and checks, how
// clicks and the mixer's notifications move the check mark, and when the binding closes.
#include "mixer/mixer_switch.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

namespace kfg::mixer {
namespace {

using namespace test;
using framework::Dialog;

constexpr std::uint32_t kListBoolean = MIXERCONTROL_CT_CLASS_LIST | MIXERCONTROL_CT_UNITS_BOOLEAN;

// The switch over the standard card as `arrange` leaves it.
struct Switch : OnCard<CMixerSwitch> {
    using OnCard::OnCard;
    // Runs `body` with the box attached and the switch bound to line-in's mute control.
    void WhileBound(const std::function<void(Dialog&)>& body) {
        WhileUp([&](Dialog& dialog) {
            binding.Attach(dialog, kMuteBox);
            ASSERT_TRUE(binding.Init(kSpeakers, kLine, kMute, 0));
            body(dialog);
        });
    }
};

// The line-in control turned into a list-class control, or one of `type`.
Arrange List(std::uint32_t flags, std::uint32_t items, std::uint32_t channels,
             std::uint32_t type = kListBoolean) {
    return [=](Card& card, SimulatedMixer&) {
        LineIn(card).channels = channels;
        MixerControl& control = LineInMute(card);
        control.dwControlType = type;
        control.fdwControl = flags;
        control.cMultipleItems = items;
    };
}

Arrange LineInValues(std::vector<std::uint32_t> values) {
    return [=](Card& card, SimulatedMixer&) { LineIn(card).controls[0].values = values; };
}

// What Init answers (and so whether the binding stays open) and leaves: the box enabled and
// checked.
struct Outcome {
    bool result;
    bool enabled;
    bool checked;
};
constexpr Outcome kRefused{.result = false, .enabled = false, .checked = false};

struct InitRow {
    const char* what;
    Arrange arrange;
    Outcome outcome;
    std::string report = {}; // empty: none
    std::uint32_t controlType = kMute;
    std::int32_t index = 0;
    bool reportsOn = true; // the "kfg.mixer" category
};

Arrange LineInType(std::uint32_t type) {
    return Changed([type](Card& card) { LineInMute(card).dwControlType = type; });
}

// The binding's own failures included: each is reported and leaves nothing open.
TEST(MixerSwitchInit, ResultEnabledCheckedAndBoundPerSituation) {
    const std::string controlMissing =
        "CMixerBase::Init: Could not find specified mixer control. Associated Windows control "
        "will be disabled.\nControl type: MIXERCONTROL_CONTROLTYPE_MUTE,\n\nDest line type: "
        "MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,\nSrc  line type: MIXERLINE_COMPONENTTYPE_SRC_LINE\n";
    const std::string noDestination = "CMixerBase::Init: Warning: the destination line "
                                      "\nMIXERLINE_COMPONENTTYPE_DST_SPEAKERS\nwas not found.";
    const std::string noSource =
        "CMixerBase::Init: Warning: the source line \nMIXERLINE_COMPONENTTYPE_SRC_LINE\n not "
        "found.\n\n(Associated to Destination line \nLautsprecher)";
    const std::string unknownUnits = "CMixerBase::InitMXDetails: Control uses unknown units.";
    const std::string badIndex = "CMixerNumber::Init: Invalid control index passed: ";
    const std::string badValue = "CMixerSwitch::Init: Value index ";
    const Arrange threeItems = List(MIXERCONTROL_CONTROLF_MULTIPLE, 3, 1);
    const InitRow rows[] = {
        {.what = "muted line-in",
         .arrange = LineInValues({1, 1}),
         .outcome = {.result = true, .enabled = true, .checked = true}},
        {.what = "audible line-in",
         .arrange = {},
         .outcome = {.result = true, .enabled = true, .checked = false}},
        {.what = "volume is no switch",
         .arrange = {},
         .outcome = kRefused,
         .report = "CMixerSwitch::Init: Wrong control type: ---- UNKNOWN CONTROL TYPE ----",
         .controlType = MIXERCONTROL_CONTROLTYPE_VOLUME},
        {.what = "no sound card",
         .arrange = NoCard,
         .outcome = kRefused,
         .report = "CMixerBase::Init: No mixer device present"},
        {.what = "no sound card, reports off",
         .arrange = NoCard,
         .outcome = kRefused,
         .reportsOn = false},
        {.what = "destination count negative",
         .arrange = Changed([](Card& card) { card.reportedDestinations = 0x80000000; }),
         .outcome = kRefused,
         .report = noDestination},
        {.what = "line info fails before the speakers",
         .arrange = Failing(Call::GetDestinationLine, MIXERR_INVALLINE),
         .outcome = kRefused,
         .report = noDestination},
        {.what = "no speakers",
         .arrange = Changed([](Card& card) { card.destinations.pop_back(); }),
         .outcome = kRefused,
         .report = noDestination},
        {.what = "no line source",
         .arrange = Changed([](Card& card) { card.destinations[1].sources.resize(1); }),
         .outcome = kRefused,
         .report = noSource},
        {.what = "source info fails before the line source",
         .arrange = Failing(Call::GetSourceLine, MMSYSERR_ERROR),
         .outcome = kRefused,
         .report = noSource},
        {.what = "line without controls",
         .arrange = Changed([](Card& card) { LineIn(card).controls.clear(); }),
         .outcome = kRefused,
         .report = "CMixerBase::Init: No controls available for this audio line: Line-In"},
        {.what = "no control of the type",
         .arrange = LineInType(MIXERCONTROL_CONTROLTYPE_ONOFF),
         .outcome = kRefused,
         .report = controlMissing},
        {.what = "custom units",
         .arrange = LineInType(0x20000002),
         .outcome = kRefused,
         .report = unknownUnits,
         .controlType = 0x20000002},
        {.what = "units past the known ones",
         .arrange = LineInType(0x20060002),
         .outcome = kRefused,
         .report = unknownUnits,
         .controlType = 0x20060002},
        {.what = "more values than we hold",
         .arrange = Changed([](Card& card) {
             LineInMute(card).fdwControl = MIXERCONTROL_CONTROLF_MULTIPLE;
             LineInMute(card).cMultipleItems = 0x8001; // x 2 channels: one above the limit
         }),
         .outcome = kRefused,
         .report = "CMixerBase::InitMXDetails: Memory allocation error."},
        {.what = "first read fails",
         .arrange = Failing(Call::GetControlDetails, MMSYSERR_ERROR),
         .outcome = {.result = true, .enabled = false, .checked = false}},
        {.what = "item index = item count",
         .arrange = threeItems,
         .outcome = kRefused,
         .report = badIndex + "3",
         .controlType = kListBoolean,
         .index = 3},
        {.what = "negative item index",
         .arrange = threeItems,
         .outcome = kRefused,
         .report = badIndex + "-1",
         .controlType = kListBoolean,
         .index = -1},
        {.what = "list without items past its values",
         .arrange = List(0, 0, 2),
         .outcome = kRefused,
         .report = badValue + "2 outside the control's 2 values",
         .controlType = kListBoolean,
         .index = 2},
        {.what = "line without channels",
         .arrange = List(0, 0, 0),
         .outcome = kRefused,
         .report = badValue + "0 outside the control's 0 values",
         .controlType = kListBoolean},
    };
    for (const InitRow& row : rows) {
        SCOPED_TRACE(row.what);
        Switch f(row.arrange);
        WhileUp([&](Dialog& dialog) {
            f.binding.Attach(dialog, kMuteBox);
            ReportLog log(row.reportsOn);
            EXPECT_EQ(f.binding.Init(kSpeakers, kLine, row.controlType, row.index),
                      row.outcome.result);
            EXPECT_EQ(dialog.IsItemEnabled(kMuteBox), row.outcome.enabled);
            EXPECT_EQ(dialog.CheckState(kMuteBox), row.outcome.checked ? 1 : 0);
            EXPECT_EQ(f.binding.Handle() != 0, row.outcome.result);
            EXPECT_EQ(f.sim->OpenHandles(), row.outcome.result ? 1u : 0u);
            // The report, if the row has one, and nothing else.
            EXPECT_EQ(log.Lines(),
                      std::vector<std::string>(row.report.empty() ? 0 : 1, row.report));
        });
    }
}

// Asked for element 2: a list-class control shows it, a switch-class one its first element.
TEST(MixerSwitchInit, ListClassUsesTheIndexSwitchClassTheFirstElement) {
    struct Row {
        std::uint32_t controlType;
        std::size_t shownElement;
    };
    const Row rows[] = {
        {.controlType = kListBoolean, .shownElement = 2},
        {.controlType = MIXERCONTROL_CT_CLASS_SWITCH | MIXERCONTROL_CT_UNITS_BOOLEAN,
         .shownElement = 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shownElement);
        Switch f([&](Card& card, SimulatedMixer& sim) {
            List(MIXERCONTROL_CONTROLF_MULTIPLE, 4, 1, row.controlType)(card, sim);
            LineIn(card).controls[0].values = {0, 0, 0, 0};
            LineIn(card).controls[0].values[row.shownElement] = 1;
        });
        WhileUp([&](Dialog& dialog) {
            f.binding.Attach(dialog, kMuteBox);
            ASSERT_TRUE(f.binding.Init(kSpeakers, kLine, row.controlType, 2));
            EXPECT_TRUE(f.binding.IsChecked());
            f.binding.OnClicked();
            EXPECT_FALSE(f.binding.IsChecked());
            EXPECT_EQ(f.sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 0, 0, 0}));
        });
    }
}

TEST(MixerSwitchClick, ClickFlipsTheLastValueReadAndWritesIt) {
    Switch f(LineInValues({1, 0}));
    f.WhileBound([&](Dialog& dialog) {
        ASSERT_TRUE(f.binding.IsChecked());

        // A user click toggles the box, then the switch writes the flipped element once.
        dialog.Click(kMuteBox);
        EXPECT_EQ(dialog.CheckState(kMuteBox), 0);
        EXPECT_EQ(f.sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 0}));
        EXPECT_EQ(f.sim->Calls(Call::SetControlDetails), 1u);

        // Changed elsewhere without a notification yet: the click flips what was last read.
        f.sim->ChangeFromOutside(kLineMute, {1, 1});
        f.binding.OnClicked();
        EXPECT_TRUE(f.binding.IsChecked());
        EXPECT_EQ(f.sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{1, 0}));

        // A failed write still shows the new value, silently.
        f.sim->Fail(Call::SetControlDetails, MMSYSERR_ERROR);
        ReportLog log;
        f.binding.OnClicked();
        EXPECT_FALSE(f.binding.IsChecked());
        EXPECT_EQ(f.sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{1, 0}));
        EXPECT_TRUE(log.Lines().empty());
        EXPECT_NE(f.binding.Handle(), 0u);
    });
}

TEST(MixerSwitchNotify, FollowsItsOwnControlOnlyAndNeverEnables) {
    Switch f(Failing(Call::GetControlDetails, MMSYSERR_ERROR)); // the box stays disabled
    f.WhileBound([&](Dialog& dialog) {
        f.sim->Fail(Call::GetControlDetails, MMSYSERR_NOERROR);

        // Another program mutes line-in: seen once the notification is handled.
        f.sim->ChangeFromOutside(kLineMute, {1, 1});
        EXPECT_FALSE(f.binding.IsChecked());
        f.binding.ProcessPendingEvents();
        EXPECT_TRUE(f.binding.IsChecked());
        EXPECT_FALSE(dialog.IsItemEnabled(kMuteBox)); // the check mark moves, nothing else

        // Another control of the same mixer changes: not even read.
        const unsigned reads = f.sim->Calls(Call::GetControlDetails);
        f.sim->ChangeFromOutside(kAnalogMute, {0, 0});
        f.binding.ProcessPendingEvents();
        EXPECT_EQ(f.sim->Calls(Call::GetControlDetails), reads);
    });
}

TEST(MixerSwitchLifetime, ClosingTheDialogClosesTheBinding) {
    auto f = std::make_unique<Switch>();
    f->WhileBound([&](Dialog&) { EXPECT_EQ(f->sim->OpenHandles(), 1u); });
    EXPECT_EQ(f->sim->OpenHandles(), 0u);
    EXPECT_FALSE(f->binding.IsChecked()); // no window any more
    ReportLog log;
    EXPECT_FALSE(f->binding.Init(kSpeakers, kLine, kMute, 0));
    f->binding.OnClicked(); // harmless: told, nothing written
    EXPECT_EQ(log.Lines(),
              (std::vector<std::string>{
                  "CMixerFader::Init: No Window attached. Did you create or subclass one?",
                  "CMixerSwitch::OnClicked: Error: Did you call Init() first?"}));
    EXPECT_EQ(f->sim->Calls(Call::SetControlDetails), 0u);
    const std::shared_ptr<SimulatedMixer> sim = f->sim;
    f.reset();
    EXPECT_EQ(sim->Calls(Call::Close), 1u); // the destructor found nothing left to close
}

TEST(MixerSwitchLifetime, SwitchGoingFirstLeavesTheBoxAlone) {
    auto f = std::make_unique<Switch>();
    const std::shared_ptr<SimulatedMixer> sim = f->sim;
    WhileUp([&](Dialog& dialog) {
        f->binding.Attach(dialog, kMuteBox);
        ASSERT_TRUE(f->binding.Init(kSpeakers, kLine, kMute, 0));
        f.reset();
        EXPECT_EQ(sim->OpenHandles(), 0u);
        dialog.Click(kMuteBox); // no switch behind it any more
        EXPECT_EQ(sim->Calls(Call::SetControlDetails), 0u);
    });
}

} // namespace
} // namespace kfg::mixer
