#pragma once

// A check box that shows and flips one element of a two-state mixer control. The box is
// checked while the element is non-zero (for a mute control: muted), follows every change of
// the control that the mixer reports, and a click writes the flipped value.

#include "mixer/mixer_base.h"

#include <QMetaObject>
#include <QPointer>
#include <cstdint>
#include <memory>

class QAbstractButton;

namespace kfg::framework {
class Dialog;
}

namespace kfg::mixer {

class CMixerSwitch : public CMixerBase {
public:
    explicit CMixerSwitch(std::shared_ptr<MixerApi> api);
    ~CMixerSwitch() override;

    // Takes over check box `id` of a running dialog: its clicks run OnClicked, and its
    // destruction (the dialog closing) runs OnDestroy. Do not also map its Clicked
    // notification in the dialog, or one click flips twice. A dialog that is not running
    // or has no such check box leaves the switch without a window.
    void Attach(framework::Dialog& dialog, int id);
    // Lets go of the check box without closing the binding.
    void Detach();

    // Binds the control; false on failure (reported to kfg.mixer). The box is enabled only
    // when the first read succeeds. `index` selects the element for list-class controls.
    [[nodiscard]] bool Init(std::uint32_t destinationType, std::uint32_t sourceType,
                            std::uint32_t controlType, std::int32_t index);
    // Flips the element last read and writes it; the check mark shows the new value even
    // when the write fails.
    void OnClicked();
    // The mixer's change notification; acts only on this switch's own control. Returns 0.
    long OnMixerControlChange(MixerHandle handle, std::uint32_t controlId);
    // The check box goes away: the binding is closed.
    void OnDestroy();

    // Delivers waiting mixer notifications now, so the check mark is current before a caller
    // tests it.
    void ProcessPendingEvents();
    bool IsChecked() const;
    std::int32_t ValueIndex() const { return valueIndex_; }

private:
    std::uint32_t* ShownValue(); // null when the index lies outside the buffer
    void SetCheckFromValue();
    void Disconnect();

    std::int32_t valueIndex_ = 0;
    QPointer<QAbstractButton> button_;
    QMetaObject::Connection clicked_;
    QMetaObject::Connection destroyed_;
};

} // namespace kfg::mixer
