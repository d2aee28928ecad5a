// Binding a mixer control on the simulated mixer: the searches, every failure with its report
// and the state it leaves, the value buffer's shape, reads, writes and closing.
#include "mixer/mixer_base.h"
#include "mixer_test_support.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kfg::mixer {
namespace {

using test::kAnalogMute;
using test::kLineMute;
using test::kSpeakersMute;
using test::ReportLog;
using Call = SimulatedMixer::Call;

constexpr std::uint32_t kSpeakers = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
constexpr std::uint32_t kLine = MIXERLINE_COMPONENTTYPE_SRC_LINE;
constexpr std::uint32_t kMute = MIXERCONTROL_CONTROLTYPE_MUTE;

struct Fixture {
    std::shared_ptr<SimulatedMixer> sim = std::make_shared<SimulatedMixer>();
    CMixerBase base{sim};
};

SimulatedMixer::Destination& Speakers(SimulatedMixer::Device& card) {
    return card.destinations[1];
}

struct FailureRow {
    const char* what;
    std::function<void(SimulatedMixer::Device&, SimulatedMixer&)> arrange; // card before adding
    std::uint32_t controlType;
    std::string report;
    bool addCard = true;
};

TEST(MixerBaseInit, EachFailureReportsAndLeavesNothingOpen) {
    const std::string controlMissing =
        "CMixerBase::Init: Could not find specified mixer control. Associated Windows control "
        "will be disabled.\nControl type: MIXERCONTROL_CONTROLTYPE_MUTE,\n\nDest line type: "
        "MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,\nSrc  line type: MIXERLINE_COMPONENTTYPE_SRC_LINE\n";
    const std::string destinationMissing = "CMixerBase::Init: Warning: the destination line "
                                           "\nMIXERLINE_COMPONENTTYPE_DST_SPEAKERS\nwas not found.";
    const std::string sourceMissing =
        "CMixerBase::Init: Warning: the source line \nMIXERLINE_COMPONENTTYPE_SRC_LINE\n not "
        "found.\n\n(Associated to Destination line \nLautsprecher)";
    const FailureRow rows[] = {
        {"no device", {}, kMute, "CMixerBase::Init: No mixer device present", false},
        {"open refused",
         [](auto&, SimulatedMixer& sim) { sim.Fail(Call::Open, MMSYSERR_ALLOCATED); }, kMute,
         "CMixerBase::Init: Could not open mixer device"},
        {"caps fail",
         [](auto&, SimulatedMixer& sim) { sim.Fail(Call::GetDevCaps, MMSYSERR_ERROR); }, kMute,
         destinationMissing},
        {"destination count negative",
         [](SimulatedMixer::Device& card, auto&) { card.reportedDestinations = 0x80000000; }, kMute,
         destinationMissing},
        {"line info fails before the speakers",
         [](auto&, SimulatedMixer& sim) { sim.Fail(Call::GetDestinationLine, MIXERR_INVALLINE); },
         kMute, destinationMissing},
        {"no speakers", [](SimulatedMixer::Device& card, auto&) { card.destinations.pop_back(); },
         kMute, destinationMissing},
        {"no line source",
         [](SimulatedMixer::Device& card, auto&) { Speakers(card).sources.resize(1); }, kMute,
         sourceMissing},
        {"source info fails before the line source",
         [](auto&, SimulatedMixer& sim) { sim.Fail(Call::GetSourceLine, MMSYSERR_ERROR, 1); },
         kMute, sourceMissing},
        {"line without controls",
         [](SimulatedMixer::Device& card, auto&) { Speakers(card).sources[1].controls.clear(); },
         kMute, "CMixerBase::Init: No controls available for this audio line: Line-In"},
        {"no control of the type",
         [](SimulatedMixer::Device& card, auto&) {
             Speakers(card).sources[1].controls[0].control.dwControlType =
                 MIXERCONTROL_CONTROLTYPE_ONOFF;
         },
         kMute, controlMissing},
        {"custom units",
         [](SimulatedMixer::Device& card, auto&) {
             Speakers(card).sources[1].controls[0].control.dwControlType = 0x20000002;
         },
         0x20000002, "CMixerBase::InitMXDetails: Control uses unknown units."},
        {"more values than we hold",
         [](SimulatedMixer::Device& card, auto&) {
             auto& control = Speakers(card).sources[1].controls[0].control;
             control.fdwControl = MIXERCONTROL_CONTROLF_MULTIPLE;
             control.cMultipleItems = 0x8001; // x 2 channels: one above the limit
         },
         kMute, "CMixerBase::InitMXDetails: Memory allocation error."},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.what);
        Fixture f;
        SimulatedMixer::Device card = test::StandardCard();
        if (row.arrange) {
            row.arrange(card, *f.sim);
        }
        if (row.addCard) {
            f.sim->AddDevice(card);
        }
        ReportLog log;
        EXPECT_FALSE(f.base.Init(kSpeakers, kLine, row.controlType, {}));
        ASSERT_EQ(log.Lines().size(), 1u);
        EXPECT_EQ(log.Lines()[0], row.report);
        EXPECT_EQ(f.base.Handle(), 0u);
        EXPECT_FALSE(f.base.HasValues());
        EXPECT_EQ(f.sim->OpenHandles(), 0u);
    }
}

