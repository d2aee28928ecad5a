// The ALSA backend on cards that exist only in memory (the suite's control plugin).
#include "mixer/alsa_mixer.h"
#include "mixer/mixer_switch.h"
#include "mixer/system_mixer.h"
#include "mixer_test_support.h"
#include "support/private_cards.h"

#include <QtCore/qtestsupport_core.h>
#include <gmock/gmock.h>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace kfg::mixer {
namespace {

using namespace test;
using kfg::test::PrivateCards;
using CardList = std::vector<PrivateCards::Card>;

// Line-in with only its right channel off; a source named in lower case, one whose name only
// begins like line-in's, and capture elements, which are no lines.
const char* const kFullCard =
    "\"Master Playback Switch:b:2\" \"Master Playback Volume:i:2\" "
    "\"Line Boost Playback Volume:i:2\" \"Line Playback Switch:b:2:1,0\" "
    "\"Line Playback Volume:i:2\" \"CD Playback Volume:i:2\" \"Mic Playback Switch:b:1\" "
    "\"Mic Playback Volume:i:1\" \"synth Playback Volume:i:2\" \"PCM Playback Volume:i:2\" "
    "\"Capture Switch:b:2\" \"Capture Volume:i:2\"";

struct LineSeen {
    std::uint32_t type;
    std::uint32_t channels;
    std::uint32_t controls;
    bool operator==(const LineSeen&) const = default;
};

void PrintTo(const LineSeen& line, std::ostream* out) {
    *out << "{type " << line.type << ", channels " << line.channels << ", controls "
         << line.controls << "}";
}

std::map<std::string, LineSeen> Sources(MixerApi& api, MixerHandle handle,
                                        const MixerLine& destination) {
    std::map<std::string, LineSeen> seen;
    for (std::uint32_t j = 0; j < destination.cConnections; ++j) {
        MixerLine line;
        line.dwSource = j;
        EXPECT_EQ(api.GetLineInfo(handle, line, MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
        seen[line.szName] = {
            .type = line.dwComponentType, .channels = line.cChannels, .controls = line.cControls};
    }
    return seen;
}

TEST(AlsaMixerMapping, PlaybackElementsBecomeLinesOfTheMaster) {
    AlsaMixer api(std::make_unique<PrivateCards>(CardList{{.elements = kFullCard}}));
    MixerHandle handle = 0;
    ASSERT_EQ(api.Open(handle, 0, {}), MMSYSERR_NOERROR);
    MixerLine destination;
    ASSERT_EQ(api.GetLineInfo(handle, destination, MIXER_GETLINEINFOF_DESTINATION),
              MMSYSERR_NOERROR);
    EXPECT_EQ(destination.szName, "Master");
    EXPECT_EQ(destination.cControls, 1u);

    const std::map<std::string, LineSeen> expected = {
        {"CD", {.type = MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, .channels = 2, .controls = 0}},
        {"Line", {.type = kLine, .channels = 2, .controls = 1}},
        {"Line Boost",
         {.type = MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED, .channels = 2, .controls = 0}},
        {"Mic", {.type = MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, .channels = 1, .controls = 1}},
        {"PCM", {.type = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, .channels = 2, .controls = 0}},
        {"synth", {.type = MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, .channels = 2, .controls = 0}},
    };
    EXPECT_EQ(Sources(api, handle, destination), expected); // the capture element is none
    MixerControl control;
    EXPECT_EQ(api.GetControlByType(handle, 0, MIXERCONTROL_CONTROLTYPE_VOLUME, control),
              MIXERR_INVALCONTROL); // only the mute switch is offered
    EXPECT_EQ(api.Close(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(api.Close(handle), MMSYSERR_INVALHANDLE);
}

TEST(AlsaMixerMapping, MasterFallsBackToHeadphoneThenPcm) {
    struct Row {
        const char* elements;
        const char* master; // empty: no destination
    };
    const Row rows[] = {
        {.elements = "\"Headphone Playback Switch:b:2\" \"PCM Playback Switch:b:2\" \"Line "
                     "Playback Switch:b:2\"",
         .master = "Headphone"},
        {.elements = "\"PCM Playback Switch:b:2\" \"Line Playback Switch:b:2\"", .master = "PCM"},
        {.elements = "\"Master Playback Switch:b:2\" \"Headphone Playback Switch:b:2\" \"PCM "
                     "Playback Switch:b:2\"",
         .master = "Master"},
        {.elements = "\"Line Playback Switch:b:2\" \"CD Playback Switch:b:2\"", .master = ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.elements);
        AlsaMixer api(std::make_unique<PrivateCards>(CardList{{.elements = row.elements}}));
        MixerHandle handle = 0;
        ASSERT_EQ(api.Open(handle, 0, {}), MMSYSERR_NOERROR);
        MixerCaps caps;
        ASSERT_EQ(api.GetDevCaps(handle, caps), MMSYSERR_NOERROR);
        EXPECT_EQ(caps.cDestinations, *row.master == '\0' ? 0u : 1u);
        MixerLine destination;
        EXPECT_EQ(api.GetLineInfo(handle, destination, MIXER_GETLINEINFOF_DESTINATION),
                  *row.master == '\0' ? MIXERR_INVALLINE : MMSYSERR_NOERROR);
        EXPECT_EQ(destination.szName, row.master);
        EXPECT_EQ(Sources(api, handle, destination).count(row.master), 0u); // not its own source
    }
}

struct OrderCase {
    CardList cards;
    std::string defaultCard;
    std::vector<std::string> order; // card names by device number
    const char* why;                // what kfg.mixer says about device 0
};

TEST(AlsaMixerMapping, DeviceZeroIsTheDefaultCardWithAPlaybackMaster) {
    const PrivateCards::Card capture{.elements = "\"Capture Switch:b:2\" \"Capture Volume:i:2\"",
                                     .extra = "name \"Aufnahme\""};
    const PrivateCards::Card first{.elements = kFullCard, .extra = "name \"Erste\""};
    const PrivateCards::Card second{.elements = kFullCard, .extra = "name \"Zweite\""};
    const OrderCase cases[] = {
        {.cards = {capture, second},
         .defaultCard = "",
         .order = {"Zweite", "Aufnahme"},
         .why = "has no playback master"},
        {.cards = {first, second},
         .defaultCard = "1",
         .order = {"Zweite", "Erste"},
         .why = "the configured default card"},
        {.cards = {first, second},
         .defaultCard = "@1",
         .order = {"Zweite", "Erste"},
         .why = "the configured default card"},
        {.cards = {first, capture, second},
         .defaultCard = "1",
         .order = {"Erste", "Aufnahme", "Zweite"},
         .why = "has no playback"},
        {.cards = {first, second},
         .defaultCard = "7",
         .order = {"Erste", "Zweite"},
         .why = "is not present"},
        {.cards = {first, second},
         .defaultCard = "",
         .order = {"Erste", "Zweite"},
         .why = "the configured default card"},
        {.cards = {capture, capture},
         .defaultCard = "1",
         .order = {"Aufnahme", "Aufnahme"},
         .why = "No card with a playback master"},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.order.front() + " default " + c.defaultCard);
        ReportLog log;
        AlsaMixer api(std::make_unique<PrivateCards>(c.cards, c.defaultCard));
        ASSERT_EQ(api.GetNumDevs(), c.order.size());
        for (std::uint32_t device = 0; device < c.order.size(); ++device) {
            MixerHandle handle = 0;
            ASSERT_EQ(api.Open(handle, device, {}), MMSYSERR_NOERROR);
            MixerCaps caps;
            ASSERT_EQ(api.GetDevCaps(handle, caps), MMSYSERR_NOERROR);
            EXPECT_EQ(caps.szPname, c.order[device]) << device;
            EXPECT_EQ(api.Close(handle), MMSYSERR_NOERROR);
        }
        MixerHandle past = 0;
        EXPECT_EQ(api.Open(past, static_cast<std::uint32_t>(c.order.size()), {}),
                  MMSYSERR_BADDEVICEID);
        EXPECT_EQ(past, 0u);
        // Said once, not at every open.
        EXPECT_THAT(log.Lines(), testing::ElementsAre(testing::HasSubstr(c.why)));
    }
}

TEST(AlsaMixerMapping, RefusedCardTakesTheOpenFailurePath) {
    CMixerBase base(std::make_shared<AlsaMixer>(std::make_unique<PrivateCards>(
        CardList{{.elements = kFullCard, .extra = "open_error -13"}})));
    ReportLog log;
    EXPECT_FALSE(base.Init(kSpeakers, kLine, kMute, {}));
    EXPECT_THAT(log.Lines(), testing::Contains("CMixerBase::Init: Could not open mixer device"));
}

struct SwitchCase {
    const char* line;          // the line-in switch element after its name
    const char* loopback = ""; // the "Loopback Mixing" element after its name; empty: none
    std::uint32_t muted;       // what the mute control reads
    std::uint32_t written;     // the value written then
    std::vector<long> lineAfter;
    std::vector<long> loopbackAfter = {};
};

// Mute is one value for the whole line, and a disabled loopback mixing mutes line-in too.
TEST(AlsaMixerValues, MuteIsOneValueForTheWholeLineGatedByLoopback) {
    const SwitchCase cases[] = {
        {.line = "b:2:1,1", .muted = 0, .written = 1, .lineAfter = {0, 0}},
        {.line = "b:2:1,0", .muted = 1, .written = 0, .lineAfter = {1, 1}}, // right channel off
        {.line = "b:1:0", .muted = 1, .written = 0, .lineAfter = {1}},      // joined
        {.line = "b:2:1,1",
         .loopback = "0:Disabled|Enabled",
         .muted = 1,
         .written = 0,
         .lineAfter = {1, 1},
         .loopbackAfter = {1}},
        {.line = "b:2:0,1",
         .loopback = "1:Disabled|Enabled",
         .muted = 1,
         .written = 0,
         .lineAfter = {1, 1},
         .loopbackAfter = {1}},
        // Found by name, not position; muting leaves loopback alone.
        {.line = "b:2:1,1",
         .loopback = "0:Enabled|Disabled",
         .muted = 0,
         .written = 1,
         .lineAfter = {0, 0},
         .loopbackAfter = {0}},
        {.line = "b:2:1,1",
         .loopback = "1:Enabled|Disabled",
         .muted = 1,
         .written = 0,
         .lineAfter = {1, 1},
         .loopbackAfter = {0}},
    };
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " " + c.loopback);
        std::string elements =
            std::string("\"Master Playback Switch:b:2\" \"Line Playback Switch:") + c.line +
            "\" \"Line Playback Volume:i:2:7,9\" \"Mic Playback Switch:b:2:1,1\"";
        if (*c.loopback != '\0') {
            elements += std::string(" \"Loopback Mixing:e:1:") + c.loopback + "\"";
        }
        PrivateCards cards(CardList{{.elements = elements}});
        auto api = std::make_shared<AlsaMixer>(std::make_unique<PrivateCards>(cards));
        CMixerBase line(api);
        ASSERT_TRUE(line.Init(kSpeakers, kLine, kMute, {}));
        ASSERT_EQ(line.Values().size(), 1u); // one value for two channels
        ASSERT_TRUE(line.ReadValues());
        EXPECT_EQ(line.Values()[0], c.muted);
        CMixerBase mic(api); // loopback mixing concerns line-in only
        ASSERT_TRUE(mic.Init(kSpeakers, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, kMute, {}));
        ASSERT_TRUE(mic.ReadValues());
        EXPECT_EQ(mic.Values()[0], 0u);

        auto expected = cards.RawValues(0); // nothing else may change
        expected["Line Playback Switch"] = c.lineAfter;
        if (*c.loopback != '\0') {
            expected["Loopback Mixing"] = c.loopbackAfter;
        }
        line.Values()[0] = c.written;
        ASSERT_TRUE(line.WriteValues());
        EXPECT_EQ(cards.RawValues(0), expected);
    }
}

TEST(AlsaMixerValues, MalformedRequestsAreRefusedOwnWritesAnnouncedAfterTheCall) {
    PrivateCards cards(CardList{{.elements = kFullCard}});
    auto api = std::make_shared<AlsaMixer>(std::make_unique<PrivateCards>(cards));
    std::vector<std::uint32_t> heard;
    CMixerBase base(api);
    ASSERT_TRUE(base.Init(kSpeakers, kLine, kMute,
                          [&](std::uint32_t message, MixerHandle, std::uint32_t id) {
                              heard.push_back(message == MM_MIXM_CONTROL_CHANGE ? id : 0);
                          }));
    MixerControlDetails good = base.Details(); // into the binding's own buffer
    ASSERT_EQ(api->GetControlDetails(base.Handle(), good), MMSYSERR_NOERROR);
    struct Row {
        const char* what;
        std::function<void(MixerControlDetails&)> spoil;
    };
    const Row rows[] = {
        {.what = "unknown control", .spoil = [](MixerControlDetails& d) { d.dwControlID = 99; }},
        {.what = "control id 0", .spoil = [](MixerControlDetails& d) { d.dwControlID = 0; }},
        {.what = "a value per channel", .spoil = [](MixerControlDetails& d) { d.cChannels = 2; }},
        {.what = "wrong element size", .spoil = [](MixerControlDetails& d) { d.cbDetails = 2; }},
        {.what = "no buffer", .spoil = [](MixerControlDetails& d) { d.paDetails = nullptr; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MixerControlDetails details = good;
        row.spoil(details);
        EXPECT_NE(api->GetControlDetails(base.Handle(), details), MMSYSERR_NOERROR);
        EXPECT_NE(api->SetControlDetails(base.Handle(), details), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(api->GetControlDetails(base.Handle() + 1, good), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(cards.RawValues(0)["Line Playback Switch"], (std::vector<long>{1, 0})); // untouched

    base.Values()[0] = 0;
    ASSERT_TRUE(base.WriteValues());
    EXPECT_TRUE(heard.empty()); // never from inside the write
    api->ProcessPendingEvents(base.Handle());
    EXPECT_EQ(heard, (std::vector<std::uint32_t>{base.Control().dwControlID}));
}

TEST(AlsaMixerNotify, SwitchFollowsChangesMadeThroughAnotherHandle) {
    // Line-in muted by loopback mixing alone, so the first change is one of loopback only.
    PrivateCards cards(
        CardList{{.elements = "\"Master Playback Switch:b:2\" \"Line Playback Switch:b:2:1,1\" "
                              "\"Loopback Mixing:e:1:0:Disabled|Enabled\""}});
    CMixerSwitch button(std::make_shared<AlsaMixer>(std::make_unique<PrivateCards>(cards)));
    CMixerBase other(std::make_shared<AlsaMixer>(std::make_unique<PrivateCards>(cards)));
    WhileUp([&](framework::Dialog& dialog) {
        button.Attach(dialog, kMuteBox);
        ASSERT_TRUE(button.Init(kSpeakers, kLine, kMute, 0));
        EXPECT_TRUE(button.IsChecked());

        // Another program unmutes line-in: the socket notifier brings it in.
        ASSERT_TRUE(other.Init(kSpeakers, kLine, kMute, {}));
        other.Values()[0] = 0;
        ASSERT_TRUE(other.WriteValues());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !button.IsChecked(); }));

        // It mutes it again; this time the start command asks before the event loop ran.
        other.Values()[0] = 1;
        ASSERT_TRUE(other.WriteValues());
        button.ProcessPendingEvents();
        EXPECT_TRUE(button.IsChecked());

        // Our click reaches the other program's handle.
        button.OnClicked();
        EXPECT_FALSE(button.IsChecked());
        EXPECT_EQ(cards.RawValues(0)["Line Playback Switch"], (std::vector<long>{1, 1}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return other.ReadValues() && other.Values()[0] == 0; }));
    });
}

TEST(AlsaMixerSystem, WithoutCardsNothingIsBound) {
    auto api = MakeSystemMixer();
    ASSERT_NE(api, nullptr);
    if (api->GetNumDevs() != 0) {
        GTEST_SKIP() << "this machine has a sound card";
    }
    CMixerBase line(api);
    EXPECT_FALSE(line.Init(kSpeakers, kLine, kMute, {}));
}

} // namespace
} // namespace kfg::mixer
