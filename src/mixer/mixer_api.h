#pragma once

// The mixer as the rest of KFG sees it: a small interface shaped like the Windows multimedia
// mixer functions, so that the binding code follows the original step for step, with one
// implementation per platform (ALSA) and one for tests.

#include <cstdint>
#include <functional>
#include <string>

namespace kfg::mixer {

// 0 means "no device open"; backends hand out other values.
using MixerHandle = std::uint32_t;
// 0 is success, everything else one of the codes below.
using MmResult = std::uint32_t;

inline constexpr MmResult MMSYSERR_NOERROR = 0;
inline constexpr MmResult MMSYSERR_ERROR = 1;
inline constexpr MmResult MMSYSERR_BADDEVICEID = 2;
inline constexpr MmResult MMSYSERR_ALLOCATED = 4;
inline constexpr MmResult MMSYSERR_INVALHANDLE = 5;
inline constexpr MmResult MMSYSERR_NODRIVER = 6;
inline constexpr MmResult MMSYSERR_NOMEM = 7;
inline constexpr MmResult MMSYSERR_NOTSUPPORTED = 8;
inline constexpr MmResult MMSYSERR_INVALFLAG = 10;
inline constexpr MmResult MMSYSERR_INVALPARAM = 11;
inline constexpr MmResult MIXERR_INVALLINE = 1024;
inline constexpr MmResult MIXERR_INVALCONTROL = 1025;
inline constexpr MmResult MIXERR_INVALVALUE = 1026;

// Line component types.
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_DST_UNDEFINED = 0x0000;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = 0x0004;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_DST_HEADPHONES = 0x0005;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED = 0x1000;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_DIGITAL = 0x1001;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_LINE = 0x1002;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE = 0x1003;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER = 0x1004;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC = 0x1005;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE = 0x1006;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER = 0x1007;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT = 0x1008;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY = 0x1009;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_ANALOG = 0x100A;

// Control types: class | subclass | units | index.
inline constexpr std::uint32_t MIXERCONTROL_CT_CLASS_MASK = 0xF0000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_CLASS_CUSTOM = 0x00000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_CLASS_METER = 0x10000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_CLASS_SWITCH = 0x20000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_CLASS_NUMBER = 0x30000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_CLASS_SLIDER = 0x40000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_CLASS_FADER = 0x50000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_CLASS_TIME = 0x60000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_CLASS_LIST = 0x70000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_MASK = 0x00FF0000;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_CUSTOM = 0x00000000;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_BOOLEAN = 0x00010000;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_SIGNED = 0x00020000;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_UNSIGNED = 0x00030000;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_DECIBELS = 0x00040000;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_PERCENT = 0x00050000;

inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_CUSTOM = 0x00000000;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_BOOLEAN = 0x20010000;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_ONOFF = 0x20010001;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_MUTE = 0x20010002;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_SINGLESELECT = 0x70010000;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_MUX = 0x70010001;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT = 0x71010000;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_MIXER = 0x71010001;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001;

// Control flags.
inline constexpr std::uint32_t MIXERCONTROL_CONTROLF_UNIFORM = 0x1;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLF_MULTIPLE = 0x2;

// Flags of GetLineInfo.
inline constexpr std::uint32_t MIXER_GETLINEINFOF_DESTINATION = 0;
inline constexpr std::uint32_t MIXER_GETLINEINFOF_SOURCE = 1;

// Notification messages.
inline constexpr std::uint32_t MM_MIXM_LINE_CHANGE = 0x3D0;
inline constexpr std::uint32_t MM_MIXM_CONTROL_CHANGE = 0x3D1;

struct MixerCaps {
    std::string szPname;
    std::uint32_t cDestinations = 0;
};

// In: dwDestination (and dwSource for a source line). Out: the rest.
struct MixerLine {
    std::uint32_t dwDestination = 0;
    std::uint32_t dwSource = 0;
    std::uint32_t dwLineID = 0;
    std::uint32_t dwComponentType = 0;
    std::uint32_t cChannels = 0;
    std::uint32_t cConnections = 0;
    std::uint32_t cControls = 0;
    std::string szShortName;
    std::string szName;
};

struct MixerControl {
    std::uint32_t dwControlID = 0;
    std::uint32_t dwControlType = 0;
    std::uint32_t fdwControl = 0;
    std::uint32_t cMultipleItems = 0;
    std::string szShortName;
    std::string szName;
    struct {
        std::int32_t lMinimum = 0;
        std::int32_t lMaximum = 0;
    } Bounds;
    struct {
        std::uint32_t cSteps = 0;
    } Metrics;
};

// Request record for reading and writing values. paDetails points at cChannels x
// (cMultipleItems, or 1 when 0) elements of cbDetails (4) bytes, channel-major as the
// Windows mixer orders them; the caller owns the buffer.
struct MixerControlDetails {
    std::uint32_t dwControlID = 0;
    std::uint32_t cChannels = 0;
    std::uint32_t cMultipleItems = 0;
    std::uint32_t cbDetails = 0;
    std::uint32_t* paDetails = nullptr;
};

// Receives MM_MIXM_LINE_CHANGE (id = line id) and MM_MIXM_CONTROL_CHANGE (id = control id)
// on the user-interface thread, never from inside the backend call that caused the change.
using MixerCallback =
    std::function<void(std::uint32_t message, MixerHandle handle, std::uint32_t id)>;

// Every call returns MMSYSERR_NOERROR or an error code and leaves its out records
// unspecified on error. All calls happen on the user-interface thread.
class MixerApi {
public:
    virtual ~MixerApi() = default;

    virtual std::uint32_t GetNumDevs() = 0;
    // Opens device `device`; from then on `callback` receives the change notifications until
    // Close. `handle` is set on success only.
    [[nodiscard]] virtual MmResult Open(MixerHandle& handle, std::uint32_t device,
                                        MixerCallback callback) = 0;
    [[nodiscard]] virtual MmResult Close(MixerHandle handle) = 0;
    [[nodiscard]] virtual MmResult GetDevCaps(MixerHandle handle, MixerCaps& caps) = 0;
    // flags: MIXER_GETLINEINFOF_DESTINATION or MIXER_GETLINEINFOF_SOURCE.
    [[nodiscard]] virtual MmResult GetLineInfo(MixerHandle handle, MixerLine& line,
                                               std::uint32_t flags) = 0;
    // The first control of `controlType` on line `lineId`.
    [[nodiscard]] virtual MmResult GetControlByType(MixerHandle handle, std::uint32_t lineId,
                                                    std::uint32_t controlType,
                                                    MixerControl& control) = 0;
    [[nodiscard]] virtual MmResult GetControlDetails(MixerHandle handle,
                                                     MixerControlDetails& details) = 0;
    [[nodiscard]] virtual MmResult SetControlDetails(MixerHandle handle,
                                                     const MixerControlDetails& details) = 0;
    // Delivers, now, the notifications for `handle` that are waiting for the event loop.
    virtual void ProcessPendingEvents(MixerHandle handle) = 0;
};

} // namespace kfg::mixer
