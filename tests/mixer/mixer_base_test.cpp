// Binding a mixer control on the simulated mixer: the searches, every failure with its report
// and the state it leaves, the value buffer's shape, and closing. Reads and writes are taken by
// the switch tests.
#include "mixer/mixer_base.h"
#include "mixer_test_support.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace kfg::mixer {
namespace {

using namespace test;
using Base = OnCard<CMixerBase>;

MixerControl& LineInMute(Card& card) {
    return LineIn(card).controls[0].control;
}

Arrange Changed(const std::function<void(Card&)>& change) {
    return [=](Card& card, SimulatedMixer&) { change(card); };
}

Arrange LineInType(std::uint32_t type) {
    return Changed([type](Card& card) { LineInMute(card).dwControlType = type; });
}

struct FailureRow {
    const char* what;
    std::string report;
    Arrange arrange;
    std::uint32_t controlType = kMute;
    bool reportsOn = true; // the "kfg.mixer" category
};

TEST(MixerBaseInit, EachFailureReportsAndLeavesNothingOpen) {
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
    const FailureRow rows[] = {
        {"no device, reports off", "", NoCard, kMute, false},
        {"destination count negative", noDestination,
         Changed([](Card& card) { card.reportedDestinations = 0x80000000; })},
        {"line info fails before the speakers", noDestination,
         Failing(Call::GetDestinationLine, MIXERR_INVALLINE)},
        {"no speakers", noDestination, Changed([](Card& card) { card.destinations.pop_back(); })},
        {"no line source", noSource,
         Changed([](Card& card) { card.destinations[1].sources.resize(1); })},
        {"source info fails before the line source", noSource,
         Failing(Call::GetSourceLine, MMSYSERR_ERROR)},
        {"line without controls",
         "CMixerBase::Init: No controls available for this audio line: Line-In",
         Changed([](Card& card) { card.destinations[1].sources[1].controls.clear(); })},
        {"no control of the type", controlMissing, LineInType(MIXERCONTROL_CONTROLTYPE_ONOFF)},
        {"custom units", unknownUnits, LineInType(0x20000002), 0x20000002},
        {"units past the known ones", unknownUnits, LineInType(0x20060002), 0x20060002},
        {"more values than we hold", "CMixerBase::InitMXDetails: Memory allocation error.",
         Changed([](Card& card) {
             LineInMute(card).fdwControl = MIXERCONTROL_CONTROLF_MULTIPLE;
             LineInMute(card).cMultipleItems = 0x8001; // x 2 channels: one above the limit
         })},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.what);
        Base f(row.arrange);
        ReportLog log(row.reportsOn);
        EXPECT_FALSE(f.binding.Init(kSpeakers, kLine, row.controlType, {}));
        EXPECT_EQ(log.Lines(), std::vector<std::string>(row.reportsOn ? 1 : 0, row.report));
        EXPECT_EQ(f.sim->OpenHandles(), 0u);
    }
}

TEST(MixerBaseInit, FindsTheFirstMatchingLinesAndRebindsClosingTheOldDevice) {
    Base f;
    ASSERT_TRUE(f.binding.Init(kSpeakers, kLine, kMute, {}));
    EXPECT_EQ(f.binding.DestinationName(), "Lautsprecher");
    EXPECT_EQ(f.binding.LineName(), "Line-In"); // not "Line 2": the first line source wins
    EXPECT_EQ(f.binding.LineShortName(), "Line");
    EXPECT_EQ(f.binding.Control().dwControlID, kLineMute);
    // Searches stop at the match: destination 0 then 1; sources 0 then 1.
    EXPECT_EQ(f.sim->Calls(Call::GetDestinationLine), 2u);
    EXPECT_EQ(f.sim->Calls(Call::GetSourceLine), 2u);

    // Without a source line, the destination's own control; the old device is closed first.
    const MixerHandle first = f.binding.Handle();
    ASSERT_TRUE(f.binding.Init(kSpeakers, NoSourceLine, kMute, {}));
    EXPECT_EQ(f.binding.Control().dwControlID, kSpeakersMute);
    EXPECT_EQ(f.binding.LineName(), "Lautsprecher");
    EXPECT_EQ(f.sim->Calls(Call::GetSourceLine), 2u); // no source searched this time
    EXPECT_NE(f.binding.Handle(), first);
    EXPECT_EQ(f.sim->OpenHandles(), 1u);

    // Also when the new open fails: nothing stays open, no handle stays behind.
    f.sim->Fail(Call::Open, MMSYSERR_NODRIVER);
    EXPECT_FALSE(f.binding.Init(kSpeakers, kLine, kMute, {}));
    EXPECT_EQ(f.binding.Handle(), 0u);
    EXPECT_EQ(f.sim->OpenHandles(), 0u);
}

