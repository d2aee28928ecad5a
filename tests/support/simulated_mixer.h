#pragma once

// A mixer in memory for tests: devices, lines and controls as scripted, failures injected per
// call, and notifications queued like window messages until the test lets them through.

#include "mixer/mixer_api.h"

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace kfg::mixer {

class SimulatedMixer : public MixerApi {
public:
    struct Control {
        MixerControl control;              // dwControlID must be unique on the device
        std::vector<std::uint32_t> values; // resized to the control's value count
    };
    struct Line {
        std::uint32_t componentType = 0;
        std::string name;
        std::string shortName;
        std::uint32_t channels = 2;
        std::vector<Control> controls;
    };
    struct Destination {
        Line line;
        std::vector<Line> sources;
    };
    struct Device {
        std::string name;
        std::vector<Destination> destinations;
        // What the capabilities report instead of the real destination count, if set.
        std::optional<std::uint32_t> reportedDestinations;
    };

    enum class Call : std::size_t {
        Open,
        Close,
        GetDestinationLine,
        GetSourceLine,
        GetControlDetails,
        SetControlDetails,
        Count_,
    };

    void AddDevice(Device device);
    // From now on `call` answers `result` (NOERROR: works again).
    void Fail(Call call, MmResult result) { counters_[Index(call)].failure = result; }
    unsigned Calls(Call call) const { return counters_[Index(call)].calls; }
    std::size_t OpenHandles() const { return open_.size(); }

    // The current values of a control of device 0 (empty for an unknown id).
    std::vector<std::uint32_t> ControlValues(std::uint32_t controlId) const;
    // Another program changes a control of device 0: every open handle of it is notified.
    void ChangeFromOutside(std::uint32_t controlId, std::vector<std::uint32_t> values);

    std::uint32_t GetNumDevs() override { return static_cast<std::uint32_t>(devices_.size()); }
    [[nodiscard]] MmResult Open(MixerHandle& handle, std::uint32_t device,
                                MixerCallback callback) override;
    [[nodiscard]] MmResult Close(MixerHandle handle) override;
    [[nodiscard]] MmResult GetDevCaps(MixerHandle handle, MixerCaps& caps) override;
    [[nodiscard]] MmResult GetLineInfo(MixerHandle handle, MixerLine& line,
                                       std::uint32_t flags) override;
    [[nodiscard]] MmResult GetControlByType(MixerHandle handle, std::uint32_t lineId,
                                            std::uint32_t controlType,
                                            MixerControl& control) override;
    [[nodiscard]] MmResult GetControlDetails(MixerHandle handle,
                                             MixerControlDetails& details) override;
    [[nodiscard]] MmResult SetControlDetails(MixerHandle handle,
                                             const MixerControlDetails& details) override;
    void ProcessPendingEvents(MixerHandle handle) override;

private:
    struct Counter {
        unsigned calls = 0;
        MmResult failure = MMSYSERR_NOERROR;
    };
    struct OpenDevice {
        std::uint32_t device;
        MixerCallback callback;
        std::vector<std::uint32_t> pending; // changed control ids, not yet delivered
    };

    static std::size_t Index(Call call) { return static_cast<std::size_t>(call); }
    // Counts the call; the injected result, or NOERROR.
    [[nodiscard]] MmResult Enter(Call call) {
        ++counters_[Index(call)].calls;
        return counters_[Index(call)].failure;
    }
    Device* DeviceOf(MixerHandle handle);
    Control* FindControl(std::uint32_t device, std::uint32_t controlId);
    // Counts the call; the injected result, or whether the request fits the control.
    [[nodiscard]] MmResult CheckDetails(Call call, MixerHandle handle,
                                        const MixerControlDetails& details, Control*& found);
    void QueueFor(std::uint32_t device, std::uint32_t controlId);

    std::vector<Device> devices_;
    std::array<Counter, static_cast<std::size_t>(Call::Count_)> counters_{};
    std::map<MixerHandle, OpenDevice> open_;
    MixerHandle nextHandle_ = 0x100;
};

} // namespace kfg::mixer
