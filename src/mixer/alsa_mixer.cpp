#include "mixer/alsa_mixer.h"

#include "mixer/alsa_device.h"
#include "mixer/mixer_base.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <utility>

namespace kfg::mixer {

namespace {

// Windows mixers cut names to these lengths (with the terminator).
constexpr std::size_t kShortNameChars = 15;
constexpr std::size_t kNameChars = 63;

// The descriptors to watch for the mixer's events.
std::vector<pollfd> PollDescriptors(snd_mixer_t* mixer) {
    std::vector<pollfd> descriptors(
        static_cast<std::size_t>(std::max(0, snd_mixer_poll_descriptors_count(mixer))));
    const int filled = descriptors.empty()
                           ? 0
                           : snd_mixer_poll_descriptors(mixer, descriptors.data(),
                                                        static_cast<unsigned>(descriptors.size()));
    descriptors.resize(static_cast<std::size_t>(std::max(0, filled)));
    return descriptors;
}

} // namespace

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
        const std::unique_ptr<Device> probe = LoadAlsaDevice(*cards_, cards[i]);
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
    std::unique_ptr<Device> opened = LoadAlsaDevice(*cards_, order[device]);
    if (opened == nullptr) {
        return MMSYSERR_ERROR;
    }

    const MixerHandle assigned = nextHandle_++;
    opened->callback = std::move(callback);
    if (QCoreApplication::instance() != nullptr) {
        WatchDescriptors(*opened, assigned);
    }
    devices_[assigned] = std::move(opened);
    handle = assigned;
    return MMSYSERR_NOERROR;
}

void AlsaMixer::WatchDescriptors(Device& device, MixerHandle handle) {
    device.context = std::make_unique<QObject>();
    for (const pollfd& descriptor : PollDescriptors(device.mixer.get())) {
        // The viewer that replaces us must not inherit the card.
        ::fcntl(descriptor.fd, F_SETFD, ::fcntl(descriptor.fd, F_GETFD) | FD_CLOEXEC);
        auto notifier = std::make_unique<QSocketNotifier>(descriptor.fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                         [this, handle] { HandleEvents(handle, false); });
        device.notifiers.push_back(std::move(notifier));
    }
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

struct AlsaMixer::LineRequest {
    MmResult result = MMSYSERR_NOERROR;
    Device* device = nullptr;
    const Device::Line* line = nullptr;
};

AlsaMixer::LineRequest AlsaMixer::LineFor(MixerHandle handle, const MixerControlDetails& details) {
    Device* device = Find(handle);
    if (device == nullptr) {
        return {MMSYSERR_INVALHANDLE};
    }
    const std::uint32_t index = details.dwControlID - 1;
    if (details.dwControlID == 0 || index >= device->lines.size() ||
        !device->lines[index].hasSwitch || device->lines[index].element == nullptr) {
        return {MIXERR_INVALCONTROL};
    }
    if (details.cbDetails != sizeof(std::uint32_t) || details.cChannels != 1 ||
        details.paDetails == nullptr) {
        return {MMSYSERR_INVALPARAM};
    }
    return {MMSYSERR_NOERROR, device, &device->lines[index]};
}

MmResult AlsaMixer::GetControlDetails(MixerHandle handle, MixerControlDetails& details) {
    const LineRequest request = LineFor(handle, details);
    if (request.result != MMSYSERR_NOERROR) {
        return request.result;
    }
    const std::optional<bool> audible = Audible(*request.line);
    if (!audible) {
        return MMSYSERR_ERROR;
    }
    details.paDetails[0] = *audible ? 0 : 1;
    return MMSYSERR_NOERROR;
}

MmResult AlsaMixer::SetControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    const LineRequest request = LineFor(handle, details);
    if (request.result != MMSYSERR_NOERROR) {
        return request.result;
    }
    const Device::Line* line = request.line;
    Device* device = request.device;
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
        std::vector<pollfd> descriptors = PollDescriptors(device->mixer.get());
        ready = !descriptors.empty() &&
                ::poll(descriptors.data(), static_cast<nfds_t>(descriptors.size()), 0) > 0;
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
