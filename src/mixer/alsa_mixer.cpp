#include "mixer/alsa_mixer.h"

#include "mixer/mixer_base.h"
#include "mixer/system_mixer.h"

#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <alsa/asoundlib.h>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <strings.h>
#include <utility>

namespace kfg::mixer {

namespace {

class SystemCardSource final : public AlsaCardSource {
public:
    std::vector<AlsaCard> Cards() override {
        std::vector<AlsaCard> cards;
        int card = -1;
        while (snd_card_next(&card) == 0 && card >= 0) {
            cards.push_back({card, "hw:" + std::to_string(card)});
        }
        return cards;
    }
    int DefaultCard() override {
        if (snd_config_update() < 0) {
            return 0;
        }
        return ConfiguredDefaultCard(snd_config,
                                     [](const char* id) { return snd_card_get_index(id); });
    }
    int OpenControl(const std::string& name, snd_ctl_t** control) override {
        return snd_ctl_open(control, name.c_str(), SND_CTL_NONBLOCK);
    }
};

struct MixerCloser {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using UniqueMixer = std::unique_ptr<snd_mixer_t, MixerCloser>;

struct CardInfoFree {
    void operator()(snd_ctl_card_info_t* info) const { snd_ctl_card_info_free(info); }
};

// Windows mixers cut names to these lengths (with the terminator).
constexpr std::size_t kShortNameChars = 15;
constexpr std::size_t kNameChars = 63;

int ElementEvent(snd_mixer_elem_t* element, unsigned int mask);

} // namespace

struct AlsaMixer::Device {
    struct Line {
        snd_mixer_elem_t* element = nullptr; // null once the card removed it
        std::string name;
        std::uint32_t componentType = 0;
        std::vector<snd_mixer_selem_channel_id_t> channels;
        bool hasSwitch = false;
        // Line-in on HD-Audio: heard only while "Loopback Mixing" shows `loopbackEnabled`.
        snd_mixer_elem_t* loopback = nullptr;
        unsigned int loopbackEnabled = 0;
    };
    struct Pending {
        std::uint32_t message;
        std::uint32_t id;
    };

    void ElementChanged(snd_mixer_elem_t* element, unsigned int mask) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            Line& line = lines[i];
            const auto id = static_cast<std::uint32_t>(i);
            if (line.element == element && mask == SND_CTL_EVENT_MASK_REMOVE) {
                line.element = nullptr;
                pending.push_back({MM_MIXM_LINE_CHANGE, id});
            } else if (line.loopback == element && mask == SND_CTL_EVENT_MASK_REMOVE) {
                line.loopback = nullptr;
                pending.push_back({MM_MIXM_CONTROL_CHANGE, id + 1});
            } else if ((line.element == element || line.loopback == element) &&
                       (mask & SND_CTL_EVENT_MASK_VALUE) != 0 && line.hasSwitch) {
                pending.push_back({MM_MIXM_CONTROL_CHANGE, id + 1});
            }
        }
    }

    std::string cardName;
    UniqueMixer mixer;
    // [0] is the destination; empty when the card has no playback master.
    std::vector<Line> lines;
    MixerCallback callback;
    std::vector<Pending> pending;
    // Declared after `mixer`, so they stop watching before its descriptors close.
    std::unique_ptr<QObject> context; // cancels queued deliveries when the device goes
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers;

    // Closing the mixer tells the element callbacks that every element goes; they must still
    // find the lines they look at.
    ~Device() {
        notifiers.clear();
        mixer.reset();
    }
};

namespace {

int ElementEvent(snd_mixer_elem_t* element, unsigned int mask) {
    auto* device = static_cast<AlsaMixer::Device*>(snd_mixer_elem_get_callback_private(element));
    if (device != nullptr) {
        device->ElementChanged(element, mask);
    }
    return 0;
}

bool NameIs(const std::string& name, const char* wanted) {
    return ::strcasecmp(name.c_str(), wanted) == 0;
}

} // namespace

int ConfiguredDefaultCard(snd_config_t* config, const std::function<int(const char*)>& indexOfId) {
    snd_config_t* node = nullptr;
    if (config == nullptr || snd_config_search(config, "defaults.ctl.card", &node) < 0) {
        return 0;
    }
    long number = 0;
    if (snd_config_get_integer(node, &number) == 0) {
        return static_cast<int>(number);
    }
    const char* text = nullptr;
    if (snd_config_get_string(node, &text) < 0 || text == nullptr) {
        return 0;
    }
    const std::string value = text;
    if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos) {
        return std::stoi(value.substr(0, 9));
    }
    const int index = indexOfId(text);
    return index >= 0 ? index : -1;
}

