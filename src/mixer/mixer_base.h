#pragma once

// Binds one control of mixer device 0: finds a destination line by component type, optionally
// one of its source lines, takes the first control of a type on that line and keeps a buffer
// through which its values are read and written. Failures are reported to the "kfg.mixer"
// logging category only; callers see the result.

#include "mixer/mixer_api.h"

#include <QLoggingCategory>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kfg::mixer {

Q_DECLARE_LOGGING_CATEGORY(kfgMixer)

// As sourceType: take the control from the destination line itself.
inline constexpr std::uint32_t NoSourceLine = 4107;

const char* ControlTypeName(std::uint32_t controlType);
const char* LineTypeName(std::uint32_t componentType);

// Writes "sourceTag: message" to kfg.mixer (off unless QT_LOGGING_RULES enables it).
void ReportDiagnostic(const char* sourceTag, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

class CMixerBase {
public:
    explicit CMixerBase(std::shared_ptr<MixerApi> api);
    virtual ~CMixerBase();
    CMixerBase(const CMixerBase&) = delete;
    CMixerBase& operator=(const CMixerBase&) = delete;

    // Opens device 0 with `notify` as its sink and binds the control. True on success; after
    // a failure once the device was open, nothing is open and Values() is empty.
    [[nodiscard]] bool Init(std::uint32_t destinationType, std::uint32_t sourceType,
                            std::uint32_t controlType, MixerCallback notify);
    // Fills Details() and allocates Values() for Control() and LineChannels().
    [[nodiscard]] bool InitMXDetails();
    // Reads the current values into Values(); false (and Values() unchanged in meaning) on error.
    [[nodiscard]] bool ReadValues();
    // Sends all of Values() to the control.
    [[nodiscard]] bool WriteValues();
    // Sets element `index` of Values() to `value` and sends them: the one write of a two-state
    // element, a switch's click as much as kfgctl's unmuting. False when there is no such
    // element or the write fails; the buffer keeps `value` either way.
    [[nodiscard]] bool WriteElement(std::size_t index, std::uint32_t value);
    // Closes the device and releases Values(); safe to repeat.
    void CloseMixer();

    const std::string& LineName() const { return lineName_; }
    const std::string& DestinationName() const { return destinationName_; }
    const std::string& LineShortName() const { return lineShortName_; }
    MixerHandle Handle() const { return handle_; }
    const MixerControl& Control() const { return control_; }
    std::uint32_t LineChannels() const { return lineChannels_; }
    const MixerControlDetails& Details() const { return details_; }
    // Empty while unbound. Elements are defined after the first successful ReadValues.
    std::span<std::uint32_t> Values() { return values_; }
    std::span<const std::uint32_t> Values() const { return values_; }
    bool HasValues() const { return hasValues_; }

protected:
    MixerApi& Api() { return *api_; }

private:
    [[nodiscard]] bool FindDestinationLine(MixerLine& line, std::uint32_t destinationType);
    [[nodiscard]] bool FindSourceLine(MixerLine& line, std::uint32_t sourceType);
    void ReleaseValues();

    std::shared_ptr<MixerApi> api_;
    std::string lineName_;
    std::string destinationName_;
    std::string lineShortName_;
    MixerHandle handle_ = 0;
    MixerControl control_;
    std::uint32_t lineChannels_ = 0;
    MixerControlDetails details_;
    std::vector<std::uint32_t> values_;
    bool hasValues_ = false; // "none" differs from an empty buffer of a zero-channel line
};

} // namespace kfg::mixer