struct ShapeRow {
    std::uint32_t units;
    std::uint32_t flags;
    std::uint32_t items;
    std::uint32_t detailChannels;
    std::size_t values;
};

// Every known unit is accepted; the edges are failure rows above.
TEST(MixerBaseDetails, BufferShapeFollowsUniformAndMultipleFlags) {
    const ShapeRow rows[] = {
        {MIXERCONTROL_CT_UNITS_SIGNED, MIXERCONTROL_CONTROLF_UNIFORM, 0, 1, 1},
        {MIXERCONTROL_CT_UNITS_UNSIGNED, MIXERCONTROL_CONTROLF_MULTIPLE, 3, 2, 6},
        {MIXERCONTROL_CT_UNITS_DECIBELS,
         MIXERCONTROL_CONTROLF_MULTIPLE | MIXERCONTROL_CONTROLF_UNIFORM, 3, 1, 3},
        {MIXERCONTROL_CT_UNITS_PERCENT, 0, 5, 2, 2}, // items count only when multiple
    };
    for (const ShapeRow& row : rows) {
        SCOPED_TRACE(&row - rows);
        const std::uint32_t type = MIXERCONTROL_CT_CLASS_SWITCH | row.units | 7;
        Base f(Changed([&](Card& card) {
            LineInMute(card).dwControlType = type;
            LineInMute(card).fdwControl = row.flags;
            LineInMute(card).cMultipleItems = row.items;
        }));
        ASSERT_TRUE(f.binding.Init(kSpeakers, kLine, type, {}));
        EXPECT_EQ(f.binding.Details().cChannels, row.detailChannels);
        EXPECT_EQ(f.binding.Values().size(), row.values);
        EXPECT_TRUE(f.binding.ReadValues()); // the platform accepts the request as shaped
    }
}

TEST(MixerBaseWrite, WriteElementSendsOnlyAnElementThatExists) {
    Base f;
    ASSERT_TRUE(f.binding.Init(kSpeakers, kLine, kMute, {}));
    ASSERT_TRUE(f.binding.ReadValues());
    EXPECT_FALSE(f.binding.WriteElement(2, 1)); // past the buffer: nothing sent
    EXPECT_EQ(f.sim->Calls(Call::SetControlDetails), 0u);
    EXPECT_TRUE(f.binding.WriteElement(1, 1));
    EXPECT_EQ(f.sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 1}));
    f.sim->Fail(Call::SetControlDetails, MMSYSERR_ERROR);
    EXPECT_FALSE(f.binding.WriteElement(0, 1)); // the card refuses
    EXPECT_EQ(f.sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 1}));
}

// Repeated closing is the switch's lifetime test.
TEST(MixerBaseClose, DestructionCloses) {
    auto f = std::make_unique<Base>();
    ASSERT_TRUE(f->binding.Init(kSpeakers, kLine, kMute, {}));
    const std::shared_ptr<SimulatedMixer> sim = f->sim;
    f.reset();
    EXPECT_EQ(sim->Calls(Call::Close), 1u);
}

} // namespace
} // namespace kfg::mixer
