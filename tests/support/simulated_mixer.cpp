#include "support/simulated_mixer.h"

#include <algorithm>

namespace kfg::mixer {

namespace {

// The line `lineId` names on `device`, or null. Line ids carry their place, so a lookup needs
// no table: destination in the high half, source + 1 in the low half (0 for the destination).
const SimulatedMixer::Line* LineOf(const SimulatedMixer::Device& device, std::uint32_t lineId) {
    const std::uint32_t destination = lineId >> 16;
    const std::uint32_t source = lineId & 0xFFFF;
    if (destination >= device.destinations.size() ||
        source > device.destinations[destination].sources.size()) {
        return nullptr;
    }
    const SimulatedMixer::Destination& found = device.destinations[destination];
    return source == 0 ? &found.line : &found.sources[source - 1];
}

// Calls `visit` with every line of the device, destinations and sources alike.
template <class Visit>
void ForEachLine(SimulatedMixer::Device& device, const Visit& visit) {
    for (SimulatedMixer::Destination& destination : device.destinations) {
        visit(destination.line);
        for (SimulatedMixer::Line& source : destination.sources) {
            visit(source);
        }
    }
}

} // namespace

void SimulatedMixer::AddDevice(Device device) {
    ForEachLine(device, [](Line& line) {
        for (Control& control : line.controls) {
            const MixerControl& shape = control.control;
            const bool uniform = (shape.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0;
            const bool multiple = (shape.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
            control.values.resize(std::size_t{uniform ? 1 : line.channels} *
                                  (multiple ? shape.cMultipleItems : 1));
        }
    });
    devices_.push_back(std::move(device));
}

SimulatedMixer::Device* SimulatedMixer::DeviceOf(MixerHandle handle) {
    const auto found = open_.find(handle);
    return found == open_.end() ? nullptr : &devices_[found->second.device];
}

SimulatedMixer::Control* SimulatedMixer::FindControl(std::uint32_t device,
                                                     std::uint32_t controlId) {
    Control* found = nullptr;
    if (device < devices_.size()) {
        ForEachLine(devices_[device], [&](Line& line) {
            for (Control& control : line.controls) {
                if (control.control.dwControlID == controlId) {
                    found = &control;
                }
            }
        });
    }
    return found;
}

std::vector<std::uint32_t> SimulatedMixer::ControlValues(std::uint32_t controlId) const {
    // The search does not write; it only hands out pointers the caller may write through.
    const Control* found = const_cast<SimulatedMixer*>(this)->FindControl(0, controlId);
    return found == nullptr ? std::vector<std::uint32_t>{} : found->values;
}

void SimulatedMixer::ChangeFromOutside(std::uint32_t controlId, std::vector<std::uint32_t> values) {
    if (Control* found = FindControl(0, controlId); found != nullptr) {
        found->values = std::move(values);
        QueueFor(0, controlId);
    }
}

void SimulatedMixer::QueueFor(std::uint32_t device, std::uint32_t controlId) {
    for (auto& [handle, open] : open_) {
        if (open.device == device) {
            open.pending.push_back(controlId);
        }
    }
}

void SimulatedMixer::ProcessPendingEvents(MixerHandle handle) {
    // A callback may cause new notifications: deliver what is queued now.
    const auto found = open_.find(handle);
    if (found == open_.end() || !found->second.callback) {
        return;
    }
    const MixerCallback callback = found->second.callback;
    for (const std::uint32_t controlId : std::exchange(found->second.pending, {})) {
        callback(MM_MIXM_CONTROL_CHANGE, handle, controlId);
    }
}

MmResult SimulatedMixer::Open(MixerHandle& handle, std::uint32_t device, MixerCallback callback) {
    if (const MmResult injected = Enter(Call::Open); injected != MMSYSERR_NOERROR) {
        return injected;
    }
    if (device >= devices_.size()) {
        return MMSYSERR_BADDEVICEID;
    }
    handle = nextHandle_++;
    open_[handle] = {device, std::move(callback), {}};
    return MMSYSERR_NOERROR;
}

MmResult SimulatedMixer::Close(MixerHandle handle) {
    const MmResult injected = Enter(Call::Close);
    // A failed close still ends the handle: the caller forgets it either way.
    return open_.erase(handle) == 0 ? MMSYSERR_INVALHANDLE : injected;
}

MmResult SimulatedMixer::GetDevCaps(MixerHandle handle, MixerCaps& caps) {
    const Device* device = DeviceOf(handle);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    caps.szPname = device->name;
    caps.cDestinations = device->reportedDestinations.value_or(
        static_cast<std::uint32_t>(device->destinations.size()));
    return MMSYSERR_NOERROR;
}

MmResult SimulatedMixer::GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) {
    const bool isSource = flags == MIXER_GETLINEINFOF_SOURCE;
    const MmResult injected = Enter(isSource ? Call::GetSourceLine : Call::GetDestinationLine);
    if (injected != MMSYSERR_NOERROR) {
        return injected;
    }
    const Device* device = DeviceOf(handle);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    line.dwSource = isSource ? line.dwSource : 0;
    line.dwLineID = (line.dwDestination << 16) | (isSource ? line.dwSource + 1 : 0);
    const Line* found = LineOf(*device, line.dwLineID);
    if (found == nullptr) {
        return MIXERR_INVALLINE;
    }
    line.dwComponentType = found->componentType;
    line.cChannels = found->channels;
    const Destination& destination = device->destinations[line.dwDestination];
    line.cConnections = isSource ? 0 : static_cast<std::uint32_t>(destination.sources.size());
    line.cControls = static_cast<std::uint32_t>(found->controls.size());
    line.szShortName = found->shortName;
    line.szName = found->name;
    return MMSYSERR_NOERROR;
}

MmResult SimulatedMixer::GetControlByType(MixerHandle handle, std::uint32_t lineId,
                                          std::uint32_t controlType, MixerControl& control) {
    const Device* device = DeviceOf(handle);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    const Line* line = LineOf(*device, lineId);
    if (line == nullptr) {
        return MIXERR_INVALLINE;
    }
    for (const Control& candidate : line->controls) {
        if (candidate.control.dwControlType == controlType) {
            control = candidate.control;
            return MMSYSERR_NOERROR;
        }
    }
    return MIXERR_INVALCONTROL;
}

MmResult SimulatedMixer::CheckDetails(Call call, MixerHandle handle,
                                      const MixerControlDetails& details, Control*& found) {
    if (const MmResult injected = Enter(call); injected != MMSYSERR_NOERROR) {
        return injected;
    }
    const auto entry = open_.find(handle);
    if (entry == open_.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    found = FindControl(entry->second.device, details.dwControlID);
    if (found == nullptr) {
        return MIXERR_INVALCONTROL;
    }
    // The values were sized for the control's channels and items when the device was added.
    const MixerControl& control = found->control;
    const bool multiple = (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
    if (details.cbDetails != sizeof(std::uint32_t) ||
        (multiple && details.cMultipleItems != control.cMultipleItems) ||
        details.cChannels * (multiple ? control.cMultipleItems : 1) != found->values.size() ||
        (details.paDetails == nullptr && !found->values.empty())) {
        return MMSYSERR_INVALPARAM;
    }
    return MMSYSERR_NOERROR;
}

MmResult SimulatedMixer::GetControlDetails(MixerHandle handle, MixerControlDetails& details) {
    Control* found = nullptr;
    if (const MmResult checked = CheckDetails(Call::GetControlDetails, handle, details, found);
        checked != MMSYSERR_NOERROR) {
        return checked;
    }
    std::copy(found->values.begin(), found->values.end(), details.paDetails);
    return MMSYSERR_NOERROR;
}

MmResult SimulatedMixer::SetControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    Control* found = nullptr;
    if (const MmResult checked = CheckDetails(Call::SetControlDetails, handle, details, found);
        checked != MMSYSERR_NOERROR) {
        return checked;
    }
    std::copy(details.paDetails, details.paDetails + found->values.size(), found->values.begin());
    // Like the Windows mixer, every open handle hears of the change, the writer's too.
    QueueFor(open_[handle].device, details.dwControlID);
    return MMSYSERR_NOERROR;
}

} // namespace kfg::mixer
