#include "mixer/alsa_mixer.h"

#include "mixer/system_mixer.h"

#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <alsa/asoundlib.h>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <strings.h>
#include <utility>

namespace kfg::mixer {

namespace {

class SystemCardSource final : public AlsaCardSource {
public:
    std::vector<std::string> Cards() override {
        std::vector<std::string> names;
        int card = -1;
        while (snd_card_next(&card) == 0 && card >= 0) {
            names.push_back("hw:" + std::to_string(card));
        }
        return names;
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
        bool joined = false;

        std::uint32_t ValueCount() const {
            return joined ? 1 : static_cast<std::uint32_t>(channels.size());
        }
    };
    struct Pending {
        std::uint32_t message;
        std::uint32_t id;
    };

    void ElementChanged(snd_mixer_elem_t* element, unsigned int mask) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            Line& line = lines[i];
            if (line.element != element) {
                continue;
            }
            if (mask == SND_CTL_EVENT_MASK_REMOVE) {
                line.element = nullptr;
                pending.push_back({MM_MIXM_LINE_CHANGE, static_cast<std::uint32_t>(i)});
            } else if ((mask & SND_CTL_EVENT_MASK_VALUE) != 0 && line.hasSwitch) {
                pending.push_back({MM_MIXM_CONTROL_CHANGE, static_cast<std::uint32_t>(i) + 1});
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
    return static_cast<std::uint32_t>(cards_->Cards().size());
}

AlsaMixer::Device* AlsaMixer::Find(MixerHandle handle) {
    const auto found = devices_.find(handle);
    return found == devices_.end() ? nullptr : found->second.get();
}

MmResult AlsaMixer::Open(MixerHandle& handle, std::uint32_t device, MixerCallback callback) {
    if (dispatching_ == 0) {
        closing_.clear();
    }
    const std::vector<std::string> cards = cards_->Cards();
    if (device >= cards.size()) {
        return MMSYSERR_BADDEVICEID;
    }
    snd_ctl_t* control = nullptr;
    if (cards_->OpenControl(cards[device], &control) < 0 || control == nullptr) {
        return MMSYSERR_ERROR; // no such card, or not ours to open (audio group)
    }

    auto opened = std::make_unique<Device>();
    opened->cardName = cards[device];
    snd_ctl_card_info_t* rawInfo = nullptr;
    if (snd_ctl_card_info_malloc(&rawInfo) == 0) {
        const std::unique_ptr<snd_ctl_card_info_t, CardInfoFree> info(rawInfo);
        if (snd_ctl_card_info(control, info.get()) == 0) {
            opened->cardName = snd_ctl_card_info_get_name(info.get());
        }
    }

    snd_hctl_t* hctl = nullptr;
    if (snd_hctl_open_ctl(&hctl, control) < 0) {
        snd_ctl_close(control);
        return MMSYSERR_ERROR;
    }
    snd_mixer_t* rawMixer = nullptr;
    if (snd_mixer_open(&rawMixer, 0) < 0) {
        snd_hctl_close(hctl);
        return MMSYSERR_NOMEM;
    }
    opened->mixer.reset(rawMixer);
    // On failure the mixer has closed the hctl itself; from here the mixer owns it.
    if (snd_mixer_attach_hctl(rawMixer, hctl) < 0 ||
        snd_mixer_selem_register(rawMixer, nullptr, nullptr) < 0 || snd_mixer_load(rawMixer) < 0) {
        return MMSYSERR_ERROR;
    }

    std::vector<Device::Line> playback;
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(rawMixer); element != nullptr;
         element = snd_mixer_elem_next(element)) {
        const bool hasSwitch = snd_mixer_selem_has_playback_switch(element) > 0;
        if (!hasSwitch && snd_mixer_selem_has_playback_volume(element) <= 0) {
            continue;
        }
        Device::Line line;
        line.element = element;
        line.name = snd_mixer_selem_get_name(element);
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
        line.joined = hasSwitch && snd_mixer_selem_has_playback_switch_joined(element) > 0;
        playback.push_back(std::move(line));
    }
    for (const char* master : {"Master", "Headphone", "PCM"}) {
        const auto found =
            std::find_if(playback.begin(), playback.end(),
                         [master](const Device::Line& line) { return NameIs(line.name, master); });
        if (found != playback.end()) {
            found->componentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
            opened->lines.push_back(std::move(*found));
            playback.erase(found);
            for (Device::Line& source : playback) {
                source.componentType = SourceTypeForElement(source.name);
                opened->lines.push_back(std::move(source));
            }
            break;
        }
    }
    for (const Device::Line& line : opened->lines) {
        snd_mixer_elem_set_callback(line.element, &ElementEvent);
        snd_mixer_elem_set_callback_private(line.element, opened.get());
    }

    const MixerHandle assigned = nextHandle_++;
    opened->callback = std::move(callback);
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
    control.fdwControl = line.joined ? MIXERCONTROL_CONTROLF_UNIFORM : 0;
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
    const std::uint32_t count = line->ValueCount();
    if (details.cbDetails != sizeof(std::uint32_t) || details.cChannels != count ||
        (count > 0 && details.paDetails == nullptr)) {
        result = MMSYSERR_INVALPARAM;
        return static_cast<decltype(line)>(nullptr);
    }
    result = MMSYSERR_NOERROR;
    return line;
}

snd_mixer_selem_channel_id_t FirstChannel(const std::vector<snd_mixer_selem_channel_id_t>& ids) {
    return ids.empty() ? SND_MIXER_SCHN_MONO : ids.front();
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
    for (std::uint32_t i = 0; i < details.cChannels; ++i) {
        const snd_mixer_selem_channel_id_t channel =
            line->joined ? FirstChannel(line->channels) : line->channels[i];
        int on = 0;
        if (snd_mixer_selem_get_playback_switch(line->element, channel, &on) < 0) {
            return MMSYSERR_ERROR;
        }
        details.paDetails[i] = on != 0 ? 0 : 1; // switch on = not muted
    }
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
    if (line->joined) {
        if (snd_mixer_selem_set_playback_switch_all(line->element,
                                                    details.paDetails[0] != 0 ? 0 : 1) < 0) {
            return MMSYSERR_ERROR;
        }
    } else {
        for (std::uint32_t i = 0; i < details.cChannels; ++i) {
            if (snd_mixer_selem_set_playback_switch(line->element, line->channels[i],
                                                    details.paDetails[i] != 0 ? 0 : 1) < 0) {
                return MMSYSERR_ERROR;
            }
        }
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