TEST(MixerBaseInit, FailedOpenKeepsTheEarlierBufferButNoDevice) {
    Fixture f;
    f.sim->AddDevice(test::StandardCard());
    ASSERT_TRUE(f.base.Init(kSpeakers, kLine, kMute, {}));
    f.sim->Fail(Call::Open, MMSYSERR_NODRIVER);

    EXPECT_FALSE(f.base.Init(kSpeakers, kLine, kMute, {}));
    EXPECT_EQ(f.base.Handle(), 0u);
    EXPECT_EQ(f.sim->OpenHandles(), 0u);
    EXPECT_TRUE(f.base.HasValues());
    EXPECT_EQ(f.base.Values().size(), 2u);
}

TEST(MixerBaseInit, FindsTheFirstMatchingLinesAndDescribesThem) {
    Fixture f;
    f.sim->AddDevice(test::StandardCard());
    ASSERT_TRUE(f.base.Init(kSpeakers, kLine, kMute, {}));

    EXPECT_NE(f.base.Handle(), 0u);
    EXPECT_EQ(f.sim->LastOpenedDevice(), 0u);
    EXPECT_EQ(f.base.DestinationName(), "Lautsprecher");
    EXPECT_EQ(f.base.LineName(), "Line-In"); // not "Line 2": the first line source wins
    EXPECT_EQ(f.base.LineShortName(), "Line");
    EXPECT_EQ(f.base.LineChannels(), 2u);
    EXPECT_EQ(f.base.Control().dwControlID, kLineMute);
    EXPECT_EQ(f.base.Details().dwControlID, kLineMute);
    EXPECT_EQ(f.base.Details().cbDetails, 4u);
    EXPECT_EQ(f.base.Details().paDetails, f.base.Values().data());
    // Searches stop at the match: destination 0 then 1; sources 0 then 1.
    EXPECT_EQ(f.sim->Calls(Call::GetDestinationLine), 2u);
    EXPECT_EQ(f.sim->Calls(Call::GetSourceLine), 2u);
}

TEST(MixerBaseInit, NoSourceLineTakesTheDestinationsControl) {
    Fixture f;
    f.sim->AddDevice(test::StandardCard());
    ASSERT_TRUE(f.base.Init(kSpeakers, NoSourceLine, kMute, {}));
    EXPECT_EQ(f.base.Control().dwControlID, kSpeakersMute);
    EXPECT_EQ(f.base.LineName(), f.base.DestinationName());
    EXPECT_EQ(f.sim->Calls(Call::GetSourceLine), 0u);
}

TEST(MixerBaseInit, RebindingClosesTheOldDeviceFirst) {
    Fixture f;
    f.sim->AddDevice(test::StandardCard());
    ASSERT_TRUE(f.base.Init(kSpeakers, kLine, kMute, {}));
    const MixerHandle first = f.base.Handle();
    ASSERT_TRUE(f.base.Init(kSpeakers, MIXERLINE_COMPONENTTYPE_SRC_ANALOG, kMute, {}));
    EXPECT_NE(f.base.Handle(), first);
    EXPECT_EQ(f.sim->OpenHandles(), 1u);
    EXPECT_EQ(f.base.Control().dwControlID, kAnalogMute);
}

struct ShapeRow {
    std::uint32_t flags;
    std::uint32_t items;
    std::uint32_t lineChannels;
    std::uint32_t detailChannels;
    std::size_t values;
};

TEST(MixerBaseDetails, BufferShapeFollowsUniformAndMultipleFlags) {
    const ShapeRow rows[] = {
        {0, 0, 2, 2, 2},
        {MIXERCONTROL_CONTROLF_UNIFORM, 0, 2, 1, 1},
        {0, 0, 6, 6, 6},
        {MIXERCONTROL_CONTROLF_MULTIPLE, 3, 2, 2, 6},
        {MIXERCONTROL_CONTROLF_MULTIPLE | MIXERCONTROL_CONTROLF_UNIFORM, 3, 2, 1, 3},
        {0, 5, 2, 2, 2}, // items count only with the multiple flag
        {0, 0, 0, 0, 0},
    };
    for (const ShapeRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "flags " << row.flags << " items " << row.items
                                        << " channels " << row.lineChannels);
        Fixture f;
        SimulatedMixer::Device card = test::StandardCard();
        auto& line = Speakers(card).sources[1];
        line.channels = row.lineChannels;
        line.controls[0].control.fdwControl = row.flags;
        line.controls[0].control.cMultipleItems = row.items;
        f.sim->AddDevice(card);

        ASSERT_TRUE(f.base.Init(kSpeakers, kLine, kMute, {}));
        EXPECT_EQ(f.base.Details().cChannels, row.detailChannels);
        EXPECT_EQ(f.base.Details().cMultipleItems, row.items);
        EXPECT_EQ(f.base.Values().size(), row.values);
        EXPECT_TRUE(f.base.ReadValues()); // the platform accepts the request as shaped
    }
}

