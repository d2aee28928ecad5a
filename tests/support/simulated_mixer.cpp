#include "support/simulated_mixer.h"

#include <algorithm>
#include <iterator>

namespace kfg::mixer {

namespace {

// Line ids carry their place, so a lookup needs no table: destination in the high half,
// source + 1 in the low half (0 for the destination itself).
std::uint32_t LineId(std::uint32_t destination, std::uint32_t source, bool isSource) {
    return (destination << 16) | (isSource ? source + 1 : 0);
}

// Calls `visit` with every line of the device, destinations and sources alike, until it says
// stop.
template <class Visit>
void ForEachLine(SimulatedMixer::Device& device, const Visit& visit) {
    for (SimulatedMixer::Destination& destination : device.destinations) {
        if (visit(destination.line)) {
            return;
        }
        for (SimulatedMixer::Line& source : destination.sources) {
            if (visit(source)) {
                return;
            }
        }
    }
}

} // namespace

void SimulatedMixer::AddDevice(Device device) {
    ForEachLine(device, [](Line& line) {
        for (Control& control : line.controls) {
            control.values.resize(ValueCount(line, control.control));
        }
        return false;
    });
    devices_.push_back(std::move(device));
}

void SimulatedMixer::Fail(Call call, MmResult result, unsigned succeedFirst) {
    counters_[Index(call)].failure = std::pair{counters_[Index(call)].calls + succeedFirst, result};
}

MmResult SimulatedMixer::Enter(Call call) {
    Counter& counter = counters_[Index(call)];
    const unsigned number = counter.calls++;
    if (counter.failure && number >= counter.failure->first) {
        return counter.failure->second;
    }
    return MMSYSERR_NOERROR;
}

std::size_t SimulatedMixer::ValueCount(const Line& line, const MixerControl& control) {
    const std::size_t channels =
        (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0 ? 1 : line.channels;
    const std::size_t items =
        (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0 ? control.cMultipleItems : 1;
    return channels * items;
}

SimulatedMixer::Device* SimulatedMixer::DeviceOf(MixerHandle handle) {
    const auto found = open_.find(handle);
    return found == open_.end() ? nullptr : &devices_[found->second.first];
}

SimulatedMixer::Found SimulatedMixer::FindControl(std::uint32_t device, std::uint32_t controlId) {
    Found found;
    if (device < devices_.size()) {
        ForEachLine(devices_[device], [&](Line& line) {
            for (Control& control : line.controls) {
                if (control.control.dwControlID == controlId) {
                    found = {&line, &control};
                }
            }
            return found.control != nullptr;
        });
    }
    return found;
}

std::vector<std::uint32_t> SimulatedMixer::ControlValues(std::uint32_t controlId) const {
    // The search does not write; it only hands out pointers the caller may write through.
    const Found found = const_cast<SimulatedMixer*>(this)->FindControl(0, controlId);
    return found.control == nullptr ? std::vector<std::uint32_t>{} : found.control->values;
}

void SimulatedMixer::ChangeFromOutside(std::uint32_t controlId, std::vector<std::uint32_t> values) {
    if (const Found found = FindControl(0, controlId); found.control != nullptr) {
        values.resize(found.control->values.size());
        found.control->values = std::move(values);
        QueueFor(0, controlId);
    }
}

void SimulatedMixer::QueueFor(std::uint32_t device, std::uint32_t controlId) {
    for (const auto& [handle, entry] : open_) {
        if (entry.first == device) {
            pending_.push_back({handle, controlId});
        }
    }
}

void SimulatedMixer::ProcessPendingEvents(MixerHandle handle) {
    // A callback may close the handle or cause new notifications: deliver what is queued now.
    const auto mine = [handle](const Pending& pending) { return pending.handle == handle; };
    std::vector<Pending> batch;
    std::copy_if(pending_.begin(), pending_.end(), std::back_inserter(batch), mine);
    std::erase_if(pending_, mine);
    for (const Pending& pending : batch) {
        const auto found = open_.find(handle);
        if (found != open_.end() && found->second.second) {
            const MixerCallback callback = found->second.second;
            callback(MM_MIXM_CONTROL_CHANGE, handle, pending.controlId);
        }
    }
}

std::uint32_t SimulatedMixer::GetNumDevs() {
    return static_cast<std::uint32_t>(devices_.size());
}

MmResult SimulatedMixer::Open(MixerHandle& handle, std::uint32_t device, MixerCallback callback) {
    if (const MmResult injected = Enter(Call::Open); injected != MMSYSERR_NOERROR) {
        return injected;
    }
    if (device >= devices_.size()) {
        return MMSYSERR_BADDEVICEID;
    }
    handle = nextHandle_++;
    open_[handle] = {device, std::move(callback)};
    return MMSYSERR_NOERROR;
}

MmResult SimulatedMixer::Close(MixerHandle handle) {
    const MmResult injected = Enter(Call::Close);
    // A failed close still ends the handle: the caller forgets it either way.
    if (open_.erase(handle) == 0) {
        return MMSYSERR_INVALHANDLE;
    }
    std::erase_if(pending_, [handle](const Pending& pending) { return pending.handle == handle; });
    return injected;
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
    if (line.dwDestination >= device->destinations.size()) {
        return MIXERR_INVALLINE;
    }
    const Destination& destination = device->destinations[line.dwDestination];
    if (isSource && line.dwSource >= destination.sources.size()) {
        return MIXERR_INVALLINE;
    }
    const Line& found = isSource ? destination.sources[line.dwSource] : destination.line;
    MixerLine out;
    out.dwDestination = line.dwDestination;
    out.dwSource = isSource ? line.dwSource : 0;
    out.dwLineID = LineId(out.dwDestination, out.dwSource, isSource);
    out.dwComponentType = found.componentType;
    out.cChannels = found.channels;
    out.cConnections = isSource ? 0 : static_cast<std::uint32_t>(destination.sources.size());
    out.cControls = static_cast<std::uint32_t>(found.controls.size());
    out.szShortName = found.shortName;
    out.szName = found.name;
    line = std::move(out);
    return MMSYSERR_NOERROR;
}

MmResult SimulatedMixer::GetControlByType(MixerHandle handle, std::uint32_t lineId,
                                          std::uint32_t controlType, MixerControl& control) {
    const Device* device = DeviceOf(handle);
    if (device == nullptr) {
        return MMSYSERR_INVALHANDLE;
    }
    const std::uint32_t destinationIndex = lineId >> 16;
    const std::uint32_t sourcePart = lineId & 0xFFFF;
    if (destinationIndex >= device->destinations.size()) {
        return MIXERR_INVALLINE;
    }
    const Destination& destination = device->destinations[destinationIndex];
    if (sourcePart > destination.sources.size()) {
        return MIXERR_INVALLINE;
    }
    const Line& line = sourcePart == 0 ? destination.line : destination.sources[sourcePart - 1];
    for (const Control& candidate : line.controls) {
        if (candidate.control.dwControlType == controlType) {
            control = candidate.control;
            return MMSYSERR_NOERROR;
        }
    }
    return MIXERR_INVALCONTROL;
}

MmResult SimulatedMixer::CheckDetails(Call call, MixerHandle handle,
                                      const MixerControlDetails& details, Found& found) {
    if (const MmResult injected = Enter(call); injected != MMSYSERR_NOERROR) {
        return injected;
    }
    const auto entry = open_.find(handle);
    if (entry == open_.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    found = FindControl(entry->second.first, details.dwControlID);
    if (found.control == nullptr) {
        return MIXERR_INVALCONTROL;
    }
    const MixerControl& control = found.control->control;
    const std::uint32_t channels =
        (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0 ? 1 : found.line->channels;
    const bool multiple = (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
    if (details.cbDetails != sizeof(std::uint32_t) || details.cChannels != channels ||
        (multiple && details.cMultipleItems != control.cMultipleItems) ||
        (details.paDetails == nullptr && !found.control->values.empty())) {
        return MMSYSERR_INVALPARAM;
    }
    return MMSYSERR_NOERROR;
}

MmResult SimulatedMixer::GetControlDetails(MixerHandle handle, MixerControlDetails& details) {
    Found found;
    if (const MmResult checked = CheckDetails(Call::GetControlDetails, handle, details, found);
        checked != MMSYSERR_NOERROR) {
        return checked;
    }
    std::copy(found.control->values.begin(), found.control->values.end(), details.paDetails);
    return MMSYSERR_NOERROR;
}

MmResult SimulatedMixer::SetControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    Found found;
    if (const MmResult checked = CheckDetails(Call::SetControlDetails, handle, details, found);
        checked != MMSYSERR_NOERROR) {
        return checked;
    }
    std::copy(details.paDetails, details.paDetails + found.control->values.size(),
              found.control->values.begin());
    // Like the Windows mixer, every open handle hears of the change, the writer's too.
    QueueFor(open_[handle].first, details.dwControlID);
    return MMSYSERR_NOERROR;
}

} // namespace kfg::mixer
