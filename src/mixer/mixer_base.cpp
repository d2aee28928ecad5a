#include "mixer/mixer_base.h"

#include <QByteArray>
#include <cstdarg>
#include <cstdio>
#include <new>

namespace kfg::mixer {
namespace {

// Bindings whose buffer would exceed this many values are refused like a failed allocation.
constexpr std::uint64_t kMaxControlValues = 1U << 16;

} // namespace

Q_LOGGING_CATEGORY(kfgMixer, "kfg.mixer", QtCriticalMsg)

const char* ControlTypeName(std::uint32_t controlType) {
    switch (controlType) {
    case MIXERCONTROL_CONTROLTYPE_CUSTOM:
        return "MIXERCONTROL_CONTROLTYPE_CUSTOM";
    case MIXERCONTROL_CONTROLTYPE_MUTE:
        return "MIXERCONTROL_CONTROLTYPE_MUTE";
    default:
        return "---- UNKNOWN CONTROL TYPE ----";
    }
}

const char* LineTypeName(std::uint32_t componentType) {
    switch (componentType) {
    case MIXERLINE_COMPONENTTYPE_DST_SPEAKERS:
        return "MIXERLINE_COMPONENTTYPE_DST_SPEAKERS";
    case MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED:
        return "MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED";
    case MIXERLINE_COMPONENTTYPE_SRC_LINE:
        return "MIXERLINE_COMPONENTTYPE_SRC_LINE";
    case MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY:
        return "MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY";
    case MIXERLINE_COMPONENTTYPE_SRC_ANALOG:
        return "MIXERLINE_COMPONENTTYPE_SRC_ANALOG";
    default:
        return "---- UNKNOWN LINE TYPE ----";
    }
}

void ReportDiagnostic(const char* sourceTag, const char* format, ...) {
    if (!kfgMixer().isWarningEnabled()) {
        return;
    }
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    QByteArray text(length > 0 ? length : 0, '\0');
    if (length > 0) {
        std::vsnprintf(text.data(), static_cast<std::size_t>(length) + 1, format, args);
    }
    va_end(args);
    qCWarning(kfgMixer).noquote() << QString::fromUtf8(sourceTag) + QStringLiteral(": ") +
                                         QString::fromUtf8(text);
}

CMixerBase::CMixerBase(std::shared_ptr<MixerApi> api)
    : api_(std::move(api)) {}

CMixerBase::~CMixerBase() {
    CloseMixer();
}

bool CMixerBase::Init(std::uint32_t destinationType, std::uint32_t sourceType,
                      std::uint32_t controlType, MixerCallback notify) {
    if (api_ == nullptr || api_->GetNumDevs() == 0) {
        ReportDiagnostic("CMixerBase::Init", "No mixer device present");
        return false;
    }
    if (handle_ != 0) {
        (void)api_->Close(handle_); // the handle is given up either way; a failure changes nothing
        handle_ = 0;
    }
    MixerHandle opened = 0;
    if (api_->Open(opened, 0, std::move(notify)) != MMSYSERR_NOERROR || opened == 0) {
        ReportDiagnostic("CMixerBase::Init", "Could not open mixer device");
        return false;
    }
    handle_ = opened;

    MixerLine line;
    if (!FindDestinationLine(line, destinationType)) {
        ReportDiagnostic("CMixerBase::Init", "Warning: the destination line \n%s\nwas not found.",
                         LineTypeName(destinationType));
        CloseMixer();
        return false;
    }
    destinationName_ = line.szName;

    if (sourceType != NoSourceLine && !FindSourceLine(line, sourceType)) {
        ReportDiagnostic("CMixerBase::Init",
                         "Warning: the source line \n%s\n not found.\n\n(Associated to "
                         "Destination line \n%s)",
                         LineTypeName(sourceType), destinationName_.c_str());
        CloseMixer();
        return false;
    }

    lineChannels_ = line.cChannels;
    lineName_ = line.szName;
    lineShortName_ = line.szShortName;
    if (line.cControls == 0) {
        ReportDiagnostic("CMixerBase::Init", "No controls available for this audio line: %s",
                         lineName_.c_str());
        CloseMixer();
        return false;
    }

    if (api_->GetControlByType(handle_, line.dwLineID, controlType, control_) != MMSYSERR_NOERROR) {
        // The Windows program's own message, word for word, so that logs compare.
        ReportDiagnostic("CMixerBase::Init",
                         "Could not find specified mixer control. Associated Windows control "
                         "will be disabled.\nControl type: %s,\n\nDest line type: %s,\nSrc  line "
                         "type: %s\n",
                         ControlTypeName(controlType), LineTypeName(destinationType),
                         LineTypeName(sourceType));
        CloseMixer();
        return false;
    }
    return InitMXDetails();
}

bool CMixerBase::FindDestinationLine(MixerLine& line, std::uint32_t destinationType) {
    MixerCaps caps;
    if (api_->GetDevCaps(handle_, caps) != MMSYSERR_NOERROR ||
        static_cast<std::int32_t>(caps.cDestinations) <= 0) {
        return false;
    }
    for (std::uint32_t i = 0; i < caps.cDestinations; ++i) {
        line.dwDestination = i;
        line.dwSource = 0;
        if (api_->GetLineInfo(handle_, line, MIXER_GETLINEINFOF_DESTINATION) != MMSYSERR_NOERROR) {
            return false;
        }
        if (line.dwComponentType == destinationType) {
            return true;
        }
    }
    return false;
}

bool CMixerBase::FindSourceLine(MixerLine& line, std::uint32_t sourceType) {
    const std::uint32_t connections = line.cConnections;
    const std::uint32_t destination = line.dwDestination;
    for (std::uint32_t j = 0; j < connections; ++j) {
        line.dwSource = j;
        line.dwDestination = destination;
        if (api_->GetLineInfo(handle_, line, MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR) {
            return false;
        }
        if (line.dwComponentType == sourceType) {
            return true;
        }
    }
    return false;
}

bool CMixerBase::InitMXDetails() {
    details_.dwControlID = control_.dwControlID;
    details_.cMultipleItems = control_.cMultipleItems;
    details_.cChannels =
        (control_.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0 ? 1 : lineChannels_;

    switch (control_.dwControlType & MIXERCONTROL_CT_UNITS_MASK) {
    case MIXERCONTROL_CT_UNITS_BOOLEAN:
    case MIXERCONTROL_CT_UNITS_SIGNED:
    case MIXERCONTROL_CT_UNITS_UNSIGNED:
    case MIXERCONTROL_CT_UNITS_DECIBELS:
    case MIXERCONTROL_CT_UNITS_PERCENT:
        break;
    default:
        ReportDiagnostic("CMixerBase::InitMXDetails", "Control uses unknown units.");
        CloseMixer();
        return false;
    }
    details_.cbDetails = sizeof(std::uint32_t);

    const std::uint64_t items =
        (control_.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0 ? control_.cMultipleItems : 1;
    const std::uint64_t count = std::uint64_t{details_.cChannels} * items;
    ReleaseValues();
    bool allocated = count <= kMaxControlValues;
    if (allocated) {
        // The one place a standard container may throw; it must not leave this function.
        try {
            values_.assign(static_cast<std::size_t>(count), 0);
        } catch (const std::bad_alloc&) {
            allocated = false;
        }
    }
    if (!allocated) {
        ReportDiagnostic("CMixerBase::InitMXDetails", "Memory allocation error.");
        CloseMixer();
        return false;
    }
    hasValues_ = true;
    details_.paDetails = values_.data();
    return true;
}

bool CMixerBase::ReadValues() {
    if (handle_ == 0 || !hasValues_) {
        return false;
    }
    details_.paDetails = values_.data();
    return api_->GetControlDetails(handle_, details_) == MMSYSERR_NOERROR;
}

bool CMixerBase::WriteValues() {
    if (handle_ == 0 || !hasValues_) {
        return false;
    }
    details_.paDetails = values_.data();
    return api_->SetControlDetails(handle_, details_) == MMSYSERR_NOERROR;
}

bool CMixerBase::WriteElement(std::size_t index, std::uint32_t value) {
    if (index >= values_.size()) {
        return false;
    }
    values_[index] = value;
    return WriteValues();
}

void CMixerBase::CloseMixer() {
    if (handle_ != 0) {
        (void)api_->Close(handle_); // the handle is given up either way; a failure changes nothing
        handle_ = 0;
    }
    ReleaseValues();
}

void CMixerBase::ReleaseValues() {
    values_ = {};
    hasValues_ = false;
    details_.paDetails = nullptr;
}

} // namespace kfg::mixer
