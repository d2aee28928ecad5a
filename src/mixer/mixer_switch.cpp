#include "mixer/mixer_switch.h"

#include "framework/dialog.h"

#include <QAbstractButton>

namespace kfg::mixer {

CMixerSwitch::CMixerSwitch(std::shared_ptr<MixerApi> api)
    : CMixerBase(std::move(api)) {}

CMixerSwitch::~CMixerSwitch() {
    Disconnect();
    CloseMixer();
}

void CMixerSwitch::Attach(framework::Dialog& dialog, int id) {
    Disconnect();
    button_ = qobject_cast<QAbstractButton*>(dialog.Item(id));
    if (button_.isNull()) {
        return;
    }
    // The button handles its own clicks, as a reflected notification would.
    clicked_ = QObject::connect(button_.data(), &QAbstractButton::clicked, [this] { OnClicked(); });
    destroyed_ = QObject::connect(button_.data(), &QObject::destroyed, [this] { OnDestroy(); });
}

void CMixerSwitch::Detach() {
    Disconnect();
}

void CMixerSwitch::Disconnect() {
    QObject::disconnect(clicked_);
    QObject::disconnect(destroyed_);
    button_.clear();
}

bool CMixerSwitch::Init(std::uint32_t destinationType, std::uint32_t sourceType,
                        std::uint32_t controlType, std::int32_t index) {
    if (button_.isNull()) {
        // The Windows program's own message and origin (its fader class), word for word.
        ReportDiagnostic("CMixerFader::Init",
                         "No Window attached. Did you create or subclass one?");
        return false;
    }
    button_->setEnabled(false);

    switch (controlType & MIXERCONTROL_CT_CLASS_MASK) {
    case MIXERCONTROL_CT_CLASS_SWITCH:
        break; // always shown through the element chosen before, the first one by default
    case MIXERCONTROL_CT_CLASS_LIST:
        valueIndex_ = index;
        break;
    default:
        ReportDiagnostic("CMixerSwitch::Init", "Wrong control type: %s",
                         ControlTypeName(controlType));
        return false;
    }

    const MixerCallback notify = [this](std::uint32_t message, MixerHandle handle,
                                        std::uint32_t id) {
        if (message == MM_MIXM_CONTROL_CHANGE) {
            OnMixerControlChange(handle, id);
        }
    };
    if (!CMixerBase::Init(destinationType, sourceType, controlType, notify)) {
        return false;
    }

    if ((Control().fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0 &&
        (index < 0 || static_cast<std::uint32_t>(index) >= Control().cMultipleItems)) {
        // The Windows program's own message and origin (its number class), word for word.
        ReportDiagnostic("CMixerNumber::Init", "Invalid control index passed: %d", index);
        CloseMixer();
        return false;
    }
    // The element shown must exist: a list control without items, or a line without
    // channels, would otherwise be read past its end.
    if (ShownValue() == nullptr) {
        ReportDiagnostic("CMixerSwitch::Init", "Value index %d outside the control's %zu values",
                         valueIndex_, Values().size());
        CloseMixer();
        return false;
    }

    if (ReadValues()) {
        button_->setEnabled(true);
        SetCheckFromValue();
    }
    return true;
}

void CMixerSwitch::OnClicked() {
    const std::uint32_t* value = ShownValue();
    if (Handle() == 0 || value == nullptr) {
        ReportDiagnostic("CMixerSwitch::OnClicked", "Error: Did you call Init() first?");
        return;
    }
    // A failed write is silent, as in the original: the check mark shows the new value.
    (void)WriteElement(static_cast<std::size_t>(valueIndex_), *value == 0 ? 1 : 0);
    SetCheckFromValue();
}

long CMixerSwitch::OnMixerControlChange(MixerHandle /*handle*/, std::uint32_t controlId) {
    if (Handle() != 0 && controlId == Control().dwControlID && ReadValues()) {
        SetCheckFromValue();
    }
    return 0;
}

void CMixerSwitch::OnDestroy() {
    CloseMixer();
    Disconnect();
}

void CMixerSwitch::ProcessPendingEvents() {
    if (Handle() != 0) {
        Api().ProcessPendingEvents(Handle());
    }
}

bool CMixerSwitch::IsChecked() const {
    return !button_.isNull() && button_->isChecked();
}

std::uint32_t* CMixerSwitch::ShownValue() {
    // A failed re-Init may leave a new index beside an older, smaller buffer.
    if (valueIndex_ < 0 || static_cast<std::size_t>(valueIndex_) >= Values().size()) {
        return nullptr;
    }
    return &Values()[static_cast<std::size_t>(valueIndex_)];
}

void CMixerSwitch::SetCheckFromValue() {
    const std::uint32_t* value = ShownValue();
    if (!button_.isNull() && value != nullptr) {
        button_->setChecked(*value != 0);
    }
}

} // namespace kfg::mixer