std::unique_ptr<AlsaCardSource> MakeSystemCardSource() {
    return std::make_unique<SystemCardSource>();
}

std::shared_ptr<MixerApi> MakeSystemMixer() {
    return std::make_shared<AlsaMixer>(MakeSystemCardSource());
}

std::uint32_t SourceTypeForElement(const std::string& name) {
    static constexpr std::pair<const char*, std::uint32_t> kTypes[] = {
        {"Line", MIXERLINE_COMPONENTTYPE_SRC_LINE},
        {"CD", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC},
        {"Mic", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
        {"PCM", MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT},
        {"Synth", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER},
        {"Aux", MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY},
        {"Phone", MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE},
        {"PC Speaker", MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER},
        {"Beep", MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER},
        {"Video", MIXERLINE_COMPONENTTYPE_SRC_ANALOG},
        {"IEC958", MIXERLINE_COMPONENTTYPE_SRC_DIGITAL},
    };
    for (const auto& [element, type] : kTypes) {
        if (NameIs(name, element)) {
            return type;
        }
    }
    return MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED;
}

AlsaMixer::AlsaMixer(std::unique_ptr<AlsaCardSource> cards)
    : cards_(std::move(cards)) {}

AlsaMixer::~AlsaMixer() {
    for (auto& [handle, device] : devices_) {
        device->notifiers.clear();
    }
    devices_.clear();
    closing_.clear();
}

std::uint32_t AlsaMixer::GetNumDevs() {
    return static_cast<std::uint32_t>(DeviceOrder().size());
}

AlsaMixer::Device* AlsaMixer::Find(MixerHandle handle) {
    const auto found = devices_.find(handle);
    return found == devices_.end() ? nullptr : found->second.get();
}

namespace {

// The enumeration item named `wanted`, if the element has one.
std::optional<unsigned int> EnumItem(snd_mixer_elem_t* element, const char* wanted) {
    const int items = snd_mixer_selem_get_enum_items(element);
    for (int item = 0; item < items; ++item) {
        std::array<char, 64> name{};
        if (snd_mixer_selem_get_enum_item_name(element, static_cast<unsigned>(item), name.size(),
                                               name.data()) == 0 &&
            NameIs(name.data(), wanted)) {
            return static_cast<unsigned int>(item);
        }
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<AlsaMixer::Device> AlsaMixer::Load(const AlsaCard& card) {
    snd_ctl_t* control = nullptr;
    if (cards_->OpenControl(card.control, &control) < 0 || control == nullptr) {
        return nullptr; // no such card, or not ours to open (audio group)
    }
    auto loaded = std::make_unique<Device>();
    loaded->cardName = card.control;
    snd_ctl_card_info_t* rawInfo = nullptr;
    if (snd_ctl_card_info_malloc(&rawInfo) == 0) {
        const std::unique_ptr<snd_ctl_card_info_t, CardInfoFree> info(rawInfo);
        if (snd_ctl_card_info(control, info.get()) == 0) {
            loaded->cardName = snd_ctl_card_info_get_name(info.get());
        }
    }

    snd_hctl_t* hctl = nullptr;
    if (snd_hctl_open_ctl(&hctl, control) < 0) {
        snd_ctl_close(control);
        return nullptr;
    }
    snd_mixer_t* rawMixer = nullptr;
    if (snd_mixer_open(&rawMixer, 0) < 0) {
        snd_hctl_close(hctl);
        return nullptr;
    }
    loaded->mixer.reset(rawMixer);
    // On failure the mixer has closed the hctl itself; from here the mixer owns it.
    if (snd_mixer_attach_hctl(rawMixer, hctl) < 0 ||
        snd_mixer_selem_register(rawMixer, nullptr, nullptr) < 0 || snd_mixer_load(rawMixer) < 0) {
        return nullptr;
    }

    std::vector<Device::Line> playback;
    snd_mixer_elem_t* loopback = nullptr;
    unsigned int loopbackEnabled = 0;
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(rawMixer); element != nullptr;
         element = snd_mixer_elem_next(element)) {
        const std::string name = snd_mixer_selem_get_name(element);
        if (NameIs(name, "Loopback Mixing") && snd_mixer_selem_is_enumerated(element) > 0) {
            if (const std::optional<unsigned int> enabled = EnumItem(element, "Enabled")) {
                loopback = element;
                loopbackEnabled = *enabled;
            }
            continue;
        }
        const bool hasSwitch = snd_mixer_selem_has_playback_switch(element) > 0;
        if (!hasSwitch && snd_mixer_selem_has_playback_volume(element) <= 0) {
            continue;
        }
        Device::Line line;
        line.element = element;
        line.name = name;
        if (const unsigned index = snd_mixer_selem_get_index(element); index > 0) {
            line.name += " " + std::to_string(index);
        }
        // "Has channel" answers an error code (non-zero) for a missing direction.
        for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
            const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
            if (snd_mixer_selem_has_playback_channel(element, id) > 0) {
                line.channels.push_back(id);
            }
        }
        line.hasSwitch = hasSwitch;
        playback.push_back(std::move(line));
    }
    for (const char* master : {"Master", "Headphone", "PCM"}) {
        const auto found =
            std::find_if(playback.begin(), playback.end(),
                         [master](const Device::Line& line) { return NameIs(line.name, master); });
        if (found != playback.end()) {
            found->componentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
            loaded->lines.push_back(std::move(*found));
            playback.erase(found);
            for (Device::Line& source : playback) {
                source.componentType = SourceTypeForElement(source.name);
                if (source.componentType == MIXERLINE_COMPONENTTYPE_SRC_LINE) {
                    source.loopback = loopback;
                    source.loopbackEnabled = loopbackEnabled;
                }
                loaded->lines.push_back(std::move(source));
            }
            break;
        }
    }
    for (const Device::Line& line : loaded->lines) {
        for (snd_mixer_elem_t* element : {line.element, line.loopback}) {
            if (element != nullptr) {
                snd_mixer_elem_set_callback(element, &ElementEvent);
                snd_mixer_elem_set_callback_private(element, loaded.get());
            }
        }
    }
    return loaded;
}

const std::vector<AlsaCard>& AlsaMixer::DeviceOrder() {
    std::vector<AlsaCard> cards = cards_->Cards();
    if (cards == cardsSeen_) {
        return deviceOrder_;
    }
    cardsSeen_ = cards;
    deviceOrder_ = cards;
    if (cards.empty()) {
        return deviceOrder_;
    }
    // Opening every card is the only way to see which has a playback master; it happens once.
    const int configured = cards_->DefaultCard();
    std::optional<std::size_t> first;
    std::optional<std::size_t> byDefault;
    std::vector<std::string> names(cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const std::unique_ptr<Device> probe = Load(cards[i]);
        if (probe == nullptr || probe->lines.empty()) {
            continue;
        }
        names[i] = probe->cardName;
        if (!first) {
            first = i;
        }
        if (cards[i].index == configured) {
            byDefault = i;
        }
    }
    const std::optional<std::size_t> chosen = byDefault ? byDefault : first;
    if (!chosen) {
        ReportDiagnostic("AlsaMixer",
                         "No card with a playback master could be opened; mixer device 0 is %s",
                         cards.front().control.c_str());
        return deviceOrder_;
    }
    const bool defaultPresent =
        std::any_of(cards.begin(), cards.end(),
                    [configured](const AlsaCard& c) { return c.index == configured; });
    ReportDiagnostic("AlsaMixer", "Mixer device 0 is card %d \"%s\" (%s): %s", cards[*chosen].index,
                     names[*chosen].c_str(), cards[*chosen].control.c_str(),
                     byDefault        ? "the configured default card"
                     : defaultPresent ? "the configured default card has no playback master"
                                      : "the configured default card is not present");
    deviceOrder_.erase(deviceOrder_.begin() + static_cast<std::ptrdiff_t>(*chosen));
    deviceOrder_.insert(deviceOrder_.begin(), cards[*chosen]);
    return deviceOrder_;
}

MmResult AlsaMixer::Open(MixerHandle& handle, std::uint32_t device, MixerCallback callback) {
    if (dispatching_ == 0) {
        closing_.clear();
    }
    const std::vector<AlsaCard> order = DeviceOrder();
    if (device >= order.size()) {
        return MMSYSERR_BADDEVICEID;
    }
    std::unique_ptr<Device> opened = Load(order[device]);
    if (opened == nullptr) {
        return MMSYSERR_ERROR;
    }

    const MixerHandle assigned = nextHandle_++;
    opened->callback = std::move(callback);
    snd_mixer_t* rawMixer = opened->mixer.get();
    if (QCoreApplication::instance() != nullptr) {
        opened->context = std::make_unique<QObject>();
        const int count = snd_mixer_poll_descriptors_count(rawMixer);
        std::vector<pollfd> descriptors(count > 0 ? static_cast<std::size_t>(count) : 0);
        const int filled = descriptors.empty()
                               ? 0
                               : snd_mixer_poll_descriptors(rawMixer, descriptors.data(),
                                                            static_cast<unsigned>(count));
        for (int i = 0; i < filled; ++i) {
            const int fd = descriptors[static_cast<std::size_t>(i)].fd;
            // The viewer that replaces us must not inherit the card.
            ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
            auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                             [this, assigned] { HandleEvents(assigned, false); });
            opened->notifiers.push_back(std::move(notifier));
        }
    }
    devices_[assigned] = std::move(opened);
    handle = assigned;
    return MMSYSERR_NOERROR;
}

MmResult AlsaMixer::Close(MixerHandle handle) {
    if (dispatching_ == 0) {
        closing_.clear();
    }
    const auto found = devices_.find(handle);
    if (found == devices_.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    std::unique_ptr<Device> device = std::move(found->second);
    devices_.erase(found);
    for (const auto& notifier : device->notifiers) {
        notifier->setEnabled(false);
    }
    device->mixer.reset();
    device->lines.clear();
    device->pending.clear();
    if (dispatching_ > 0) {
        // Its notifier or timer may be the caller: let it go once that has returned.
        closing_.push_back(std::move(device));
    }
    return MMSYSERR_NOERROR;
}

MmResult AlsaMixer::GetDevCaps(MixerHandle handle, MixerCaps& caps) {
    const Device* device = Find(handle);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    caps.szPname = device->cardName.substr(0, 31);
    caps.cDestinations = device->lines.empty() ? 0 : 1;
    return MMSYSERR_NOERROR;
}

MmResult AlsaMixer::GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) {
    const Device* device = Find(handle);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    if (flags != MIXER_GETLINEINFOF_DESTINATION && flags != MIXER_GETLINEINFOF_SOURCE) {
        return MMSYSERR_INVALFLAG;
    }
    if (device->lines.empty() || line.dwDestination != 0) {
        return MIXERR_INVALLINE;
    }
    const bool isSource = flags == MIXER_GETLINEINFOF_SOURCE;
    const std::size_t sources = device->lines.size() - 1;
    if (isSource && line.dwSource >= sources) {
        return MIXERR_INVALLINE;
    }
    const std::uint32_t index = isSource ? line.dwSource + 1 : 0;
    const Device::Line& found = device->lines[index];
    line.dwLineID = index;
    line.dwComponentType = found.componentType;
    line.cChannels = static_cast<std::uint32_t>(found.channels.size());
    line.cConnections = isSource ? 0 : static_cast<std::uint32_t>(sources);
    line.cControls = found.hasSwitch ? 1 : 0;
    line.szShortName = found.name.substr(0, kShortNameChars);
    line.szName = found.name.substr(0, kNameChars);
    return MMSYSERR_NOERROR;
}

MmResult AlsaMixer::GetControlByType(MixerHandle handle, std::uint32_t lineId,
                                     std::uint32_t controlType, MixerControl& control) {
    const Device* device = Find(handle);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    if (lineId >= device->lines.size()) {
        return MIXERR_INVALLINE;
    }
    const Device::Line& line = device->lines[lineId];
    if (controlType != MIXERCONTROL_CONTROLTYPE_MUTE || !line.hasSwitch ||
        line.element == nullptr) {
        return MIXERR_INVALCONTROL;
    }
    control = MixerControl{};
    control.dwControlID = lineId + 1;
    control.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    // A mute control of this model is one value for the whole line, whatever the channels.
    control.fdwControl = MIXERCONTROL_CONTROLF_UNIFORM;
    control.szShortName = "Mute";
    control.szName = "Mute";
    control.Bounds.lMinimum = 0;
    control.Bounds.lMaximum = 1;
    return MMSYSERR_NOERROR;
}

namespace {

// The line behind a control id, if the request fits it.
template <class Device>
auto* CheckedLine(Device& device, const MixerControlDetails& details, MmResult& result) {
    const std::uint32_t index = details.dwControlID - 1;
    if (details.dwControlID == 0 || index >= device.lines.size() ||
        !device.lines[index].hasSwitch || device.lines[index].element == nullptr) {
        result = MIXERR_INVALCONTROL;
        return static_cast<decltype(&device.lines[0])>(nullptr);
    }
    auto* line = &device.lines[index];
    if (details.cbDetails != sizeof(std::uint32_t) || details.cChannels != 1 ||
        details.paDetails == nullptr) {
        result = MMSYSERR_INVALPARAM;
        return static_cast<decltype(line)>(nullptr);
    }
    result = MMSYSERR_NOERROR;
    return line;
}

// Is the line heard? Every channel's switch on, and loopback mixing enabled where the card has
// it. Nothing when the card does not answer.
std::optional<bool> Audible(const AlsaMixer::Device::Line& line) {
    std::vector<snd_mixer_selem_channel_id_t> channels = line.channels;
    if (channels.empty()) {
        channels.push_back(SND_MIXER_SCHN_MONO);
    }
    bool audible = true;
    for (const snd_mixer_selem_channel_id_t channel : channels) {
        int on = 0;
        if (snd_mixer_selem_get_playback_switch(line.element, channel, &on) < 0) {
            return std::nullopt;
        }
        audible = audible && on != 0;
    }
    if (line.loopback != nullptr) {
        unsigned int item = 0;
        if (snd_mixer_selem_get_enum_item(line.loopback, SND_MIXER_SCHN_MONO, &item) < 0) {
            return std::nullopt;
        }
        audible = audible && item == line.loopbackEnabled;
    }
    return audible;
}

} // namespace

MmResult AlsaMixer::GetControlDetails(MixerHandle handle, MixerControlDetails& details) {
    Device* device = Find(handle);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    MmResult result = MMSYSERR_NOERROR;
    const Device::Line* line = CheckedLine(*device, details, result);
    if (line == nullptr) {
        return result;
    }
    const std::optional<bool> audible = Audible(*line);
    if (!audible) {
        return MMSYSERR_ERROR;
    }
    details.paDetails[0] = *audible ? 0 : 1;
    return MMSYSERR_NOERROR;
}

MmResult AlsaMixer::SetControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    Device* device = Find(handle);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    MmResult result = MMSYSERR_NOERROR;
    const Device::Line* line = CheckedLine(*device, details, result);
    if (line == nullptr) {
        return result;
    }
    const bool mute = details.paDetails[0] != 0;
    if (snd_mixer_selem_set_playback_switch_all(line->element, mute ? 0 : 1) < 0) {
        return MMSYSERR_ERROR;
    }
    // Muting leaves loopback mixing alone: it may carry other inputs.
    if (!mute && line->loopback != nullptr &&
        snd_mixer_selem_set_enum_item(line->loopback, SND_MIXER_SCHN_MONO, line->loopbackEnabled) <
            0) {
        return MMSYSERR_ERROR;
    }
    // alsa-lib tells every handle but the writer; the writer's sink hears it from us, later.
    device->pending.push_back({MM_MIXM_CONTROL_CHANGE, details.dwControlID});
    if (device->context != nullptr) {
        QTimer::singleShot(0, device->context.get(), [this, handle] { Deliver(handle); });
    }
    return MMSYSERR_NOERROR;
}

