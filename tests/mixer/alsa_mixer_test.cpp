// The ALSA backend on a card that exists only in memory: the suite's control plugin, loaded
// from a private configuration tree, so no file or variable of the machine is involved.
#include "framework/dialog.h"
#include "mixer/alsa_mixer.h"
#include "mixer/mixer_switch.h"
#include "mixer/system_mixer.h"
#include "mixer_test_support.h"
#include "support/modal_script.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <alsa/asoundlib.h>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace kfg::mixer {
namespace {

constexpr std::uint32_t kSpeakers = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
constexpr std::uint32_t kLine = MIXERLINE_COMPONENTTYPE_SRC_LINE;
constexpr std::uint32_t kMute = MIXERCONTROL_CONTROLTYPE_MUTE;

// A configuration tree holding the plugin type and one control device per card.
class PrivateCards final : public AlsaCardSource {
public:
    struct Card {
        std::string elements; // configuration list body: "\"Master Playback Switch:b:2\" ..."
        std::string extra;    // further fields of the card
    };

    explicit PrivateCards(const std::vector<Card>& cards) {
        static int serial = 0;
        std::string text = std::string("ctl_type.kfgfake { lib \"") + KFG_FAKE_CARD_PLUGIN +
                           "\" open \"_snd_ctl_kfgfake_open\" }\n";
        for (const Card& card : cards) {
            const std::string name = "kfgcard" + std::to_string(++serial);
            text += "ctl." + name + " { type kfgfake card \"" + name + "\" elements [ " +
                    card.elements + " ] " + card.extra + " }\n";
            names_.push_back(name);
        }
        snd_input_t* input = nullptr;
        EXPECT_EQ(snd_input_buffer_open(&input, text.data(), static_cast<ssize_t>(text.size())), 0);
        EXPECT_EQ(snd_config_top(&config_), 0);
        EXPECT_EQ(snd_config_load(config_, input), 0) << text;
        snd_input_close(input);
    }
    ~PrivateCards() override { snd_config_delete(config_); }
    PrivateCards(const PrivateCards&) = delete;
    PrivateCards& operator=(const PrivateCards&) = delete;

