// Binding a mixer control on the simulated mixer: the searches, the value buffer's shape, writing
// an element, and closing. Every failure of a binding is a row of the switch's Init table.
#include "mixer/mixer_base.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace kfg::mixer {
namespace {

using namespace test;
using Base = OnCard<CMixerBase>;

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

// Every known unit is accepted; the edges are rows of the switch's Init table.
TEST(MixerBaseDetails, BufferShapeFollowsUniformAndMultipleFlags) {
    const ShapeRow rows[] = {
        {.units = MIXERCONTROL_CT_UNITS_SIGNED,
         .flags = MIXERCONTROL_CONTROLF_UNIFORM,
         .items = 0,
         .detailChannels = 1,
         .values = 1},
        {.units = MIXERCONTROL_CT_UNITS_UNSIGNED,
         .flags = MIXERCONTROL_CONTROLF_MULTIPLE,
         .items = 3,
         .detailChannels = 2,
         .values = 6},
        {.units = MIXERCONTROL_CT_UNITS_DECIBELS,
         .flags = MIXERCONTROL_CONTROLF_MULTIPLE | MIXERCONTROL_CONTROLF_UNIFORM,
         .items = 3,
         .detailChannels = 1,
         .values = 3},
        // Items count only when multiple.
        {.units = MIXERCONTROL_CT_UNITS_PERCENT,
         .flags = 0,
         .items = 5,
         .detailChannels = 2,
         .values = 2},
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

// Repeated closing is the switch's lifetime test.
TEST(MixerBaseWrite, WriteElementSendsOnlyAnElementThatExistsAndDestructionCloses) {
    auto f = std::make_unique<Base>();
    ASSERT_TRUE(f->binding.Init(kSpeakers, kLine, kMute, {}));
    ASSERT_TRUE(f->binding.ReadValues());
    EXPECT_FALSE(f->binding.WriteElement(2, 1)); // past the buffer: nothing sent
    EXPECT_EQ(f->sim->Calls(Call::SetControlDetails), 0u);
    EXPECT_TRUE(f->binding.WriteElement(1, 1));
    EXPECT_EQ(f->sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 1}));
    f->sim->Fail(Call::SetControlDetails, MMSYSERR_ERROR);
    EXPECT_FALSE(f->binding.WriteElement(0, 1)); // the card refuses
    EXPECT_EQ(f->sim->ControlValues(kLineMute), (std::vector<std::uint32_t>{0, 1}));
    const std::shared_ptr<SimulatedMixer> sim = f->sim;
    f.reset();
    EXPECT_EQ(sim->Calls(Call::Close), 1u);
}

} // namespace
} // namespace kfg::mixer