void AlsaMixer::ProcessPendingEvents(MixerHandle handle) {
    HandleEvents(handle, true);
}

void AlsaMixer::HandleEvents(MixerHandle handle, bool pollFirst) {
    Device* device = Find(handle);
    if (device == nullptr) {
        return;
    }
    ++dispatching_;
    bool ready = true;
    if (pollFirst) {
        // Handles are non-blocking, but asking first keeps an idle card quiet.
        std::vector<pollfd> descriptors(static_cast<std::size_t>(
            std::max(0, snd_mixer_poll_descriptors_count(device->mixer.get()))));
        const int filled =
            descriptors.empty()
                ? 0
                : snd_mixer_poll_descriptors(device->mixer.get(), descriptors.data(),
                                             static_cast<unsigned>(descriptors.size()));
        ready = filled > 0 && ::poll(descriptors.data(), static_cast<nfds_t>(filled), 0) > 0;
    }
    if (ready) {
        const int handled = snd_mixer_handle_events(device->mixer.get());
        if (handled < 0 && handled != -EAGAIN) {
            // The card went away: stop watching a descriptor that would fire forever.
            for (const auto& notifier : device->notifiers) {
                notifier->setEnabled(false);
            }
        }
    }
    Deliver(handle);
    --dispatching_;
}

void AlsaMixer::Deliver(MixerHandle handle) {
    ++dispatching_;
    for (;;) {
        Device* device = Find(handle);
        if (device == nullptr || device->pending.empty()) {
            break;
        }
        const Device::Pending next = device->pending.front();
        device->pending.erase(device->pending.begin());
        // A copy: the sink may close the device while it runs.
        const MixerCallback callback = device->callback;
        if (callback) {
            callback(next.message, handle, next.id);
        }
    }
    --dispatching_;
}

} // namespace kfg::mixer