    std::vector<std::string> Cards() override { return names_; }
    int OpenControl(const std::string& name, snd_ctl_t** control) override {
        return snd_ctl_open_lconf(control, name.c_str(), SND_CTL_NONBLOCK, config_);
    }

private:
    snd_config_t* config_ = nullptr;
    std::vector<std::string> names_;
};

using CardList = std::vector<PrivateCards::Card>;

// Two card sources over the same card key would not share values; two mixers over one
// source do, because both open the same configured device.
struct SharedSource final : public AlsaCardSource {
    explicit SharedSource(PrivateCards& cards)
        : cards_(cards) {}
    std::vector<std::string> Cards() override { return cards_.Cards(); }
    int OpenControl(const std::string& name, snd_ctl_t** control) override {
        return cards_.OpenControl(name, control);
    }
    PrivateCards& cards_;
};

const char* const kFullCard =
    "\"Master Playback Switch:b:2\" \"Master Playback Volume:i:2\" "
    "\"Line Playback Switch:b:2:1,0\" \"Line Playback Volume:i:2\" "
    "\"CD Playback Volume:i:2\" \"Mic Playback Switch:b:1\" \"Mic Playback Volume:i:1\" "
    "\"Synth Playback Volume:i:2\" \"Capture Switch:b:2\" \"Capture Volume:i:2\"";

struct LineSeen {
    std::uint32_t type;
    std::uint32_t channels;
    std::uint32_t controls;
};

std::map<std::string, LineSeen> Sources(MixerApi& api, MixerHandle handle,
                                        const MixerLine& destination) {
    std::map<std::string, LineSeen> seen;
    for (std::uint32_t j = 0; j < destination.cConnections; ++j) {
        MixerLine line;
        line.dwSource = j;
        EXPECT_EQ(api.GetLineInfo(handle, line, MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
        seen[line.szName] = {line.dwComponentType, line.cChannels, line.cControls};
    }
    return seen;
}

TEST(AlsaMixerMapping, PlaybackElementsBecomeLinesOfTheMaster) {
    auto owned = std::make_unique<PrivateCards>(CardList{{kFullCard, "name \"Testkarte A\""}});
    AlsaMixer api(std::move(owned));
    ASSERT_EQ(api.GetNumDevs(), 1u);
    MixerHandle handle = 0;
    ASSERT_EQ(api.Open(handle, 0, {}), MMSYSERR_NOERROR);
    MixerCaps caps;
    ASSERT_EQ(api.GetDevCaps(handle, caps), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.szPname, "Testkarte A");
    EXPECT_EQ(caps.cDestinations, 1u);

    MixerLine destination;
    ASSERT_EQ(api.GetLineInfo(handle, destination, MIXER_GETLINEINFOF_DESTINATION),
              MMSYSERR_NOERROR);
    EXPECT_EQ(destination.szName, "Master");
    EXPECT_EQ(destination.dwComponentType, kSpeakers);
    EXPECT_EQ(destination.cChannels, 2u);
    EXPECT_EQ(destination.cControls, 1u);

    const std::map<std::string, LineSeen> expected = {
        {"CD", {MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, 2, 0}},
        {"Line", {kLine, 2, 1}},
        {"Mic", {MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 1, 1}},
        {"Synth", {MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, 2, 0}},
    };
    const auto seen = Sources(api, handle, destination);
    ASSERT_EQ(seen.size(), expected.size()); // the capture element is no source
    for (const auto& [name, line] : expected) {
        SCOPED_TRACE(name);
        ASSERT_EQ(seen.count(name), 1u);
        EXPECT_EQ(seen.at(name).type, line.type);
        EXPECT_EQ(seen.at(name).channels, line.channels);
        EXPECT_EQ(seen.at(name).controls, line.controls);
    }
    MixerControl control;
    EXPECT_EQ(api.GetControlByType(handle, 0, MIXERCONTROL_CONTROLTYPE_VOLUME, control),
              MIXERR_INVALCONTROL); // only the mute switch is offered
    EXPECT_EQ(api.Close(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(api.Close(handle), MMSYSERR_INVALHANDLE);
}

TEST(AlsaMixerMapping, MasterFallsBackToHeadphoneThenPcm) {
    const std::pair<const char*, const char*> rows[] = {
        {"\"Headphone Playback Switch:b:2\" \"PCM Playback Switch:b:2\" \"Line Playback "
         "Switch:b:2\"",
         "Headphone"},
        {"\"PCM Playback Switch:b:2\" \"Line Playback Switch:b:2\"", "PCM"},
        {"\"Master Playback Switch:b:2\" \"Headphone Playback Switch:b:2\" \"PCM Playback "
         "Switch:b:2\"",
         "Master"},
        {"\"Line Playback Switch:b:2\" \"CD Playback Switch:b:2\"", ""},
    };
    for (const auto& [elements, master] : rows) {
        SCOPED_TRACE(elements);
        AlsaMixer api(std::make_unique<PrivateCards>(CardList{{elements, ""}}));
        MixerHandle handle = 0;
        ASSERT_EQ(api.Open(handle, 0, {}), MMSYSERR_NOERROR);
        MixerCaps caps;
        ASSERT_EQ(api.GetDevCaps(handle, caps), MMSYSERR_NOERROR);
        EXPECT_EQ(caps.cDestinations, *master == '\0' ? 0u : 1u);
        MixerLine destination;
        if (*master != '\0') {
            ASSERT_EQ(api.GetLineInfo(handle, destination, MIXER_GETLINEINFOF_DESTINATION),
                      MMSYSERR_NOERROR);
            EXPECT_EQ(destination.szName, master);
            for (const auto& [name, line] : Sources(api, handle, destination)) {
                EXPECT_NE(name, master);
                EXPECT_EQ(line.type, name == "PCM"    ? MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT
                                     : name == "Line" ? kLine
                                                      : MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED);
            }
        }
        api.Close(handle);
    }
}

TEST(AlsaMixerMapping, DevicesFollowTheCardOrderAndRefusedCardsDoNotOpen) {
    AlsaMixer api(std::make_unique<PrivateCards>(CardList{{kFullCard, "name \"Erste\""},
                                                          {kFullCard, "name \"Zweite\""},
                                                          {kFullCard, "open_error -13"}}));
    ASSERT_EQ(api.GetNumDevs(), 3u);
    MixerHandle handle = 0;
    ASSERT_EQ(api.Open(handle, 1, {}), MMSYSERR_NOERROR);
    MixerCaps caps;
    api.GetDevCaps(handle, caps);
    EXPECT_EQ(caps.szPname, "Zweite");
    api.Close(handle);
    MixerHandle refused = 0;
    EXPECT_NE(api.Open(refused, 2, {}), MMSYSERR_NOERROR); // not in the audio group
    EXPECT_EQ(refused, 0u);
    EXPECT_EQ(api.Open(refused, 3, {}), MMSYSERR_BADDEVICEID);
}

TEST(AlsaMixerMapping, RefusedCardTakesTheOpenFailurePath) {
    auto api = std::make_shared<AlsaMixer>(
        std::make_unique<PrivateCards>(CardList{{kFullCard, "open_error -13"}}));
    CMixerBase base(api);
    test::ReportLog log;
    EXPECT_FALSE(base.Init(kSpeakers, kLine, kMute, {}));
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "CMixerBase::Init: Could not open mixer device");
}

// The card's raw switch values, read through a handle of its own.
std::vector<long> RawSwitch(PrivateCards& cards, const char* element) {
    snd_ctl_t* control = nullptr;
    EXPECT_EQ(cards.OpenControl(cards.Cards()[0], &control), 0);
    snd_ctl_elem_value_t* value = nullptr;
    snd_ctl_elem_value_malloc(&value);
    snd_ctl_elem_value_set_interface(value, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_value_set_name(value, element);
    EXPECT_EQ(snd_ctl_elem_read(control, value), 0);
    std::vector<long> values = {snd_ctl_elem_value_get_boolean(value, 0),
                                snd_ctl_elem_value_get_boolean(value, 1)};
    snd_ctl_elem_value_free(value);
    snd_ctl_close(control);
    return values;
}

TEST(AlsaMixerValues, MuteIsTheInvertedPlaybackSwitch) {
    PrivateCards cards(CardList{{kFullCard, ""}});
    auto api = std::make_shared<AlsaMixer>(std::make_unique<SharedSource>(cards));
    CMixerBase base(api);
    ASSERT_TRUE(base.Init(kSpeakers, kLine, kMute, {}));
    EXPECT_EQ(base.LineName(), "Line");
    EXPECT_EQ(base.DestinationName(), "Master");
    EXPECT_EQ(base.Details().cChannels, 2u);

    ASSERT_TRUE(base.ReadValues()); // raw switch 1,0: left audible, right muted
    EXPECT_EQ(base.Values()[0], 0u);
    EXPECT_EQ(base.Values()[1], 1u);

    base.Values()[0] = 1;
    base.Values()[1] = 0;
    ASSERT_TRUE(base.WriteValues());
    EXPECT_EQ(RawSwitch(cards, "Line Playback Switch"), (std::vector<long>{0, 1}));
}

TEST(AlsaMixerValues, JoinedSwitchIsOneUniformValueWrittenToEveryChannel) {
    PrivateCards cards(CardList{{"\"Master Playback Switch:b:2\" \"Line Playback Switch:b:1\" "
                                 "\"Line Playback Volume:i:2\"",
                                 ""}});
    auto api = std::make_shared<AlsaMixer>(std::make_unique<SharedSource>(cards));
    CMixerBase base(api);
    ASSERT_TRUE(base.Init(kSpeakers, kLine, kMute, {}));
    EXPECT_EQ(base.LineChannels(), 2u);
    EXPECT_NE(base.Control().fdwControl & MIXERCONTROL_CONTROLF_UNIFORM, 0u);
    ASSERT_EQ(base.Values().size(), 1u);
    ASSERT_TRUE(base.ReadValues());
    EXPECT_EQ(base.Values()[0], 0u);
    base.Values()[0] = 1;
    ASSERT_TRUE(base.WriteValues());
    ASSERT_TRUE(base.ReadValues());
    EXPECT_EQ(base.Values()[0], 1u);
}

TEST(AlsaMixerValues, MalformedRequestsAreRefused) {
    PrivateCards cards(CardList{{kFullCard, ""}});
    auto api = std::make_shared<AlsaMixer>(std::make_unique<SharedSource>(cards));
    CMixerBase base(api);
    ASSERT_TRUE(base.Init(kSpeakers, kLine, kMute, {}));
    std::array<std::uint32_t, 4> buffer{};
    MixerControlDetails good = base.Details();
    good.paDetails = buffer.data();
    ASSERT_EQ(api->GetControlDetails(base.Handle(), good), MMSYSERR_NOERROR);
    const std::pair<const char*, std::function<void(MixerControlDetails&)>> rows[] = {
        {"unknown control", [](MixerControlDetails& d) { d.dwControlID = 99; }},
        {"control id 0", [](MixerControlDetails& d) { d.dwControlID = 0; }},
        {"wrong channel count", [](MixerControlDetails& d) { d.cChannels = 3; }},
        {"wrong element size", [](MixerControlDetails& d) { d.cbDetails = 2; }},
        {"no buffer", [](MixerControlDetails& d) { d.paDetails = nullptr; }},
    };
    for (const auto& [what, spoil] : rows) {
        SCOPED_TRACE(what);
        MixerControlDetails details = good;
        spoil(details);
        EXPECT_NE(api->GetControlDetails(base.Handle(), details), MMSYSERR_NOERROR);
        EXPECT_NE(api->SetControlDetails(base.Handle(), details), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(api->GetControlDetails(base.Handle() + 1, good), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(RawSwitch(cards, "Line Playback Switch"), (std::vector<long>{1, 0})); // untouched
}

TEST(AlsaMixerNotify, OwnWriteIsAnnouncedAfterTheCall) {
    PrivateCards cards(CardList{{kFullCard, ""}});
    auto api = std::make_shared<AlsaMixer>(std::make_unique<SharedSource>(cards));
    std::vector<std::uint32_t> heard;
    CMixerBase base(api);
    ASSERT_TRUE(base.Init(kSpeakers, kLine, kMute,
                          [&](std::uint32_t message, MixerHandle, std::uint32_t id) {
                              if (message == MM_MIXM_CONTROL_CHANGE) {
                                  heard.push_back(id);
                              }
                          }));
    base.Values()[0] = 1;
    base.Values()[1] = 1;
    ASSERT_TRUE(base.WriteValues());
    EXPECT_TRUE(heard.empty()); // never from inside the write
    api->ProcessPendingEvents(base.Handle());
    EXPECT_EQ(heard, (std::vector<std::uint32_t>{base.Control().dwControlID}));
}

bool SpinUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

constexpr std::array<framework::ControlTemplate, 2> kControls{{
    {1059, framework::ControlKind::CheckBox, "MUTE", {5, 5, 40, 10}, framework::kHidden},
    {framework::IDOK, framework::ControlKind::PushButton, "OK", {60, 5, 40, 14}},
}};
constexpr framework::DialogTemplate kTemplate{951, "Mixer", 110, 30, kControls};

TEST(AlsaMixerNotify, SwitchFollowsAChangeMadeThroughAnotherHandle) {
    PrivateCards cards(CardList{{kFullCard, ""}});
    auto ours = std::make_shared<AlsaMixer>(std::make_unique<SharedSource>(cards));
    auto theirs = std::make_shared<AlsaMixer>(std::make_unique<SharedSource>(cards));
    CMixerSwitch button(ours);
    CMixerBase other(theirs);
    framework::Dialog dialog(kTemplate);
    kfg::test::ModalScript script([&](framework::Dialog& running) {
        button.Attach(running, 1059);
        ASSERT_TRUE(button.Init(kSpeakers, kLine, kMute, 0));
        EXPECT_TRUE(running.IsItemEnabled(1059));
        EXPECT_FALSE(button.IsChecked()); // left channel audible

        // Another program mutes line-in: the socket notifier brings it in.
        ASSERT_TRUE(other.Init(kSpeakers, kLine, kMute, {}));
        other.Values()[0] = 1;
        other.Values()[1] = 1;
        ASSERT_TRUE(other.WriteValues());
        EXPECT_TRUE(SpinUntil([&] { return button.IsChecked(); }));

        // And unmutes it; this time the start command asks before the event loop ran.
        other.Values()[0] = 0;
        ASSERT_TRUE(other.WriteValues());
        button.ProcessPendingEvents();
        EXPECT_FALSE(button.IsChecked());

        // Our click reaches the other program's handle.
        button.OnClicked();
        EXPECT_TRUE(button.IsChecked());
        EXPECT_EQ(RawSwitch(cards, "Line Playback Switch"), (std::vector<long>{0, 0}));
        EXPECT_TRUE(SpinUntil([&] {
            other.ReadValues();
            return other.Values()[0] == 1;
        }));
    });
    dialog.DoModal();
    EXPECT_EQ(button.Handle(), 0u); // closed with the dialog
}

TEST(AlsaMixerSystem, WithoutCardsTheSwitchStaysDisabledSilently) {
    auto api = MakeSystemMixer();
    ASSERT_NE(api, nullptr);
    if (api->GetNumDevs() != 0) {
        GTEST_SKIP() << "this machine has a sound card";
    }
    CMixerSwitch button(api);
    framework::Dialog dialog(kTemplate);
    kfg::test::ModalScript script([&](framework::Dialog& running) {
        button.Attach(running, 1059);
        EXPECT_FALSE(button.Init(kSpeakers, kLine, kMute, 0));
        EXPECT_FALSE(running.IsItemEnabled(1059));
        EXPECT_EQ(running.CheckState(1059), 0);
    });
    dialog.DoModal();
    EXPECT_EQ(script.Seen().size(), 1u);
}

TEST(AlsaMixerMapping, SourceTypesByElementName) {
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"Line", kLine},
        {"line", kLine},
        {"CD", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC},
        {"Mic", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
        {"PCM", MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT},
        {"Synth", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER},
        {"Aux", MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY},
        {"Line Boost", MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED},
        {"Front", MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED},
    };
    for (const auto& [name, type] : rows) {
        EXPECT_EQ(SourceTypeForElement(name), type) << name;
    }
}

} // namespace
} // namespace kfg::mixer