TEST(MixerBaseDetails, OnlyKnownUnitsAreAccepted) {
    const std::pair<std::uint32_t, bool> rows[] = {
        {0x00000000, false}, {0x00010000, true}, {0x00020000, true},  {0x00030000, true},
        {0x00040000, true},  {0x00050000, true}, {0x00060000, false}, {0x00FF0000, false},
    };
    for (const auto& [units, accepted] : rows) {
        SCOPED_TRACE(units);
        Fixture f;
        SimulatedMixer::Device card = test::StandardCard();
        const std::uint32_t type = MIXERCONTROL_CT_CLASS_SWITCH | units | 7;
        Speakers(card).sources[1].controls[0].control.dwControlType = type;
        f.sim->AddDevice(card);
        EXPECT_EQ(f.base.Init(kSpeakers, kLine, type, {}), accepted);
        EXPECT_EQ(f.sim->OpenHandles(), accepted ? 1u : 0u);
    }
}

TEST(MixerBaseValues, ReadAndWriteGoThroughTheBufferOrReportFalse) {
    Fixture f;
    f.sim->AddDevice(test::StandardCard());
    f.sim->ChangeFromOutside(kLineMute, {1, 0});
    ASSERT_TRUE(f.base.Init(kSpeakers, kLine, kMute, {}));

    ASSERT_TRUE(f.base.ReadValues());
    EXPECT_EQ(std::vector<std::uint32_t>(f.base.Values().begin(), f.base.Values().end()),
              (std::vector<std::uint32_t>{1, 0}));
    f.base.Values()[0] = 0;
    f.base.Values()[1] = 1;
    ASSERT_TRUE(f.base.WriteValues());
    EXPECT_EQ(f.sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 1}));

    // A failed read or write only reports false.
    f.sim->Fail(Call::GetControlDetails, MMSYSERR_ERROR);
    f.sim->Fail(Call::SetControlDetails, MMSYSERR_ERROR);
    ReportLog log;
    f.base.Values()[0] = 1;
    f.base.Values()[1] = 0;
    EXPECT_FALSE(f.base.ReadValues());
    EXPECT_FALSE(f.base.WriteValues());
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_NE(f.base.Handle(), 0u);
    EXPECT_EQ(f.sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 1}));
}

TEST(MixerBaseClose, CloseIsSafeToRepeatAndDestructionCloses) {
    auto sim = std::make_shared<SimulatedMixer>();
    sim->AddDevice(test::StandardCard());
    {
        CMixerBase base{sim};
        base.CloseMixer(); // unbound: nothing to do, nothing read or written
        EXPECT_FALSE(base.ReadValues());
        EXPECT_FALSE(base.WriteValues());
        EXPECT_EQ(sim->Calls(Call::Close) + sim->Calls(Call::GetControlDetails) +
                      sim->Calls(Call::SetControlDetails),
                  0u);
        ASSERT_TRUE(base.Init(kSpeakers, kLine, kMute, {}));
        base.CloseMixer();
        base.CloseMixer();
        EXPECT_EQ(sim->Calls(Call::Close), 1u);
        EXPECT_FALSE(base.HasValues());
        ASSERT_TRUE(base.Init(kSpeakers, kLine, kMute, {}));
    }
    EXPECT_EQ(sim->Calls(Call::Close), 2u);
    EXPECT_EQ(sim->OpenHandles(), 0u);
}

TEST(MixerDiagnostics, ReportsAreSilentUnlessTheCategoryIsOn) {
    Fixture f;
    {
        ReportLog off(false);
        EXPECT_FALSE(f.base.Init(kSpeakers, kLine, kMute, {}));
        EXPECT_TRUE(off.Lines().empty());
    }
    ReportLog on;
    ReportDiagnostic("Tag", "%s has %d", "Karte", 3);
    ASSERT_EQ(on.Lines().size(), 1u);
    EXPECT_EQ(on.Lines()[0], "Tag: Karte has 3");
}

TEST(MixerDiagnostics, TypeNames) {
    const std::pair<std::uint32_t, const char*> controls[] = {
        {0, "MIXERCONTROL_CONTROLTYPE_CUSTOM"},
        {0x20010002, "MIXERCONTROL_CONTROLTYPE_MUTE"},
        {0x20010001, "---- UNKNOWN CONTROL TYPE ----"},
    };
    for (const auto& [type, name] : controls) {
        EXPECT_STREQ(ControlTypeName(type), name);
    }
    const std::pair<std::uint32_t, const char*> lines[] = {
        {4, "MIXERLINE_COMPONENTTYPE_DST_SPEAKERS"},
        {4096, "MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED"},
        {4098, "MIXERLINE_COMPONENTTYPE_SRC_LINE"},
        {4105, "MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY"},
        {4106, "MIXERLINE_COMPONENTTYPE_SRC_ANALOG"},
        {4107, "---- UNKNOWN LINE TYPE ----"},
        {5, "---- UNKNOWN LINE TYPE ----"},
    };
    for (const auto& [type, name] : lines) {
        EXPECT_STREQ(LineTypeName(type), name);
    }
}

} // namespace
} // namespace kfg::mixer
